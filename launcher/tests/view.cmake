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
    LIBS norvane_launcher norvane_simstatus norvane_testsupport_board)
