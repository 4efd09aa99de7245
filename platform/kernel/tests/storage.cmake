# Device storage: registry file, device paths and files, launched programs.
add_executable(echo_args ${CMAKE_CURRENT_SOURCE_DIR}/tests/echo_args.cpp)
target_link_libraries(echo_args PRIVATE nlohmann_json::nlohmann_json)

norvane_add_test(NAME storage_tests LABEL unit
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/StorageTempDir.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/tests/StorageRegistryTest.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/tests/StoragePathTest.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/tests/StorageProcessTest.cpp
    LIBS norvane_kernel)
target_compile_definitions(storage_tests PRIVATE ECHO_ARGS_PATH="$<TARGET_FILE:echo_args>")
add_dependencies(storage_tests echo_args)
