#include "sim/shell/ScreenCommands.h"

#include <algorithm>
#include <filesystem>
#include <string>

#include "platform/gdi/Framebuffer.h"
#include "platform/gdi/WinGdi.h"
#include "platform/kernel/CString.h"
#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/EventLog.h"
#include "platform/user/WinUser.h"
#include "sim/control/Base64.h"
#include "sim/control/ControlServer.h"
#include "sim/control/GifWriter.h"
#include "sim/control/PngEncoder.h"

nlohmann::json ScreenCommands::Screenshot() {
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

nlohmann::json ScreenCommands::Record(const nlohmann::json& request,
                                      const std::function<bool()>& stopping) {
    const auto path = request.find("path");
    if (path == request.end() || !path->is_string() || path->get<std::string>().empty())
        return ControlServer::Error("record: give \"path\", the GIF file to write");
    const auto seconds = request.find("seconds");
    if (seconds == request.end() || !seconds->is_number() || *seconds <= 0 ||
        *seconds > kMaxRecordSeconds)
        return ControlServer::Error("record: \"seconds\" must be more than 0 and at most " +
                                    std::to_string(int(kMaxRecordSeconds)) + " (device seconds)");
    const std::filesystem::path file = path->get<std::string>();
    const auto durationUs = std::uint64_t(seconds->get<double>() * 1e6 + 0.5);

    GifWriter gif(Framebuffer::kWidth, Framebuffer::kHeight);
    std::string error = gif.Open(file, durationUs);
    std::error_code ec;
    const auto fail = [&](const std::string& why) {
        gif.Finish();
        std::filesystem::remove(file, ec);
        return ControlServer::Error("record: " + why);
    };
    if (!error.empty())
        return ControlServer::Error("record: " + error);

    // The screen is looked at every 10 ms of device time, a GIF's unit of time, but at most
    // once a host millisecond, so a fast device does not keep a processor busy, and at least
    // every 50 host milliseconds, so a slow one still quits promptly.
    DeviceClock& clock = DeviceClock::Instance();
    const double speed = clock.Speed();
    const auto lookUs = std::max<std::uint64_t>(
        1, std::min(std::max<std::uint64_t>(10'000, std::uint64_t(1'000 * speed)),
                    std::uint64_t(50'000 * speed)));
    const Framebuffer& screen = Framebuffer::Instance();
    EventLog::Instance().Record("record.started",
                                {{"path", file.string()}, {"duration_ms", durationUs / 1000}});
    const std::uint64_t startUs = clock.NowUs();
    std::uint64_t seen = UINT64_MAX;
    for (std::uint64_t now = 0; now < durationUs; now = clock.NowUs() - startUs) {
        if (stopping())
            return fail("the device shut down during the recording");
        if (screen.ChangeCount() != seen) {
            const Framebuffer::Snapshot shot = screen.Take();
            seen = shot.changeCount;
            error = gif.Add(shot.pixels, clock.NowUs() - startUs);
            if (!error.empty())
                return fail(error);
        }
        clock.SleepUs(std::min(lookUs, durationUs - now));
    }
    error = gif.Finish();
    if (!error.empty())
        return fail(error);
    const auto bytes = std::filesystem::file_size(file, ec);
    EventLog::Instance().Record("record.finished",
                                {{"path", file.string()}, {"frames", gif.Frames()}});
    return {{"path", file.string()},
            {"duration_ms", durationUs / 1000},
            {"frames", gif.Frames()},
            {"approximate_frames", gif.ApproximateFrames()},
            {"bytes", ec ? 0 : bytes}};
}

nlohmann::json ScreenCommands::DrawText(const nlohmann::json& request) {
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

nlohmann::json ScreenCommands::ReleaseScreen() {
    InvalidateRect(nullptr, nullptr, TRUE);
    return nlohmann::json::object();
}
