# Unit tests of the drawing layer: exact pixels on small bitmaps and on the screen.
norvane_add_test(NAME gdi_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/GdiShapesTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/GdiSurfaceTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/GdiTextTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/GdiPicturesTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/Canvas.cpp
    LIBS norvane_gdi)
