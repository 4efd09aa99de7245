# The launcher: catalogue and its view.
norvane_add_test(NAME launcher_catalogue_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/QIniFileTest.cpp
    LIBS norvane_launcher norvane_testsupport)
