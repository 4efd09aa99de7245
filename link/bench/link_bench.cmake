# Image download through the whole link and board: device-time throughput against the wire's
# limit, and host CPU time per MiB.
norvane_add_benchmark(NAME link_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/LinkBench.cpp
    LIBS norvane_link norvane_board)
