# Kernel benchmarks: the cost of the platform calls that device code polls in tight loops.
norvane_add_benchmark(NAME kernel_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/KernelBench.cpp
    LIBS norvane_kernel)
