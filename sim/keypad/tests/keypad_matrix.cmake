# The keypad matrix on the virtual pins, and the virtual-pin calls with and without a board.
norvane_add_test(NAME sim_keypad_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/KeypadMatrixTest.cpp
    LIBS norvane_simkeypad)
