#include "sim/shell/DeviceRequests.h"

#include <cstdint>
#include <optional>
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
#include "sim/control/HexBytes.h"
#include "sim/gallery/GalleryRequests.h"

nlohmann::json DeviceRequests::CopyData(const nlohmann::json& request) {
    const auto code = request.find("code");
    if (code == request.end() || !code->is_number_unsigned() || *code > 0xFFFFFFFFu)
        return ControlServer::Error("copydata: give the request \"code\" (0 to 4294967295)");
    const auto string = request.find("string");
    const auto hex = request.find("hex");
    const auto null = request.find("null");
    const auto cb = request.find("cb");
    const bool hasString = string != request.end() && !string->is_null();
    const bool hasHex = hex != request.end() && !hex->is_null();
    if (null != request.end() && !null->is_boolean())
        return ControlServer::Error("copydata: \"null\" must be true or false");
    const bool noData = null != request.end() && null->get<bool>();
    if (int(hasString) + int(hasHex) + int(noData) > 1)
        return ControlServer::Error(
            "copydata: give one of \"string\", \"hex\" and \"null\", not several");
    if (cb != request.end() && (!cb->is_number_unsigned() || *cb > 0xFFFFFFFFu))
        return ControlServer::Error("copydata: \"cb\" must be a byte count (0 to 4294967295)");

    // The data as the device holds it: a string as UTF-16 with its terminator, 2 bytes a unit
    // whatever the host's wchar_t; hex as exactly the bytes written.
    std::vector<BYTE> bytes;
    if (hasString) {
        if (!string->is_string())
            return ControlServer::Error("copydata: \"string\" must be a string");
        bytes = WideToUtf16Le(CString::FromUtf8(string->get<std::string>()).Str());
    } else if (hasHex) {
        std::string error;
        const auto parsed =
            hex->is_string() ? HexBytes::Parse(hex->get<std::string>(), error) : std::nullopt;
        if (!parsed)
            return ControlServer::Error("copydata: \"hex\": " +
                                        (error.empty() ? std::string("must be a string") : error));
        bytes = *parsed;
    }
    DWORD cbData = DWORD(bytes.size());
    if (cb != request.end()) {
        // A count past the bytes given would have the view read memory that is not the
        // request's; with no data at all (NULL) any count may be claimed.
        const std::uint64_t claimed = cb->get<std::uint64_t>();
        if (!noData && claimed > bytes.size())
            return ControlServer::Error("copydata: cbData " + std::to_string(claimed) +
                                        " is more than the " + std::to_string(bytes.size()) +
                                        " bytes given");
        cbData = DWORD(claimed);
    }

    const HWND frame = FindWindow(nullptr, L"AppFrame");
    const HWND view = frame ? GetWindow(frame, GW_CHILD) : nullptr;
    if (!view)
        return ControlServer::Error("copydata: no window \"AppFrame\" with a view");
    COPYDATASTRUCT data;
    data.dwData = code->get<DWORD>();
    data.cbData = cbData;
    data.lpData = bytes.empty() ? nullptr : bytes.data();
    EventLog::Instance().Record(
        "copydata.sent",
        {{"code", data.dwData}, {"bytes", data.cbData}, {"null", data.lpData == nullptr}});
    const LRESULT result = SendMessage(view, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    return {{"view", reinterpret_cast<std::uintptr_t>(view)},
            {"bytes", data.cbData},
            {"data", data.lpData ? nlohmann::json(bytes.size()) : nlohmann::json()},
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
