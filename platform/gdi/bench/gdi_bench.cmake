# Drawing-layer benchmarks: the launcher's full-screen background copy and a line of Chinese text.
norvane_add_benchmark(NAME gdi_bench SOURCES ${CMAKE_CURRENT_LIST_DIR}/GdiBench.cpp
                      LIBS norvane_gdi)
