include(GoogleTest)

# norvane_add_test(NAME <target> LABEL unit|e2e SOURCES ... LIBS ...)
# Builds one GoogleTest executable and registers each of its cases with CTest.
function(norvane_add_test)
    cmake_parse_arguments(T "" "NAME;LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
    if(NOT T_LABEL)
        set(T_LABEL unit)
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
    gtest_discover_tests(${T_NAME}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES LABELS ${T_LABEL} TIMEOUT ${T_TIMEOUT})
endfunction()

# norvane_add_benchmark(NAME <target> SOURCES ... LIBS ...)
# Benchmarks are built with the project but never run by the test suite.
function(norvane_add_benchmark)
    cmake_parse_arguments(B "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${B_NAME} ${B_SOURCES})
    target_link_libraries(${B_NAME} PRIVATE ${B_LIBS} benchmark::benchmark Threads::Threads)
endfunction()
