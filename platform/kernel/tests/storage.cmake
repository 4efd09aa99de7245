# Device storage: registry file, device paths and files, launched programs.
norvane_add_test(NAME kernel_storage_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/StorageRegistryTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/StoragePathTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/StorageProcessTest.cpp
    LIBS norvane_kernel norvane_testsupport)
