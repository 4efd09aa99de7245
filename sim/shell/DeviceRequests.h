// The control socket's requests to the device's software and hardware: WM_COPYDATA to the
// launcher view, a message box in the gallery, a registry value set, and the co-processor model
// configured or booted.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

class Board;

class DeviceRequests {
public:
    explicit DeviceRequests(Board& board) : m_board(board) {}

    // Sends WM_COPYDATA to the view of the frame "AppFrame" and waits, as a sent message does,
    // until the launcher's UI thread has handled it. lpData holds "string" as UTF-16 with its
    // terminator, or exactly the bytes of "hex"; with "null" (or neither) it is NULL. cbData is
    // the count of those bytes unless "cb" gives another, which may not exceed them (any count
    // goes with "null").
    static nlohmann::json CopyData(const nlohmann::json& request);
    // Posts a message box ("type", "text", "caption" or none) to the frame of the gallery, which
    // shows it on its UI thread; answers at once, while the box is open. Refused unless the
    // program running (program) is the gallery.
    static nlohmann::json MessageBox(const nlohmann::json& request, const std::string& program);
    // Sets a DWORD value of a key under HKEY_LOCAL_MACHINE, as a settings program would.
    static nlohmann::json RegistrySet(const nlohmann::json& request);
    nlohmann::json CoprocSet(const nlohmann::json& request);
    // Boots the co-processor as the launcher's start-up does: reset, 200 ms, boot handshake,
    // then the download of the image.
    static nlohmann::json CoprocBoot(const nlohmann::json& request);

private:
    Board& m_board;
};
