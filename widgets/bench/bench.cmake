# Host time per frame of the launcher's gauge, clock and caption label.
norvane_add_benchmark(NAME widgets_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/WidgetsBench.cpp
    LIBS norvane_widgets)
