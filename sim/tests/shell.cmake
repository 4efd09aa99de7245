# The simulator's own pieces that need no running device: state directory, screenshot files
# and keypad layout.
norvane_add_test(NAME sim_shell_test LABEL unit
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/StateDirTest.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/tests/ScreenshotFileTest.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/tests/ScreenImage.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/tests/KeypadPanelTest.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/shell/StateDir.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/shell/ScreenshotFile.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/frontend/KeypadPanel.cpp
    LIBS norvane_control PNG::PNG)
# The window front end on SDL's dummy video driver.
norvane_add_test(NAME sim_frontend_test LABEL unit
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/SdlFrontEndTest.cpp
    LIBS norvane_sim)
