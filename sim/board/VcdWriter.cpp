#include "sim/board/VcdWriter.h"

#include <bitset>

namespace {

// One identifier character per signal: GPIO 23-27, the transfer marker and its byte count.
constexpr char kLineId[] = {'!', '"', '#', '$', '%'};
constexpr char kTransferId = '&';
constexpr char kBytesId = '\'';
constexpr int kFirstLine = 23;

} // namespace

VcdWriter::VcdWriter(std::ostream& out) : m_out(out) {
    m_out << "$comment Norvane board: co-processor link lines $end\n"
          << "$timescale 1 ns $end\n"
          << "$scope module board $end\n"
          << "$var wire 1 ! gpio23_reset $end\n"
          << "$var wire 1 \" gpio24_request $end\n"
          << "$var wire 1 # gpio25_release $end\n"
          << "$var wire 1 $ gpio26 $end\n"
          << "$var wire 1 % gpio27_ready $end\n"
          << "$var wire 1 & transfer $end\n"
          << "$var wire 13 ' transfer_bytes $end\n"
          << "$upscope $end\n"
          << "$enddefinitions $end\n";
    m_out.flush();
}

// Device time is kept in microseconds; two changes in the same microsecond (a strobe's set and
// clear) are written 1 ns apart so that the pulse stays visible.
void VcdWriter::Stamp(std::uint64_t us) {
    std::uint64_t ns = us * 1000;
    if (m_stamped && ns <= m_lastNs)
        ns = m_lastNs + 1;
    m_out << '#' << ns << '\n';
    m_lastNs = ns;
    m_stamped = true;
}

void VcdWriter::OnLine(int gpio, bool level, std::uint64_t us) {
    if (gpio < kFirstLine || gpio >= kFirstLine + 5)
        return;
    Stamp(us);
    m_out << (level ? '1' : '0') << kLineId[gpio - kFirstLine] << '\n';
    m_out.flush();
}

void VcdWriter::OnTransferStart(std::uint64_t us, DWORD bytes) {
    Stamp(us);
    m_out << '1' << kTransferId << '\n'
          << 'b' << std::bitset<13>(bytes).to_string() << ' ' << kBytesId << '\n';
    m_out.flush();
}

void VcdWriter::OnTransferEnd(std::uint64_t us) {
    Stamp(us);
    m_out << '0' << kTransferId << '\n';
    m_out.flush();
}
