#include "sim/shell/ControlCommands.h"

#include <cstdio>
#include <ctime>

#include "link/QCoprocLink.h"
#include "platform/gdi/Framebuffer.h"
#include "platform/kernel/CString.h"
#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/EventLog.h"
#include "platform/kernel/KernelTime.h"
#include "platform/user/WinUser.h"
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

} // namespace

void ControlCommands::Register(ControlServer& server) {
    server.Register("screenshot", [](const nlohmann::json&) { return Screenshot(); });
    server.Register("key", [this](const nlohmann::json& r) { return Key(r); });
    server.Register("status", [](const nlohmann::json&) { return Status(); });
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
    const auto name = request.find("name");
    if (name == request.end() || !name->is_string())
        return ControlServer::Error("key: give the key's \"name\"");
    const auto code = KeyNames::CodeOf(name->get<std::string>());
    if (!code)
        return ControlServer::Error("key: no key is called \"" + name->get<std::string>() + "\"");
    int holdMs = 0;
    if (const auto hold = request.find("hold_ms"); hold != request.end()) {
        if (!hold->is_number_integer() || *hold < 0 || *hold > kMaxHoldMs)
            return ControlServer::Error("key: \"hold_ms\" must be a whole number from 0 to " +
                                        std::to_string(kMaxHoldMs));
        holdMs = hold->get<int>();
    }
    const int posted = m_simulator.PressKey(*code, holdMs, "control");
    return {{"code", *code}, {"messages", posted}};
}

nlohmann::json ControlCommands::Status() {
    const DeviceClock& clock = DeviceClock::Instance();
    return {{"time_ms", clock.NowMs()},
            {"speed", clock.Speed()},
            {"local_time", LocalTimeText(clock.LocalMs())},
            {"windows", DescribeWindowTree()}};
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
