# The resource compiler's lexer and parser on small scripts.
norvane_add_test(NAME tools_rc_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/ScriptParserTest.cpp
    LIBS norvane_rc_core)
