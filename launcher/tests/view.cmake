# The launcher view under the manual clock: catalogue build, start-up, device queries, launch
# sequence and remote connection, with the simulated board and a real launched program.
norvane_add_test(NAME launcher_view_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/CatalogueTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/DeviceQueriesTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/LaunchTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/RemoteTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/ViewScreenTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/LauncherTestDevice.cpp
            ${CMAKE_CURRENT_LIST_DIR}/LauncherViewTest.cpp
            ${PROJECT_SOURCE_DIR}/platform/kernel/tests/StorageTempDir.cpp
    LIBS norvane_launcher norvane_board norvane_simstatus)
target_compile_definitions(launcher_view_test PRIVATE ECHO_ARGS_PATH="$<TARGET_FILE:echo_args>")
add_dependencies(launcher_view_test echo_args)
