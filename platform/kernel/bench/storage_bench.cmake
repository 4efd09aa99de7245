# Device storage: how long a registry flush takes.
norvane_add_benchmark(NAME storage_bench
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/bench/StorageBench.cpp
    LIBS norvane_kernel)
