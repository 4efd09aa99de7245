# The gallery program's own pieces on the platform, without a simulator.
norvane_add_test(NAME sim_gallery_test LABEL unit
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/GalleryAppTest.cpp
    LIBS norvane_gallery)
