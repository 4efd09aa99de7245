#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "sim/board/TraceWriter.h"
#include "sim/board/VcdWriter.h"

namespace {

TEST(WritersTest, TraceGivesOneLinePerExchange) {
    std::ostringstream out;
    TraceWriter trace(out);
    CoprocExchange frame;
    frame.timeUs = 1234567;
    frame.command = 0x61;
    frame.commandName = "GET_VERSION";
    frame.length = 8;
    frame.bytesIn = 16;
    frame.head = {0x61, 0x00, 0x08, 0x00, 0x69, 0x00, 0x00, 0x00};
    frame.checksumOk = true;
    frame.status = 0;
    CoprocExchange refused;
    refused.timeUs = 2000;
    refused.error = "request not answered: held in reset";
    CoprocExchange spoilt = frame;
    spoilt.replyCorrupted = true;
    trace.OnExchange(frame);
    trace.OnExchange(refused);
    trace.OnExchange(spoilt);
    trace.OnFault(3000, "NSSP port is disabled (SSCR0.SSE)");
    EXPECT_EQ(out.str(),
              "1234.567 ms GET_VERSION (0x61) length 8, 16 bytes in: 61 00 08 00 69 00 00 00; "
              "checksum ok; status 0\n"
              "2.000 ms request not answered: held in reset\n"
              "1234.567 ms GET_VERSION (0x61) length 8, 16 bytes in: 61 00 08 00 69 00 00 00; "
              "checksum ok; status 0; reply checksum spoilt (fault)\n"
              "3.000 ms board fault: NSSP port is disabled (SSCR0.SSE)\n");
}

// A strobe's set and clear in the same microsecond stay 1 ns apart, so the pulse shows.
TEST(WritersTest, WaveformKeepsZeroWidthPulsesVisible) {
    std::ostringstream out;
    VcdWriter vcd(out);
    vcd.OnLine(24, true, 10);
    vcd.OnLine(24, false, 10);
    vcd.OnTransferStart(10, 16);
    vcd.OnLine(27, true, 40);
    vcd.OnTransferEnd(20); // reported late: never written before an earlier stamp
    const std::string text = out.str();
    const std::string body = text.substr(text.find("$enddefinitions $end\n") + 21);
    EXPECT_EQ(body, "#10000\n1\"\n#10001\n0\"\n#10002\n1&\nb0000000010000 '\n#40000\n1%\n"
                    "#40001\n0&\n");
    EXPECT_NE(text.find("$var wire 1 % gpio27_ready $end"), std::string::npos);
    EXPECT_NE(text.find("$timescale 1 ns $end"), std::string::npos);
}

} // namespace
