# The launcher's compiled resources: strings, dialogs, pictures and sounds as the program sees them.
norvane_add_test(NAME res_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/NorvaneAppResourcesTest.cpp
    LIBS norvane_res)
