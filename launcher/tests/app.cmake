# The whole launcher on a UI thread of its own with the simulated board and keypad, in scaled
# device time: start-up, keys, a launch and a remote connection.
norvane_add_test(NAME launcher_app_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/LauncherAppTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/LauncherTestDevice.cpp
            ${PROJECT_SOURCE_DIR}/platform/kernel/tests/StorageTempDir.cpp
    LIBS norvane_program_instance norvane_board norvane_simkeypad norvane_simstatus)
target_compile_definitions(launcher_app_test PRIVATE ECHO_ARGS_PATH="$<TARGET_FILE:echo_args>")
add_dependencies(launcher_app_test echo_args)
