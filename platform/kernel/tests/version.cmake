# The version-resource calls, on a small module compiled from tests/fixtures/Version.rc.
norvane_add_resources(SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/tests/fixtures/Version.rc
                      OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/VersionRc.cpp
                      SYMBOL VersionFixtureResources)
norvane_add_test(NAME kernel_version_test LABEL unit
                 SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/VersionInfoTest.cpp
                         ${CMAKE_CURRENT_BINARY_DIR}/VersionRc.cpp
                 LIBS norvane_kernel norvane_testsupport)
