# Device time, threads, suspension, events, critical sections and waits.
norvane_add_test(NAME kernel_threads_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/ClockTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/ThreadTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/WaitTest.cpp
    LIBS norvane_kernel norvane_testsupport)
