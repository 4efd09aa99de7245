norvane_add_benchmark(NAME user_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/UserBench.cpp
    LIBS norvane_user)
