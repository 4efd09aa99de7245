# The About box under the manual clock, on the launcher's test device (board, card, registry
# and resources), which the launcher's own tests use too.
norvane_add_test(NAME about_box_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/AboutBoxTest.cpp
            ${PROJECT_SOURCE_DIR}/launcher/tests/LauncherTestDevice.cpp
    LIBS norvane_about norvane_launcher norvane_simstatus norvane_testsupport_board)
