# The colour button on the device's screen, in manual time: its pixels in each state, its marks
# and images, its clicks by stylus and keypad, the keys it passes on.
norvane_add_test(NAME widgets_button_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/WidgetScreen.cpp
            ${CMAKE_CURRENT_LIST_DIR}/ColorButtonTest.cpp
    LIBS norvane_widgets norvane_res norvane_testsupport)
