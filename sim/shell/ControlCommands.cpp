#include "sim/shell/ControlCommands.h"

#include "sim/board/Board.h"
#include "sim/shell/CardCommands.h"
#include "sim/shell/ScreenCommands.h"
#include "sim/shell/Simulator.h"

void ControlCommands::Register(ControlServer& server) {
    server.Register("screenshot",
                    [](const nlohmann::json&) { return ScreenCommands::Screenshot(); });
    server.Register("record", [this](const nlohmann::json& r) {
        return ScreenCommands::Record(r, [this] { return m_simulator.IsQuitting(); });
    });
    server.Register("key", [this](const nlohmann::json& r) { return m_keys.Key(r); });
    server.Register("key-down",
                    [this](const nlohmann::json& r) { return m_keys.KeyChange(r, true); });
    server.Register("key-up",
                    [this](const nlohmann::json& r) { return m_keys.KeyChange(r, false); });
    server.Register("wait-key", [this](const nlohmann::json& r) { return m_keys.WaitKey(r); });
    server.Register("tap", [this](const nlohmann::json& r) { return m_stylus.Tap(r); });
    server.Register("stylus", [this](const nlohmann::json& r) { return m_stylus.Change(r); });
    // A program's picture covers the windows: the taps on it are the program's.
    server.Register("draw-text", [this](const nlohmann::json& r) {
        nlohmann::json answer = ScreenCommands::DrawText(r);
        if (!answer.contains("error"))
            m_simulator.SetProgramScreen(true);
        return answer;
    });
    server.Register("release-screen", [this](const nlohmann::json&) {
        m_simulator.SetProgramScreen(false);
        return ScreenCommands::ReleaseScreen();
    });
    server.Register("registry-set",
                    [](const nlohmann::json& r) { return DeviceRequests::RegistrySet(r); });
    server.Register("copydata",
                    [](const nlohmann::json& r) { return DeviceRequests::CopyData(r); });
    server.Register("msgbox", [this](const nlohmann::json& r) {
        return DeviceRequests::MessageBox(r, m_simulator.ProgramName());
    });
    server.Register("status", [this](const nlohmann::json&) {
        nlohmann::json status = m_status.Status();
        status["usb"] = m_usb.Describe();
        return status;
    });
    server.Register("events", [](const nlohmann::json& r) { return StatusReport::Events(r); });
    server.Register("quit", [this](const nlohmann::json&) {
        m_simulator.RequestQuit();
        return nlohmann::json::object();
    });
    server.Register("coproc", [this](const nlohmann::json&) {
        return nlohmann::json{{"state", m_board.State()}};
    });
    server.Register("coproc-set",
                    [this](const nlohmann::json& r) { return m_device.CoprocSet(r); });
    server.Register("coproc-boot",
                    [](const nlohmann::json& r) { return DeviceRequests::CoprocBoot(r); });
    // The outside world: the USB cable.
    server.Register("usb", [this](const nlohmann::json& r) { return m_usb.Request(r); });
    // The storage card pulled out and put back.
    server.Register("card", [](const nlohmann::json& r) { return CardCommands::Card(r); });
}
