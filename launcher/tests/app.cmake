# The whole launcher on a UI thread of its own with the simulated board and keypad, in scaled
# device time: start-up, keys, a launch and a remote connection.
norvane_add_test(NAME launcher_app_test LABEL integration
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/LauncherAppTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/LauncherTestDevice.cpp
    LIBS norvane_program_instance norvane_board norvane_simkeypad norvane_simstatus norvane_testsupport)
