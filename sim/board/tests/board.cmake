# The simulated board: PXA25x peripheral models, the co-processor model, SHA-256 and the
# trace and waveform writers.
norvane_add_test(NAME sim_board_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/BoardTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/CoprocModelTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/Sha256Test.cpp
            ${CMAKE_CURRENT_LIST_DIR}/WritersTest.cpp
    LIBS norvane_board norvane_testsupport_board)
