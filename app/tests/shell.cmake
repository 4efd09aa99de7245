# The application shell, with the launcher's view that the application object names.
norvane_add_test(NAME app_shell_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/ShellTest.cpp
    LIBS norvane_program)
