#include "sim/shell/ScreenCommands.h"

#include <string>

#include "platform/gdi/Framebuffer.h"
#include "platform/gdi/WinGdi.h"
#include "platform/kernel/CString.h"
#include "platform/kernel/EventLog.h"
#include "platform/user/WinUser.h"
#include "sim/control/Base64.h"
#include "sim/control/ControlServer.h"
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
