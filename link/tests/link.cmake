# The co-processor link on the simulated board, under the manual device clock.
norvane_add_test(NAME link_test LABEL unit
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/TransportTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/ProtocolTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/BootTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/DownloadTest.cpp
    LIBS norvane_link norvane_board norvane_testsupport_board)
