norvane_add_test(NAME user_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/WindowFixture.cpp
            ${CMAKE_CURRENT_LIST_DIR}/WindowsTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/MessagesTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/PaintingTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/CrossThreadTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/FrameworkTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/ButtonTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/ListBoxTest.cpp
    LIBS norvane_user)
