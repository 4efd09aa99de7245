# The control socket's protocol, tested against an in-process server.
norvane_add_test(NAME sim_control_test LABEL unit
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/ControlServerTest.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/tests/ControlCodecTest.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/tests/StatusConditionTest.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/tests/GifWriterTest.cpp
            ${CMAKE_CURRENT_SOURCE_DIR}/tests/GifFrames.cpp
    LIBS norvane_control PNG::PNG GIF::GIF)
