# Colour labels, icon label, clock and battery gauge on the device's screen, in manual time.
norvane_add_test(NAME widgets_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/WidgetScreen.cpp
            ${CMAKE_CURRENT_LIST_DIR}/ColorLabelTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/IconLabelTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/ClockLabelTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/BatteryGaugeTest.cpp
    LIBS norvane_widgets norvane_res)

# The owner-drawn menu: its items measured and drawn to the pixel, its records, and the menu
# tracked on the screen from a framework window.
norvane_add_test(NAME widgets_menu_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/WidgetScreen.cpp
            ${CMAKE_CURRENT_LIST_DIR}/OwnerDrawMenuTest.cpp
    LIBS norvane_widgets)
