# End-to-end: norvane-sim started headless on a card and state directory of the test's own,
# driven only through norvane-ctl.
norvane_add_test(NAME sim_e2e_test LABEL e2e
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/SimEndToEndTest.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/tests/ScreenImage.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/tests/GifFrames.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/tests/SimProcess.cpp
    LIBS nlohmann_json::nlohmann_json PNG::PNG GIF::GIF)
target_compile_definitions(sim_e2e_test PRIVATE
    NORVANE_SIM_PATH="$<TARGET_FILE:norvane-sim>" NORVANE_CTL_PATH="$<TARGET_FILE:norvane-ctl>")
add_dependencies(sim_e2e_test norvane-sim norvane-ctl)
# The launcher end to end on copies of the build's sample card.
norvane_add_test(NAME sim_launcher_e2e_test LABEL e2e
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/LauncherEndToEndTest.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/tests/ScreenImage.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/tests/SimProcess.cpp
    LIBS nlohmann_json::nlohmann_json PNG::PNG)
target_compile_definitions(sim_launcher_e2e_test PRIVATE
    NORVANE_SIM_PATH="$<TARGET_FILE:norvane-sim>" NORVANE_CTL_PATH="$<TARGET_FILE:norvane-ctl>"
    NORVANE_BUILD_CARD="${CMAKE_CURRENT_BINARY_DIR}/card")
add_dependencies(sim_launcher_e2e_test norvane-sim norvane-ctl norvane_card)
# The widget kit's gallery end to end, by keypad alone and by stylus alone.
norvane_add_test(NAME sim_gallery_e2e_test LABEL e2e
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/GalleryEndToEndTest.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/tests/ScreenImage.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/tests/SimProcess.cpp
    LIBS nlohmann_json::nlohmann_json PNG::PNG)
target_compile_definitions(sim_gallery_e2e_test PRIVATE
    NORVANE_SIM_PATH="$<TARGET_FILE:norvane-sim>" NORVANE_CTL_PATH="$<TARGET_FILE:norvane-ctl>")
add_dependencies(sim_gallery_e2e_test norvane-sim norvane-ctl)
