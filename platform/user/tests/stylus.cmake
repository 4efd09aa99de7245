# The stylus: hit testing, the mouse messages of presses, moves and lifts, double taps, the
# capture and the focus a tap gives.
norvane_add_test(NAME user_stylus_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/WindowFixture.cpp
            ${CMAKE_CURRENT_LIST_DIR}/StylusTest.cpp
    LIBS norvane_user norvane_testsupport)
