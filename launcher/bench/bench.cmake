# Host time of a paint of the launcher view and of the catalogue build.
norvane_add_benchmark(NAME launcher_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/LauncherBench.cpp
    LIBS norvane_launcher norvane_board norvane_testsupport)

# The catalogue parser on a 1 MiB catalogue against a plain line reader.
norvane_add_benchmark(NAME catalogue_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/CatalogueBench.cpp
    LIBS norvane_launcher norvane_testsupport)
