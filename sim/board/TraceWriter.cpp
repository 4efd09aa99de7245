#include "sim/board/TraceWriter.h"

#include <cstdio>

namespace {

std::string Time(std::uint64_t us) {
    char text[32];
    std::snprintf(text, sizeof text, "%llu.%03llu ms", static_cast<unsigned long long>(us / 1000),
                  static_cast<unsigned long long>(us % 1000));
    return text;
}

} // namespace

void TraceWriter::OnExchange(const CoprocExchange& e) {
    m_out << Time(e.timeUs);
    if (e.bytesIn == 0 && !e.status) {
        m_out << ' ' << e.error << '\n';
        m_out.flush();
        return;
    }
    char code[16];
    std::snprintf(code, sizeof code, "0x%02X", unsigned(e.command));
    m_out << ' ' << e.commandName << " (" << code << ") length " << e.length << ", " << e.bytesIn
          << " bytes in:";
    for (std::uint8_t byte : e.head) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02x", unsigned(byte));
        m_out << hex;
    }
    m_out << "; checksum " << (!e.checksumOk ? "not checked" : *e.checksumOk ? "ok" : "bad");
    if (e.status)
        m_out << "; status " << *e.status;
    if (e.replyCorrupted)
        m_out << "; reply checksum spoilt (fault)";
    if (!e.error.empty())
        m_out << "; " << e.error;
    m_out << '\n';
    m_out.flush();
}

void TraceWriter::OnFault(std::uint64_t us, const std::string& reason) {
    m_out << Time(us) << " board fault: " << reason << '\n';
    m_out.flush();
}
