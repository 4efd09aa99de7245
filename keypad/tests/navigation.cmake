# Keypad navigation: the program list's keys and the focus grid.
norvane_add_test(NAME keypad_navigation_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/QAppListTest.cpp ${CMAKE_CURRENT_LIST_DIR}/QFocusGridTest.cpp
    LIBS norvane_keypad norvane_testsupport)
