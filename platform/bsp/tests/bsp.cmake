# The board-support API: accesses reach the installed board one by one; without a board
# every call fails safely.
norvane_add_test(NAME bsp_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/BoardSupportTest.cpp
    LIBS norvane_bsp)
