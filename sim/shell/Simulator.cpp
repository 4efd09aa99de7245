#include "sim/shell/Simulator.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>

#include "keypad/QKeypadScanner.h"
#include "platform/gdi/Framebuffer.h"
#include "platform/gdi/WinGdi.h"
#include "platform/kernel/CString.h"
#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/DeviceStorage.h"
#include "platform/kernel/EventLog.h"
#include "platform/kernel/Registry.h"
#include "platform/kernel/ThreadControl.h"
#include "platform/user/WinUser.h"
#include "sim/control/LastState.h"
#include "sim/frontend/HeadlessFrontEnd.h"
#include "sim/frontend/SdlFrontEnd.h"
#include "sim/shell/ControlCommands.h"
#include "sim/shell/ScreenshotFile.h"
#include "sim/shell/SignalWatcher.h"

namespace {

// How long the program gets to close its main window at quit, in real milliseconds.
constexpr std::uint64_t kCloseMs = 5000;

} // namespace

Simulator::Simulator(SimOptions options, SimProgram program)
    : m_options(std::move(options)), m_program(std::move(program)),
      m_programThread([this] { RequestQuit(); }) {}

Simulator::~Simulator() = default;

bool Simulator::Prepare(std::string& error) {
    m_state = StateDir::Open(m_options.state, error);
    if (!m_state)
        return false;

    DeviceClock& clock = DeviceClock::Instance();
    clock.SetScaled(m_options.speed);
    const auto offset = m_state->LoadClockOffset(error);
    if (!offset)
        return false;
    clock.SetLocalOffsetMs(*offset);

    std::error_code ec;
    const std::filesystem::path card = std::filesystem::absolute(m_options.card, ec);
    if (ec || !std::filesystem::is_directory(card, ec)) {
        error = "the card folder " + m_options.card + " does not exist (give --card DIR)";
        return false;
    }
    DeviceStorage::Configure(m_state->Path(), card);

    const Registry::LoadResult loaded = Registry::Instance().Load(m_state->RegistryPath());
    if (!loaded) {
        error = m_state->RegistryPath().string() + " line " + std::to_string(loaded.line) + ": " +
                loaded.message + " (the file is left as it is)";
        return false;
    }

    const std::wstring fontError = GdiFontError();
    if (!fontError.empty()) {
        error = CString(fontError).ToUtf8();
        return false;
    }
    return BuildBoard(error);
}

bool Simulator::BuildBoard(std::string& error) {
    m_board = std::make_unique<Board>();
    // The co-processor's battery-backed clock keeps the device's local time, so the launcher
    // shows the time of day after it has set its clock from it; --coproc clock=... overrides.
    const std::time_t localSecs = std::time_t(DeviceClock::Instance().LocalMs() / 1000);
    std::tm local{};
    gmtime_r(&localSecs, &local);
    char clock[32];
    std::strftime(clock, sizeof clock, "%Y-%m-%d %H:%M:%S", &local);
    m_board->Set("clock", clock);
    if (std::string e = m_board->Configure(m_options.coproc); !e.empty()) {
        error = "--coproc " + m_options.coproc + ": " + e;
        return false;
    }
    if (!m_options.trace.empty()) {
        m_traceFile.open(m_options.trace, std::ios::trunc);
        if (!m_traceFile) {
            error = "cannot write the trace file " + m_options.trace;
            return false;
        }
        m_trace = std::make_unique<TraceWriter>(m_traceFile);
        m_board->AddObserver(m_trace.get());
    }
    if (!m_options.vcd.empty()) {
        m_vcdFile.open(m_options.vcd, std::ios::trunc);
        if (!m_vcdFile) {
            error = "cannot write the waveform file " + m_options.vcd;
            return false;
        }
        m_vcd = std::make_unique<VcdWriter>(m_vcdFile);
        m_board->AddObserver(m_vcd.get());
    }
    return true;
}

// Brings the writers up to the present and lets go of them, so their files end complete.
void Simulator::DetachObservers() {
    m_board->Flush();
    for (BoardObserver* observer :
         {static_cast<BoardObserver*>(m_trace.get()), static_cast<BoardObserver*>(m_vcd.get())})
        if (observer)
            m_board->RemoveObserver(observer);
    m_traceFile.flush();
    m_vcdFile.flush();
}

bool Simulator::SetKey(int code, bool down, std::uint64_t releaseAtUs) {
    // The matrix records each change in the event log itself.
    if (!(down ? m_keypad.Press(code, releaseAtUs) : m_keypad.Release(code)))
        return false;
    if (!down)
        return true;
    {
        std::lock_guard lock(m_keyMutex);
        ++m_keyDowns;
        m_lastKeyDown = code;
    }
    m_keyCv.notify_all();
    return true;
}

void Simulator::PressKey(int code, int holdMs) {
    DeviceClock& clock = DeviceClock::Instance();
    const std::uint64_t holdUs = std::uint64_t(holdMs) * 1000;
    // A hold of a whole poll or more is one the device's scanner always sees: it ends on the
    // wires at its device time, and a scanner kept from its polls by a busy host still gets to
    // see it before it goes.
    const bool sure = holdMs >= int(QKeypadScanner::KEY_POLL_MS);
    SetKey(code, true, sure ? clock.NowUs() + holdUs : 0);
    clock.SleepUs(holdUs);
    if (sure)
        m_keypad.WaitUntilSeen(code, std::chrono::seconds(10));
    SetKey(code, false);
    // The key stays up for two polls before the call returns, so that the scanner sees the
    // release even when the next press follows at once.
    clock.SleepUs(std::uint64_t(kReleaseMs) * 1000);
}

bool Simulator::SetStylus(Stylus::Change change, int x, int y, DWORD timeMs) {
    if (!m_stylus.Apply(change, x, y, timeMs))
        return false;
    if (change != Stylus::Change::Down)
        return true;
    {
        std::lock_guard lock(m_keyMutex);
        ++m_stylusDowns;
        m_lastTapX = x;
        m_lastTapY = y;
    }
    m_keyCv.notify_all();
    return true;
}

void Simulator::Tap(int x, int y, bool twice) {
    DeviceClock& clock = DeviceClock::Instance();
    const std::uint64_t pressUs = std::uint64_t(kStylusPressMs) * 1000;
    // Each change is stamped with the time it was meant for, not the time it is delivered.
    const DWORD start = DWORD(clock.NowMs());
    for (int press = 0; press < (twice ? 2 : 1); ++press) {
        const DWORD down = start + DWORD(press * 2 * kStylusPressMs);
        SetStylus(Stylus::Change::Down, x, y, down);
        clock.SleepUs(pressUs);
        SetStylus(Stylus::Change::Up, x, y, down + kStylusPressMs);
        if (twice && press == 0)
            clock.SleepUs(pressUs);
    }
    clock.SleepUs(std::uint64_t(GetDoubleClickTime()) * 1000);
}

std::optional<Simulator::Input> Simulator::WaitInput(std::uint64_t timeoutMs, bool taps) {
    DeviceClock& clock = DeviceClock::Instance();
    const std::uint64_t deadline = clock.NowUs() + timeoutMs * 1000;
    EventLog::Instance().Record("key.wait", {{"timeout_ms", timeoutMs}, {"taps", taps}});
    ThreadControl::WaitScope scope;
    std::unique_lock lock(m_keyMutex);
    const std::uint64_t keysSeen = m_keyDowns;
    const std::uint64_t tapsSeen = m_stylusDowns;
    const auto arrived = [&] {
        return m_keyDowns != keysSeen || (taps && m_stylusDowns != tapsSeen);
    };
    if (!clock.WaitUntil(lock, m_keyCv, deadline, [&] { return arrived() || m_quitting; }) ||
        !arrived())
        return std::nullopt;
    if (m_keyDowns != keysSeen)
        return Input{m_lastKeyDown};
    return Input{std::nullopt, m_lastTapX, m_lastTapY};
}

void Simulator::RequestQuit() {
    {
        // A program waiting for a key must not hold the control socket's end up.
        std::lock_guard lock(m_keyMutex);
        m_quitting = true;
    }
    m_keyCv.notify_all();
    if (m_frontEnd)
        m_frontEnd->Stop();
}

void Simulator::SaveScreenshot() {
    const Framebuffer::Snapshot shot = Framebuffer::Instance().Take();
    std::string error;
    const std::filesystem::path file = ScreenshotFile::Save(
        m_state->Path(), shot.pixels, Framebuffer::kWidth, Framebuffer::kHeight, error);
    if (file.empty()) {
        std::cerr << "norvane-sim: screenshot not saved: " << error << std::endl;
        return;
    }
    std::cerr << "norvane-sim: screenshot saved to " << file.string() << std::endl;
    EventLog::Instance().Record("screenshot.saved", {{"path", file.string()}});
}

std::string Simulator::SaveState() {
    std::string errors;
    if (!Registry::Instance().Save())
        errors += "the registry could not be saved to " + m_state->RegistryPath().string() + "; ";
    if (std::string e = m_state->SaveClockOffset(DeviceClock::Instance().LocalOffsetMs());
        !e.empty())
        errors += e + "; ";
    if (!errors.empty())
        errors.resize(errors.size() - 2);
    return errors;
}

int Simulator::Run() {
    std::string error;
    if (!Prepare(error)) {
        std::cerr << "norvane-sim: " << error << "\n";
        return 1;
    }

    // The window front end when asked for and possible, else headless (and the line says why).
    std::string mode = "headless";
    if (!m_options.headless) {
        std::string why;
        m_frontEnd = SdlFrontEnd::Create(
            [this](int code, bool down) { SetKey(code, down); },
            [this](Stylus::Change change, int x, int y) { SetStylus(change, x, y); },
            [this] { SaveScreenshot(); }, why);
        mode = m_frontEnd ? "" : "headless: " + why;
    }
    if (!m_frontEnd)
        m_frontEnd = std::make_unique<HeadlessFrontEnd>();

    ControlCommands commands(*this, *m_board);
    commands.Register(m_server);
    if (std::string e = m_server.Start(m_state->SocketPath()); !e.empty()) {
        std::cerr << "norvane-sim: " << e << "\n";
        return 1;
    }
    // Programs the launcher starts find the device's control socket here.
    ::setenv("NORVANE_CONTROL_SOCKET", m_state->SocketPath().c_str(), 1);

    SignalWatcher signals([this](int) { RequestQuit(); });
    m_programThread.Start(m_program);

    if (std::string e = LastState::Write(m_state->Path()); !e.empty())
        std::cerr << "norvane-sim: " << e << "\n";
    std::cout << "norvane-sim: state " << m_state->Path().string() << ", socket "
              << m_state->SocketPath().string() << (mode.empty() ? "" : " (" + mode + ")")
              << "; try: norvane-ctl --state " << m_state->Path().string() << " status"
              << std::endl;

    m_frontEnd->Run();
    RequestQuit();

    const bool closed = m_programThread.Close(kCloseMs);
    m_server.Stop();
    DetachObservers();
    const std::string saveError = SaveState();
    LastState::ForgetIfCurrent(m_state->Path());
    if (!saveError.empty())
        std::cerr << "norvane-sim: " << saveError << "\n";
    if (!closed) {
        // The program's thread is stuck (the launcher in a launch, say): nothing more can be
        // done for it.
        std::cerr << "norvane-sim: the " << m_program.name << " did not close within "
                  << kCloseMs / 1000 << " s; stopping anyway\n";
        m_state.reset();
        std::_Exit(1);
    }
    return saveError.empty() ? m_programThread.ExitCode() : 1;
}
