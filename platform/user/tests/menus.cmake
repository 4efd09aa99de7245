# Popup menus: the menu API, TrackPopupMenu's modal loop worked by keys and stylus, owner-drawn
# items, the framework's CMenu and what the simulator's status reads of an open menu.
norvane_add_test(NAME user_menus_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/WindowFixture.cpp
            ${CMAKE_CURRENT_LIST_DIR}/MenuApiTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/MenuLoopTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/MenuFrameworkTest.cpp
    LIBS norvane_user)
