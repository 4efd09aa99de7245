#include "sim/board/Board.h"

#include <algorithm>
#include <cstdio>

#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/EventLog.h"
#include "sim/board/LittleEndian.h"

namespace {

// Page buffers are handed out from this physical address on (SDRAM bank 0 of the PXA25x),
// page-aligned, with a guard page between them.
constexpr DWORD kFirstPageBuffer = 0xA0800000;
constexpr DWORD kPage = 4096;
constexpr DWORD kMaxPageBuffer = 1u << 20;

// NSSP signals on their pins: GPIO 81 clock, 82 frame and 83 transmit are function 1 outputs,
// GPIO 84 receive a function 2 input.
struct PinRoute {
    int pin;
    unsigned function;
    bool output;
};
constexpr PinRoute kNsspPins[] = {{81, 1, true}, {82, 1, true}, {83, 1, true}, {84, 2, false}};

const char* BlockName(XScaleBlock block) {
    switch (block) {
    case XScaleBlock::Gpio:
        return "gpio";
    case XScaleBlock::Nssp:
        return "nssp";
    case XScaleBlock::Clock:
        return "clock";
    case XScaleBlock::Dma:
        return "dma";
    }
    return "?";
}

} // namespace

Board::Board() : m_dma(*this), m_nextPhysical(kFirstPageBuffer) {
    m_gpio.SetInputSource([this](int pin, std::uint64_t nowUs) {
        return pin == CoprocModel::kReadyLine && m_coproc.ReadyLevel(nowUs);
    });
    m_gpio.SetListener([this](int pin, bool level, std::uint64_t nowUs) {
        if (pin < CoprocModel::kResetLine || pin > 26)
            return;
        Notify([&](BoardObserver& o) { o.OnLine(pin, level, nowUs); });
        m_coproc.LineChanged(pin, level, nowUs);
    });
    m_coproc.SetReadyListener([this](bool level, std::uint64_t us) {
        Notify([&](BoardObserver& o) { o.OnLine(CoprocModel::kReadyLine, level, us); });
    });
    m_coproc.SetExchangeListener([this](const CoprocExchange& exchange) {
        Notify([&](BoardObserver& o) { o.OnExchange(exchange); });
    });
    BspBackend::Install(this);
}

Board::~Board() {
    BspBackend::Uninstall(this);
}

void Board::SettleTo(std::uint64_t nowUs) {
    for (;;) {
        const auto ready = m_coproc.NextReadyChange();
        const auto transfer = m_dma.CompletionDue();
        if (ready && *ready <= nowUs && (!transfer || *ready <= *transfer)) {
            m_coproc.SettleTo(*ready);
        } else if (transfer && *transfer <= nowUs) {
            m_dma.Complete();
        } else {
            break;
        }
    }
    m_nowUs = nowUs;
}

DWORD Board::ReadRegister(XScaleBlock block, DWORD offset) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const std::uint64_t now = DeviceClock::Instance().NowUs();
    SettleTo(now);
    std::optional<DWORD> value;
    switch (block) {
    case XScaleBlock::Gpio:
        value = m_gpio.Read(offset, now);
        break;
    case XScaleBlock::Nssp:
        value = m_nssp.Read(offset);
        break;
    case XScaleBlock::Clock:
        value = m_clock.Read(offset);
        break;
    case XScaleBlock::Dma:
        value = m_dma.Read(offset, now);
        break;
    }
    if (!value) {
        Unmapped(block, offset, "read");
        return 0;
    }
    return *value;
}

void Board::WriteRegister(XScaleBlock block, DWORD offset, DWORD value) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const std::uint64_t now = DeviceClock::Instance().NowUs();
    SettleTo(now);
    bool mapped = false;
    switch (block) {
    case XScaleBlock::Gpio:
        mapped = m_gpio.Write(offset, value, now);
        break;
    case XScaleBlock::Nssp:
        mapped = m_nssp.Write(offset, value);
        break;
    case XScaleBlock::Clock:
        mapped = m_clock.Write(offset, value);
        break;
    case XScaleBlock::Dma:
        mapped = m_dma.Write(offset, value, now);
        break;
    }
    if (!mapped)
        Unmapped(block, offset, "write");
}

void Board::Unmapped(XScaleBlock block, DWORD offset, const char* access) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%03X", unsigned(offset));
    EventLog::Instance().Record(
        "board.unmapped", {{"block", BlockName(block)}, {"offset", text}, {"access", access}});
}

bool Board::RamVariableExists(const std::wstring& name) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::any_of(m_pageBuffers.begin(), m_pageBuffers.end(),
                       [&](const PageBuffer& b) { return b.name == name; });
}

bool Board::CreatePageBuffer(const std::wstring& name, DWORD size) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (size == 0 || size > kMaxPageBuffer ||
        std::any_of(m_pageBuffers.begin(), m_pageBuffers.end(),
                    [&](const PageBuffer& b) { return b.name == name; }))
        return false;
    PageBuffer buffer;
    buffer.name = name;
    buffer.physical = m_nextPhysical;
    buffer.size = size;
    buffer.bytes = std::make_unique<std::uint8_t[]>(size);
    m_nextPhysical += (size + kPage - 1) / kPage * kPage + kPage;
    m_pageBuffers.push_back(std::move(buffer));
    return true;
}

bool Board::GetPageBuffer(const std::wstring& name, void** cpuPointer, DWORD* physicalAddress) {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (PageBuffer& buffer : m_pageBuffers) {
        if (buffer.name != name)
            continue;
        *cpuPointer = buffer.bytes.get();
        *physicalAddress = buffer.physical;
        return true;
    }
    return false;
}

std::string Board::PortFault() {
    std::string fault = m_nssp.TransferFault(m_clock.NsspClockOn());
    if (!fault.empty())
        return fault;
    for (const PinRoute& route : kNsspPins)
        if (m_gpio.AlternateFunction(route.pin) != route.function ||
            m_gpio.IsOutput(route.pin) != route.output)
            return "NSSP signals are not routed to their pins (GPIO " + std::to_string(route.pin) +
                   " must be function " + std::to_string(route.function) +
                   (route.output ? " output)" : " input)");
    return {};
}

double Board::BitRate() {
    return m_nssp.BitRate();
}

std::uint8_t* Board::Memory(DWORD phys, DWORD length) {
    for (PageBuffer& buffer : m_pageBuffers)
        if (phys >= buffer.physical &&
            std::uint64_t(phys - buffer.physical) + length <= buffer.size)
            return buffer.bytes.get() + (phys - buffer.physical);
    return nullptr;
}

std::vector<std::uint8_t> Board::Exchange(const std::vector<std::uint8_t>& transmit,
                                          std::uint64_t startUs, std::uint64_t endUs) {
    Notify([&](BoardObserver& o) { o.OnTransferStart(startUs, DWORD(transmit.size())); });
    m_nssp.SetBusy(true);
    // The receive channel reads the words already in the FIFO first; what the wire brings
    // after them beyond the transfer's length stays in the FIFO for the next one.
    std::vector<std::uint8_t> received = m_nssp.TakeReceiveFifo();
    const std::vector<std::uint8_t> wire = m_coproc.Shift(transmit, startUs);
    received.insert(received.end(), wire.begin(), wire.end());
    std::vector<DWORD> left;
    for (std::size_t i = transmit.size(); i + 4 <= received.size(); i += 4)
        left.push_back(LittleEndian::Get32(&received[i]));
    m_nssp.PreloadReceiveFifo(left);
    received.resize(transmit.size());
    // A thread polling for the end with Sleep(0) under the manual clock gets there at once.
    DeviceClock& clock = DeviceClock::Instance();
    if (clock.IsManual())
        clock.NoteDeadline(endUs);
    return received;
}

void Board::TransferEnded(std::uint64_t endUs) {
    m_nssp.SetBusy(false);
    Notify([&](BoardObserver& o) { o.OnTransferEnd(endUs); });
}

void Board::Fault(const std::string& reason) {
    EventLog::Instance().Record("board.fault", {{"reason", reason}});
    Notify([&](BoardObserver& o) { o.OnFault(m_nowUs, reason); });
}

bool Board::LinkLine(int gpio, std::uint64_t nowUs) {
    return gpio == CoprocModel::kReadyLine ? m_coproc.ReadyLevel(nowUs) : m_gpio.DrivenLevel(gpio);
}

std::string Board::Set(const std::string& key, const std::string& value) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const std::uint64_t now = DeviceClock::Instance().NowUs();
    SettleTo(now);
    return m_coproc.Set(key, value, now);
}

std::string Board::Configure(const std::string& settings) {
    std::size_t start = 0;
    while (start < settings.size()) {
        std::size_t end = settings.find(',', start);
        if (end == std::string::npos)
            end = settings.size();
        const std::string item = settings.substr(start, end - start);
        const std::size_t eq = item.find('=');
        if (eq == std::string::npos || eq == 0)
            return "expected key=value, got '" + item + "'";
        if (std::string error = Set(item.substr(0, eq), item.substr(eq + 1)); !error.empty())
            return error;
        start = end + 1;
    }
    return {};
}

nlohmann::json Board::State() {
    std::lock_guard<std::mutex> lock(m_mutex);
    const std::uint64_t now = DeviceClock::Instance().NowUs();
    SettleTo(now);
    nlohmann::json state = m_coproc.State();
    state["registers"] = {{"gpio", m_gpio.Snapshot(now)},
                          {"nssp", m_nssp.Snapshot()},
                          {"clock", m_clock.Snapshot()},
                          {"dma", m_dma.Snapshot(now)}};
    return state;
}

void Board::AddObserver(BoardObserver* observer) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const std::uint64_t now = DeviceClock::Instance().NowUs();
    SettleTo(now);
    m_observers.push_back(observer);
    for (int gpio = CoprocModel::kResetLine; gpio <= CoprocModel::kReadyLine; ++gpio)
        observer->OnLine(gpio, LinkLine(gpio, now), now);
}

void Board::RemoveObserver(BoardObserver* observer) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer),
                      m_observers.end());
}

void Board::Flush() {
    std::lock_guard<std::mutex> lock(m_mutex);
    SettleTo(DeviceClock::Instance().NowUs());
}

std::vector<std::uint8_t> Board::Image() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_coproc.Image();
}

bool Board::ImageStarted() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_coproc.Started();
}

void Board::PreloadReceiveFifo(const std::vector<DWORD>& words) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_nssp.PreloadReceiveFifo(words);
}
