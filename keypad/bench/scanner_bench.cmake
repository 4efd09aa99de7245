# The keypad scanner's scan cost and its processor share while polling.
norvane_add_benchmark(NAME keypad_scanner_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/ScannerBench.cpp
    LIBS norvane_keypad norvane_simkeypad norvane_res)
