# The simulator's picture of the launcher, folded from event-log records.
norvane_add_test(NAME sim_status_test LABEL unit
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/LauncherPictureTest.cpp
    LIBS norvane_simstatus)
