// The simulated device's state directory: its registry file, the device clock's local-time
// offset and the control socket. Opened from --state (made when missing) or made fresh in the
// temporary folder; a fresh one is removed again when the simulator ends.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class StateDir {
public:
    // dir empty: a fresh private directory in the temporary folder. Otherwise dir is used as it
    // is, made with mode 0700 when missing. nullptr and error text when it cannot be used.
    static std::unique_ptr<StateDir> Open(const std::filesystem::path& dir, std::string& error);
    ~StateDir();
    StateDir(const StateDir&) = delete;
    StateDir& operator=(const StateDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    bool IsTemporary() const { return m_temporary; }
    std::filesystem::path SocketPath() const { return m_path / "control.sock"; }
    std::filesystem::path RegistryPath() const { return m_path / "registry.reg"; }
    std::filesystem::path ClockOffsetPath() const { return m_path / "clock-offset"; }

    // The device clock's local-time offset saved by the last run: 0 when none was saved,
    // nullopt (with error) when the file is there but does not hold a number.
    std::optional<std::int64_t> LoadClockOffset(std::string& error) const;
    // Saves the offset atomically (new file, then rename). Empty on success, else the error.
    std::string SaveClockOffset(std::int64_t offsetMs) const;

private:
    StateDir(std::filesystem::path path, bool temporary)
        : m_path(std::move(path)), m_temporary(temporary) {}

    std::filesystem::path m_path;
    bool m_temporary;
};
