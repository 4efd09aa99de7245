# Device storage: registry file, device paths and files, launched programs, the card's slot.
norvane_add_test(NAME kernel_storage_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/StorageRegistryTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/StoragePathTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/StorageProcessTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/StorageCardTest.cpp
    LIBS norvane_kernel norvane_testsupport)
