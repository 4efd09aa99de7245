# The worker-thread base and the keypad scanner.
norvane_add_test(NAME keypad_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/QWorkerThreadTest.cpp
    LIBS norvane_keypad norvane_testsupport)
