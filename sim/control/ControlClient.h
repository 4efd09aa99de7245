// A connection to a simulator's control socket: sends one JSON request per line and reads the
// JSON answer line that comes back. Used by norvane-ctl and by tests.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

class ControlClient {
public:
    ControlClient() = default;
    ~ControlClient();
    ControlClient(const ControlClient&) = delete;
    ControlClient& operator=(const ControlClient&) = delete;

    // Empty on success, else why the socket could not be reached.
    std::string Connect(const std::filesystem::path& socketPath);
    // Sends the request and waits for its answer. nullopt (with error set) when the connection
    // fails or the answer is not JSON.
    std::optional<nlohmann::json> Request(const nlohmann::json& request, std::string& error);
    // Sends raw bytes as they are (tests use it to send what a well-behaved client would not).
    bool SendRaw(std::string_view bytes);
    // Reads one answer line; nullopt at end of connection (error says so) or on a broken line.
    std::optional<nlohmann::json> ReadAnswer(std::string& error);

private:
    int m_fd = -1;
    std::string m_buffer;
};
