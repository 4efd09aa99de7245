#include "sim/shell/StatusReport.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/gdi/Framebuffer.h"
#include "platform/kernel/CString.h"
#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/EventLog.h"
#include "platform/kernel/SoundSink.h"
#include "platform/user/MenuTree.h"
#include "platform/user/WinUser.h"
#include "platform/user/WindowTree.h"
#include "res/resource.h"
#include "sim/control/ControlServer.h"
#include "sim/shell/CardCommands.h"

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

// The kit's buttons are the owner-drawn ones: each draws itself (no other button of the
// device's programs does).
bool IsKitButton(const nlohmann::json& w) {
    if (w.value("class", std::string()) != "Button")
        return false;
    const auto hwnd = reinterpret_cast<HWND>(w["hwnd"].get<std::uintptr_t>());
    return (DWORD(GetWindowLong(hwnd, GWL_STYLE)) & BS_TYPEMASK) == BS_OWNERDRAW;
}

// ---- The open dialog ------------------------------------------------------------------------

// The window of the tree with that handle, searched depth first; null when there is none.
const nlohmann::json* FindWindowByHandle(const nlohmann::json& windows, std::uintptr_t hwnd) {
    for (const nlohmann::json& w : windows) {
        if (w.value("hwnd", std::uintptr_t(0)) == hwnd)
            return &w;
        if (const nlohmann::json* found = FindWindowByHandle(w["children"], hwnd))
            return found;
    }
    return nullptr;
}

// The modal dialog on top: its text and rect, its labels' texts (icons left out), its list
// boxes' lines and the control that has the focus; null when no modal dialog is open.
nlohmann::json DescribeDialog(const nlohmann::json& windows,
                              std::optional<DialogPicture::Open> top) {
    const nlohmann::json* w = top ? FindWindowByHandle(windows, top->hwnd) : nullptr;
    if (!w)
        return nullptr;
    nlohmann::json labels = nlohmann::json::array();
    nlohmann::json lists = nlohmann::json::array();
    nlohmann::json focused;
    for (const nlohmann::json& c : (*w)["children"]) {
        const auto hwnd = reinterpret_cast<HWND>(c["hwnd"].get<std::uintptr_t>());
        const std::string cls = c.value("class", std::string());
        if (cls == "Static" && (DWORD(GetWindowLong(hwnd, GWL_STYLE)) & SS_TYPEMASK) != SS_ICON)
            labels.push_back(
                {{"id", c["id"]}, {"text", TextAsDrawn(hwnd, c["text"].get<std::string>())}});
        if (c.contains("lines"))
            lists.push_back({{"id", c["id"]}, {"lines", c["lines"]}});
        if (c.value("focused", false))
            focused = {{"id", c["id"]}, {"class", cls}, {"text", c["text"]}};
    }
    return {{"hwnd", (*w)["hwnd"]}, {"template", top->templateId}, {"text", (*w)["text"]},
            {"rect", (*w)["rect"]}, {"visible", (*w)["visible"]},  {"labels", labels},
            {"lists", lists},       {"focused", focused}};
}

} // namespace

nlohmann::json StatusReport::Buttons(const nlohmann::json& windows) const {
    nlohmann::json buttons = nlohmann::json::array();
    const std::function<void(const nlohmann::json&)> walk = [&](const nlohmann::json& list) {
        for (const nlohmann::json& w : list) {
            if (IsKitButton(w)) {
                const auto hwnd = w["hwnd"].get<std::uintptr_t>();
                buttons.push_back({{"id", w["id"]},
                                   {"text", w["text"]},
                                   {"rect", w["rect"]},
                                   {"checked", m_buttons.Checked(hwnd)},
                                   {"focused", w["focused"]},
                                   {"visible", w["visible"]},
                                   {"hwnd", hwnd}});
            }
            walk(w["children"]);
        }
    };
    walk(windows);
    return buttons;
}

nlohmann::json StatusReport::Status() const {
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
    status["buttons"] = Buttons(windows);
    status["gallery"] = m_gallery.Describe();
    status["time_ms"] = clock.NowMs();
    status["speed"] = clock.Speed();
    status["local_time"] = LocalTimeText(clock.LocalMs());
    status["sounds"] = SoundSink::PlayedCount();
    status["windows"] = std::move(windows);
    status["menus"] = m_menuTexts.Named(DescribeOpenMenus());
    status["dialog"] = DescribeDialog(status["windows"], m_dialogs.Top());
    status["card"] = CardCommands::State();
    return status;
}

nlohmann::json StatusReport::Events(const nlohmann::json& request) {
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
