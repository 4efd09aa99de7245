# The resource runtime, on a small module compiled from tests/fixtures/Fixture.rc.
norvane_add_resources(SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/tests/fixtures/Fixture.rc
                      OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/FixtureRc.cpp
                      SYMBOL FixtureResources)
norvane_add_test(NAME kernel_resources_test LABEL unit
                 SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/ResourcesTest.cpp
                         ${CMAKE_CURRENT_SOURCE_DIR}/tests/CStringTest.cpp
                         ${CMAKE_CURRENT_SOURCE_DIR}/tests/Utf16Test.cpp
                         ${CMAKE_CURRENT_BINARY_DIR}/FixtureRc.cpp
                 LIBS norvane_kernel)
