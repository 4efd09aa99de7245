# The simulator's pictures of the launcher, the kit's buttons and the gallery, and the texts of
# menu items, folded from event-log records.
norvane_add_test(NAME sim_status_test LABEL unit
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/LauncherPictureTest.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/tests/MenuItemTextsTest.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/tests/KitPicturesTest.cpp
    LIBS norvane_simstatus norvane_widgets)
