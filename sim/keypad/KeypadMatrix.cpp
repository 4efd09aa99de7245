#include "sim/keypad/KeypadMatrix.h"

#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/EventLog.h"

namespace {

constexpr int kPhaseALine = 7; // driven active to read the phase-A keys
constexpr int kPhaseBLine = 8; // driven active to read the phase-B keys

enum class Phase { Direct, A, B };

// Where each key code is wired: the input line it pulls active, and the output line (phase)
// that must be driven for it to do so.
struct Wire {
    int line;
    Phase phase;
};
constexpr Wire kWires[KeypadMatrix::kKeyCount] = {
    {1, Phase::Direct}, // 0 select
    {2, Phase::B},      // 1
    {3, Phase::B},      // 2
    {4, Phase::B},      // 3
    {5, Phase::B},      // 4 about
    {2, Phase::A},      // 5 up
    {3, Phase::A},      // 6 left
    {5, Phase::A},      // 7 right
    {4, Phase::A},      // 8 down
    {6, Phase::B},      // 9
    {0, Phase::Direct}, // 10
    {6, Phase::A},      // 11 enter
};

const char* PhaseName(Phase phase) {
    switch (phase) {
    case Phase::A:
        return "A";
    case Phase::B:
        return "B";
    case Phase::Direct:
        break;
    }
    return "direct";
}

bool IsKey(int code) {
    return code >= 0 && code < KeypadMatrix::kKeyCount;
}

} // namespace

KeypadMatrix::KeypadMatrix() {
    for (int line = 0; line < kLineCount; ++line)
        m_pins.push_back(Pin{L"Keypad.Key" + std::to_wstring(line), line});
    VirtualPinBackend::Install(this);
}

KeypadMatrix::~KeypadMatrix() {
    VirtualPinBackend::Uninstall(this);
}

bool KeypadMatrix::Press(int code) {
    return SetKey(code, true);
}

bool KeypadMatrix::Press(int code, std::uint64_t releaseAtUs) {
    if (!SetKey(code, true, releaseAtUs))
        return false;
    // The wires change then: a clock that jumps between deadlines must stop there.
    DeviceClock::Instance().NoteDeadline(releaseAtUs);
    return true;
}

bool KeypadMatrix::Release(int code) {
    return SetKey(code, false);
}

bool KeypadMatrix::WaitUntilSeen(int code, std::chrono::milliseconds hostLimit) {
    if (!IsKey(code))
        return false;
    std::unique_lock lock(m_mutex);
    return m_seenChanged.wait_for(lock, hostLimit, [&] { return !m_down[code] || m_seen[code]; }) &&
           m_down[code];
}

void KeypadMatrix::ReleaseAll() {
    for (int code = 0; code < kKeyCount; ++code)
        SetKey(code, false);
}

bool KeypadMatrix::IsDown(int code) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return IsKey(code) && m_down[code];
}

std::vector<int> KeypadMatrix::DownKeys() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<int> codes;
    for (int code = 0; code < kKeyCount; ++code)
        if (m_down[code])
            codes.push_back(code);
    return codes;
}

bool KeypadMatrix::HeldLocked(int code) const {
    return m_down[code] && (m_releaseAtUs[code] == 0 || !m_seen[code] ||
                            DeviceClock::Instance().NowUs() < m_releaseAtUs[code]);
}

bool KeypadMatrix::SetKey(int code, bool down, std::uint64_t releaseAtUs) {
    if (!IsKey(code))
        return false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_down[code] == down)
            return false;
        m_down[code] = down;
        m_releaseAtUs[code] = down ? releaseAtUs : 0;
        m_seen[code] = false;
    }
    const Wire& wire = kWires[code];
    EventLog::Instance().Record(down ? "key.down" : "key.up",
                                {{"key", code},
                                 {"pin", "Keypad.Key" + std::to_string(wire.line)},
                                 {"phase", PhaseName(wire.phase)}});
    return true;
}

bool KeypadMatrix::LineActiveLocked(int line) {
    const Line& state = m_lines[line];
    if (state.output)
        return state.driven;
    const bool phaseA = m_lines[kPhaseALine].output && m_lines[kPhaseALine].driven;
    const bool phaseB = m_lines[kPhaseBLine].output && m_lines[kPhaseBLine].driven;
    for (int code = 0; code < kKeyCount; ++code) {
        const Wire& wire = kWires[code];
        if (!HeldLocked(code) || wire.line != line)
            continue;
        if (wire.phase == Phase::Direct || (wire.phase == Phase::A && phaseA) ||
            (wire.phase == Phase::B && phaseB)) {
            if (!m_seen[code]) {
                m_seen[code] = true;
                m_seenChanged.notify_all();
            }
            return true;
        }
    }
    return false;
}

KeypadMatrix::Handle* KeypadMatrix::ConnectedLocked(DWORD handle, DWORD* error) {
    auto it = m_handles.find(handle);
    if (it == m_handles.end()) {
        *error = DWORD(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (!it->second.contract) {
        *error = DWORD(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    *error = 0;
    return &it->second;
}

DWORD KeypadMatrix::OpenPin(const std::wstring& name, DWORD* handle) {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const Pin& pin : m_pins) {
        if (pin.name != name)
            continue;
        const DWORD id = m_nextHandle++;
        m_handles[id] = Handle{pin.line, false};
        *handle = id;
        return 0;
    }
    return DWORD(ERROR_FILE_NOT_FOUND);
}

// The flags choose electrical options of the new pin (drive strength, pull-ups) that the model
// has no use for: a clone simply shares its source's line.
DWORD KeypadMatrix::ClonePin(const std::wstring& source, const std::wstring& newName,
                             DWORD /*flags*/) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const Pin* from = nullptr;
    for (const Pin& pin : m_pins) {
        if (pin.name == newName)
            return DWORD(ERROR_INVALID_PARAMETER);
        if (pin.name == source)
            from = &pin;
    }
    if (!from)
        return DWORD(ERROR_FILE_NOT_FOUND);
    const int line = from->line;
    m_pins.push_back(Pin{newName, line});
    return 0;
}

DWORD KeypadMatrix::ApplyContract(DWORD handle) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_handles.find(handle);
    if (it == m_handles.end())
        return DWORD(ERROR_INVALID_HANDLE);
    it->second.contract = true;
    return 0;
}

DWORD KeypadMatrix::SetDirection(DWORD handle, DWORD direction) {
    std::lock_guard<std::mutex> lock(m_mutex);
    DWORD error = 0;
    Handle* entry = ConnectedLocked(handle, &error);
    if (!entry)
        return error;
    m_lines[entry->line].output = direction != 0;
    return 0;
}

DWORD KeypadMatrix::GetState(DWORD handle, DWORD* state) {
    std::lock_guard<std::mutex> lock(m_mutex);
    DWORD error = 0;
    Handle* entry = ConnectedLocked(handle, &error);
    if (!entry)
        return error;
    *state = LineActiveLocked(entry->line) ? 1 : 0;
    return 0;
}

DWORD KeypadMatrix::SetActive(DWORD handle, bool active) {
    std::lock_guard<std::mutex> lock(m_mutex);
    DWORD error = 0;
    Handle* entry = ConnectedLocked(handle, &error);
    if (!entry)
        return error;
    Line& line = m_lines[entry->line];
    if (!line.output)
        return DWORD(ERROR_ACCESS_DENIED);
    line.driven = active;
    return 0;
}

DWORD KeypadMatrix::ReleaseHandle(DWORD handle) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_handles.erase(handle) ? 0 : DWORD(ERROR_INVALID_HANDLE);
}
