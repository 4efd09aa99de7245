# PlaySound and the sound sink, on a small module of waves compiled from tests/fixtures/Sound.rc.
norvane_add_resources(SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/tests/fixtures/Sound.rc
                      OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/SoundRc.cpp
                      SYMBOL SoundResources)
norvane_add_test(NAME kernel_sound_test LABEL unit
                 SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/SoundTest.cpp
                         ${CMAKE_CURRENT_BINARY_DIR}/SoundRc.cpp
                 LIBS norvane_kernel)
