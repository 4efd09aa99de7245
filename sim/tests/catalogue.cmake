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
