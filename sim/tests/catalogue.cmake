# The catalogue checker: its reading of a catalogue and the norvane-catalogue program, run as
# SimProcess runs programs (the simulator's paths are only named, never started here).
norvane_add_test(NAME sim_catalogue_test LABEL unit
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/CatalogueCheckTest.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/tests/SimProcess.cpp
    LIBS norvane_catalogue_check norvane_testsupport nlohmann_json::nlohmann_json)
target_compile_definitions(sim_catalogue_test PRIVATE
    NORVANE_CATALOGUE_PATH="$<TARGET_FILE:norvane-catalogue>"
    NORVANE_SIM_PATH="$<TARGET_FILE:norvane-sim>" NORVANE_CTL_PATH="$<TARGET_FILE:norvane-ctl>")
add_dependencies(sim_catalogue_test norvane-catalogue)
# The checker's list against the running launcher's, on a card made by the test.
norvane_add_test(NAME sim_catalogue_e2e_test LABEL e2e
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/CatalogueEndToEndTest.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/tests/SimProcess.cpp
    LIBS nlohmann_json::nlohmann_json)
target_compile_definitions(sim_catalogue_e2e_test PRIVATE
    NORVANE_CATALOGUE_PATH="$<TARGET_FILE:norvane-catalogue>"
    NORVANE_SIM_PATH="$<TARGET_FILE:norvane-sim>" NORVANE_CTL_PATH="$<TARGET_FILE:norvane-ctl>"
    NORVANE_BUILD_CARD="${CMAKE_CURRENT_BINARY_DIR}/card")
add_dependencies(sim_catalogue_e2e_test norvane-catalogue norvane-sim norvane-ctl norvane_card)
