norvane_add_test(NAME user_tests LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/WindowFixture.cpp
            ${CMAKE_CURRENT_LIST_DIR}/WindowsTest.cpp
    LIBS norvane_user)
