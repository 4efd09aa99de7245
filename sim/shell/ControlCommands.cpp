#include "sim/shell/ControlCommands.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "link/QCoprocLink.h"
#include "platform/gdi/Framebuffer.h"
#include "platform/gdi/WinGdi.h"
#include "platform/kernel/CString.h"
#include "platform/kernel/CodePage.h"
#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/EventLog.h"
#include "platform/kernel/KernelTime.h"
#include "platform/kernel/Registry.h"
#include "platform/kernel/SoundSink.h"
#include "platform/user/WinUser.h"
#include "platform/user/WindowTree.h"
#include "res/resource.h"
#include "sim/board/Board.h"
#include "sim/control/Base64.h"
#include "sim/control/KeyNames.h"
#include "sim/control/PngEncoder.h"
#include "sim/shell/Simulator.h"

namespace {

// The device's local time as "YYYY-MM-DD HH:MM:SS.mmm".
std::string LocalTimeText(std::int64_t localMs) {
    const std::time_t secs = std::time_t(localMs / 1000);
    std::tm tm{};
    gmtime_r(&secs, &tm);
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, int(localMs % 1000));
    return text;
}

// The window of the tree (as DescribeWindowTree gives it) with that control id, searched depth
// first inside the window titled "AppFrame"; null when there is none.
const nlohmann::json* FindLauncherControl(const nlohmann::json& windows, int id, bool inFrame) {
    for (const nlohmann::json& w : windows) {
        if (inFrame && w.value("id", -1) == id)
            return &w;
        const bool frame = inFrame || w.value("text", std::string()) == "AppFrame";
        if (const nlohmann::json* found = FindLauncherControl(w["children"], id, frame))
            return found;
    }
    return nullptr;
}

std::string ColourText(std::uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", unsigned(rgb & 0xFFFFFF));
    return text;
}

// A static control's text as it draws it: without SS_NOPREFIX "&&" shows as one "&" and a
// single "&" is hidden (it underlines the next character).
std::string TextAsDrawn(HWND hwnd, const std::string& text) {
    if (DWORD(GetWindowLong(hwnd, GWL_STYLE)) & SS_NOPREFIX)
        return text;
    const CString wide = CString::FromUtf8(text);
    std::wstring shown;
    for (int i = 0; i < wide.GetLength(); ++i) {
        if (wide[i] == L'&' && ++i >= wide.GetLength())
            break;
        shown.push_back(wide[i]);
    }
    return CString(shown).ToUtf8();
}

// A label of the launcher as it shows on the screen: its text, and its background and text
// colours read from its pixels (the commonest colour and the next commonest); null when the
// launcher has no such control.
nlohmann::json LabelOnScreen(const nlohmann::json& windows, int id,
                             const std::vector<std::uint32_t>& pixels) {
    const nlohmann::json* w = FindLauncherControl(windows, id, false);
    if (!w)
        return nullptr;
    const auto& r = (*w)["rect"];
    std::map<std::uint32_t, int> counts;
    for (int y = std::max(0, r[1].get<int>()); y < std::min(Framebuffer::kHeight, r[3].get<int>());
         ++y)
        for (int x = std::max(0, r[0].get<int>());
             x < std::min(Framebuffer::kWidth, r[2].get<int>()); ++x)
            ++counts[pixels[std::size_t(y) * Framebuffer::kWidth + std::size_t(x)] & 0xFFFFFF];
    std::vector<std::pair<int, std::uint32_t>> ranked;
    for (const auto& [colour, count] : counts)
        ranked.emplace_back(count, colour);
    std::sort(ranked.rbegin(), ranked.rend());
    const auto hwnd = reinterpret_cast<HWND>((*w)["hwnd"].get<std::uintptr_t>());
    return {{"text", TextAsDrawn(hwnd, (*w)["text"].get<std::string>())},
            {"visible", (*w)["visible"]},
            {"background",
             ranked.empty() ? nlohmann::json() : nlohmann::json(ColourText(ranked[0].second))},
            {"text_colour",
             ranked.size() < 2 ? nlohmann::json() : nlohmann::json(ColourText(ranked[1].second))}};
}

// The key code a request names in "name"; nothing, with the error text, when it names none.
std::optional<int> RequestedKey(const nlohmann::json& request, std::string& error) {
    const auto name = request.find("name");
    if (name == request.end() || !name->is_string()) {
        error = "give the key's \"name\"";
        return std::nullopt;
    }
    const auto code = KeyNames::CodeOf(name->get<std::string>());
    if (!code)
        error = "no key is called \"" + name->get<std::string>() + "\"";
    return code;
}

} // namespace

void ControlCommands::Register(ControlServer& server) {
    server.Register("screenshot", [](const nlohmann::json&) { return Screenshot(); });
    server.Register("key", [this](const nlohmann::json& r) { return Key(r); });
    server.Register("key-down", [this](const nlohmann::json& r) { return KeyChange(r, true); });
    server.Register("key-up", [this](const nlohmann::json& r) { return KeyChange(r, false); });
    server.Register("wait-key", [this](const nlohmann::json& r) { return WaitKey(r); });
    server.Register("draw-text", [](const nlohmann::json& r) { return DrawText(r); });
    // A program lets go of the screen it drew on: every window repaints, as when the full-screen
    // window of a program on the device closes.
    server.Register("release-screen", [](const nlohmann::json&) {
        InvalidateRect(nullptr, nullptr, TRUE);
        return nlohmann::json::object();
    });
    server.Register("registry-set", [](const nlohmann::json& r) { return RegistrySet(r); });
    server.Register("copydata", [](const nlohmann::json& r) { return CopyData(r); });
    server.Register("status", [this](const nlohmann::json&) { return Status(); });
    server.Register("events", [](const nlohmann::json& r) { return Events(r); });
    server.Register("quit", [this](const nlohmann::json&) {
        m_simulator.RequestQuit();
        return nlohmann::json::object();
    });
    server.Register("coproc", [this](const nlohmann::json&) {
        return nlohmann::json{{"state", m_board.State()}};
    });
    server.Register("coproc-set", [this](const nlohmann::json& r) { return CoprocSet(r); });
    server.Register("coproc-boot", [](const nlohmann::json& r) { return CoprocBoot(r); });
}

nlohmann::json ControlCommands::Screenshot() {
    const Framebuffer::Snapshot shot = Framebuffer::Instance().Take();
    std::string error;
    const auto png =
        PngEncoder::Encode(shot.pixels, Framebuffer::kWidth, Framebuffer::kHeight, error);
    if (png.empty())
        return ControlServer::Error("screenshot: " + error);
    return {{"width", Framebuffer::kWidth},
            {"height", Framebuffer::kHeight},
            {"change_count", shot.changeCount},
            {"png", Base64::Encode(png)}};
}

nlohmann::json ControlCommands::Key(const nlohmann::json& request) {
    std::string error;
    const auto code = RequestedKey(request, error);
    if (!code)
        return ControlServer::Error("key: " + error);
    int holdMs = kTapMs;
    if (const auto hold = request.find("hold_ms"); hold != request.end()) {
        if (!hold->is_number_integer() || *hold < 0 || *hold > kMaxHoldMs)
            return ControlServer::Error("key: \"hold_ms\" must be a whole number from 0 to " +
                                        std::to_string(kMaxHoldMs));
        holdMs = hold->get<int>();
    }
    if (m_simulator.IsKeyDown(*code))
        return ControlServer::Error("key: " + KeyNames::NameOf(*code) + " is held down already");
    m_simulator.PressKey(*code, holdMs);
    return {{"code", *code}, {"hold_ms", holdMs}};
}

nlohmann::json ControlCommands::KeyChange(const nlohmann::json& request, bool down) {
    const std::string command = down ? "key-down: " : "key-up: ";
    std::string error;
    const auto code = RequestedKey(request, error);
    if (!code)
        return ControlServer::Error(command + error);
    if (!m_simulator.SetKey(*code, down))
        return ControlServer::Error(command + KeyNames::NameOf(*code) +
                                    (down ? " is down already" : " is not down"));
    return {{"code", *code}};
}

nlohmann::json ControlCommands::WaitKey(const nlohmann::json& request) {
    const auto timeout = request.find("timeout_ms");
    if (timeout == request.end() || !timeout->is_number_unsigned())
        return ControlServer::Error("wait-key: give \"timeout_ms\", device milliseconds");
    const auto code = m_simulator.WaitKeyDown(timeout->get<std::uint64_t>());
    if (m_simulator.IsQuitting())
        return ControlServer::Error("wait-key: the device is shutting down");
    if (!code)
        return {{"key", nullptr}, {"code", nullptr}};
    return {{"key", KeyNames::NameOf(*code)}, {"code", *code}};
}

nlohmann::json ControlCommands::DrawText(const nlohmann::json& request) {
    const auto lines = request.find("lines");
    if (lines == request.end() || !lines->is_array())
        return ControlServer::Error("draw-text: give \"lines\", an array of strings");
    for (const nlohmann::json& line : *lines)
        if (!line.is_string())
            return ControlServer::Error("draw-text: every line must be a string");
    // A dark screen with the first line as a white title and the others in grey beneath it.
    constexpr COLORREF kBackground = RGB(0, 0, 64);
    constexpr int kMargin = 8;
    constexpr int kLineHeight = 18;
    const HDC dc = GetDC(nullptr);
    const RECT screen = {0, 0, Framebuffer::kWidth, Framebuffer::kHeight};
    const HBRUSH brush = CreateSolidBrush(kBackground);
    FillRect(dc, &screen, brush);
    DeleteObject(brush);
    SetBkMode(dc, TRANSPARENT);
    int y = kMargin;
    for (std::size_t i = 0; i < lines->size() && y < screen.bottom; ++i, y += kLineHeight) {
        SetTextColor(dc, i == 0 ? RGB(255, 255, 255) : RGB(200, 200, 200));
        RECT r = {kMargin, y, screen.right - kMargin, y + kLineHeight};
        const CString text = CString::FromUtf8((*lines)[i].get<std::string>());
        ::DrawText(dc, text, text.GetLength(), &r, DT_LEFT | DT_SINGLELINE);
    }
    ReleaseDC(nullptr, dc);
    // The program has painted the whole screen: a progress text the launcher left there is gone,
    // as the launcher's picture reads from this record.
    EventLog::Instance().Record("screen.text", {{"lines", *lines}});
    return {{"lines", lines->size()}};
}

nlohmann::json ControlCommands::CopyData(const nlohmann::json& request) {
    const auto code = request.find("code");
    if (code == request.end() || !code->is_number_unsigned() || *code > 0xFFFFFFFFu)
        return ControlServer::Error("copydata: give the request \"code\" (0 to 4294967295)");
    std::vector<BYTE> text;
    if (const auto s = request.find("string"); s != request.end() && !s->is_null()) {
        if (!s->is_string())
            return ControlServer::Error("copydata: \"string\" must be a string");
        text = WideToUtf16Le(CString::FromUtf8(s->get<std::string>()).Str());
    }
    const HWND frame = FindWindow(nullptr, L"AppFrame");
    const HWND view = frame ? GetWindow(frame, GW_CHILD) : nullptr;
    if (!view)
        return ControlServer::Error("copydata: no window \"AppFrame\" with a view");
    COPYDATASTRUCT data;
    data.dwData = code->get<DWORD>();
    data.cbData = DWORD(text.size());
    data.lpData = text.empty() ? nullptr : text.data();
    EventLog::Instance().Record("copydata.sent", {{"code", data.dwData}, {"bytes", data.cbData}});
    const LRESULT result = SendMessage(view, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    return {{"view", reinterpret_cast<std::uintptr_t>(view)},
            {"bytes", text.size()},
            {"result", std::int64_t(result)}};
}

nlohmann::json ControlCommands::RegistrySet(const nlohmann::json& request) {
    const auto key = request.find("key");
    const auto name = request.find("name");
    const auto value = request.find("dword");
    if (key == request.end() || !key->is_string() || name == request.end() || !name->is_string() ||
        value == request.end() || !value->is_number_unsigned() || *value > 0xFFFFFFFFu)
        return ControlServer::Error(
            "registry-set: give \"key\" (under HKEY_LOCAL_MACHINE), \"name\" and \"dword\"");
    HKEY hkey = nullptr;
    LONG rc = RegCreateKeyEx(HKEY_LOCAL_MACHINE, CString::FromUtf8(key->get<std::string>()), 0,
                             nullptr, REG_OPTION_NON_VOLATILE, 0, nullptr, &hkey, nullptr);
    if (rc == ERROR_SUCCESS) {
        const DWORD dword = value->get<DWORD>();
        rc = RegSetValueEx(hkey, CString::FromUtf8(name->get<std::string>()), 0, REG_DWORD,
                           reinterpret_cast<const BYTE*>(&dword), sizeof dword);
        RegCloseKey(hkey);
    }
    if (rc != ERROR_SUCCESS)
        return ControlServer::Error("registry-set: the registry refused it (error " +
                                    std::to_string(rc) + ")");
    return nlohmann::json::object();
}

// The launcher's own account of itself, with the focused item's text as "focus" (its index as
// "focus_index"), its caption line and clock as they show on the screen, its battery gauge, and
// the device's time, sounds and window tree.
nlohmann::json ControlCommands::Status() {
    const DeviceClock& clock = DeviceClock::Instance();
    nlohmann::json status = m_launcher.Describe();
    const nlohmann::json index = status["focus"];
    status["focus_index"] = index;
    status["focus"] =
        index.is_number() ? status["items"][index.get<std::size_t>()]["text"] : nlohmann::json();
    nlohmann::json windows = DescribeWindowTree();
    const std::vector<std::uint32_t> screen = Framebuffer::Instance().Take().pixels;
    status["labels"] = {{"caption", LabelOnScreen(windows, IDC_CAPTION, screen)},
                        {"clock", LabelOnScreen(windows, IDC_CLOCK, screen)}};
    status["gauge"] = m_launcher.Gauge();
    status["time_ms"] = clock.NowMs();
    status["speed"] = clock.Speed();
    status["local_time"] = LocalTimeText(clock.LocalMs());
    status["sounds"] = SoundSink::PlayedCount();
    status["windows"] = std::move(windows);
    return status;
}

nlohmann::json ControlCommands::Events(const nlohmann::json& request) {
    std::uint64_t since = 0;
    if (const auto s = request.find("since"); s != request.end()) {
        if (!s->is_number_unsigned() && !(s->is_number_integer() && *s >= 0))
            return ControlServer::Error("events: \"since\" must be a sequence number (0 or more)");
        since = s->get<std::uint64_t>();
    }
    nlohmann::json events = nlohmann::json::array();
    std::uint64_t last = since;
    for (const EventLog::Entry& e : EventLog::Instance().Since(since)) {
        events.push_back(EventLog::ToJson(e));
        last = e.seq;
    }
    return {{"events", std::move(events)}, {"last", last}};
}

nlohmann::json ControlCommands::CoprocSet(const nlohmann::json& request) {
    const auto settings = request.find("settings");
    if (settings == request.end() || !settings->is_string())
        return ControlServer::Error("coproc-set: give \"settings\" as \"key=value,key=value\"");
    if (std::string error = m_board.Configure(settings->get<std::string>()); !error.empty())
        return ControlServer::Error("coproc-set: " + error);
    return nlohmann::json::object();
}

// Boots the co-processor as the launcher's start-up does: reset, 200 ms, boot handshake, then
// the download of the image.
nlohmann::json ControlCommands::CoprocBoot(const nlohmann::json& request) {
    const auto path = request.find("path");
    if (path == request.end() || !path->is_string() || path->get<std::string>().empty())
        return ControlServer::Error("coproc-boot: give the image's device \"path\"");
    const CString devicePath = CString::FromUtf8(path->get<std::string>());
    QCoprocLink& link = QCoprocLink::Instance();
    const bool reset = link.HoldReset();
    Sleep(200);
    const bool handshake = link.BootHandshake();
    const bool download = link.DownloadImage(devicePath);
    return {{"hold_reset", reset}, {"boot_handshake", handshake}, {"download", download}};
}
