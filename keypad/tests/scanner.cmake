# The keypad scanner on the simulated keypad matrix.
norvane_add_test(NAME keypad_scanner_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/QKeypadScannerTest.cpp
    LIBS norvane_keypad norvane_simkeypad norvane_res norvane_testsupport)
