#include "sim/shell/DeviceRequests.h"

#include <cstdint>
#include <string>
#include <vector>

#include "link/QCoprocLink.h"
#include "platform/kernel/CString.h"
#include "platform/kernel/CodePage.h"
#include "platform/kernel/EventLog.h"
#include "platform/kernel/KernelTime.h"
#include "platform/kernel/Registry.h"
#include "platform/user/WinUser.h"
#include "sim/board/Board.h"
#include "sim/control/ControlServer.h"
#include "sim/gallery/GalleryRequests.h"

nlohmann::json DeviceRequests::CopyData(const nlohmann::json& request) {
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

nlohmann::json DeviceRequests::MessageBox(const nlohmann::json& request,
                                          const std::string& program) {
    if (program != "gallery")
        return ControlServer::Error("msgbox: the message box is the gallery's: start norvane-sim "
                                    "with --app gallery (this one runs the " +
                                    program + ")");
    const auto type = request.find("type");
    const auto text = request.find("text");
    const auto caption = request.find("caption");
    if (type == request.end() || !type->is_number_unsigned() || *type > 0xFFFFFFFFu ||
        text == request.end() || !text->is_string())
        return ControlServer::Error("msgbox: give the \"type\" flags (0 to 4294967295) and the "
                                    "\"text\"");
    if (caption != request.end() && !caption->is_null() && !caption->is_string())
        return ControlServer::Error("msgbox: \"caption\" must be a string (or none)");
    const HWND frame = FindWindow(nullptr, kGalleryWindowName);
    if (!frame)
        return ControlServer::Error("msgbox: the gallery has no window yet");
    const UINT flags = type->get<UINT>();
    auto* box = new GalleryMessageBoxRequest;
    box->type = flags;
    box->text = CString::FromUtf8(text->get<std::string>());
    if (caption != request.end() && caption->is_string())
        box->caption = CString::FromUtf8(caption->get<std::string>());
    if (!PostMessage(frame, GalleryMessageBoxRequest::kMessage, 0, reinterpret_cast<LPARAM>(box))) {
        delete box;
        return ControlServer::Error("msgbox: the gallery's window takes no messages");
    }
    // The box is the gallery's from here on: it may be open, or closed, already.
    return {{"frame", reinterpret_cast<std::uintptr_t>(frame)}, {"type", flags}};
}

nlohmann::json DeviceRequests::RegistrySet(const nlohmann::json& request) {
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

nlohmann::json DeviceRequests::CoprocSet(const nlohmann::json& request) {
    const auto settings = request.find("settings");
    if (settings == request.end() || !settings->is_string())
        return ControlServer::Error("coproc-set: give \"settings\" as \"key=value,key=value\"");
    if (std::string error = m_board.Configure(settings->get<std::string>()); !error.empty())
        return ControlServer::Error("coproc-set: " + error);
    return nlohmann::json::object();
}

nlohmann::json DeviceRequests::CoprocBoot(const nlohmann::json& request) {
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
