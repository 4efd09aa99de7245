# The language and key-click settings read from a registry file, and texts in both languages.
norvane_add_test(NAME app_language_test LABEL unit
                 SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/LanguageTest.cpp
                 LIBS norvane_app)
