# The list-view control ("SysListView32") and the framework's CListCtrl.
norvane_add_test(NAME user_listview_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/ListViewTest.cpp
    LIBS norvane_user norvane_testsupport)
