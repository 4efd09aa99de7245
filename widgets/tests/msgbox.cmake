# The themed message box on the device's screen, in manual time: its layout to the pixel, its
# button sets, texts, results and icons, its keypad focus, and the focus it gives back.
norvane_add_test(NAME widgets_msgbox_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/WidgetScreen.cpp
            ${CMAKE_CURRENT_LIST_DIR}/MessageBoxTest.cpp
    LIBS norvane_widgets norvane_res norvane_testsupport)
