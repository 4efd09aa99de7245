// The simulator's control socket: a Unix stream socket on which a client sends one JSON request
// per line ({"cmd": ..., ...}) and reads one JSON answer per line ({"ok": true, ...} or
// {"ok": false, "error": ...}). Several clients may be connected at once; each has a thread of
// its own, so a slow command holds up only the client that sent it.
#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include <nlohmann/json.hpp>

class ControlServer {
public:
    // Gets the whole request object; returns the answer's fields ("ok" is added when missing).
    // A handler reports a bad request with Error(...) or by throwing std::exception.
    using Handler = std::function<nlohmann::json(const nlohmann::json& request)>;

    // A request line longer than this is refused and its connection closed.
    static constexpr std::size_t kMaxRequestBytes = 64 * 1024;
    // Connections beyond this many are told so and closed at once.
    static constexpr std::size_t kMaxClients = 16;

    ControlServer() = default;
    ~ControlServer();
    ControlServer(const ControlServer&) = delete;
    ControlServer& operator=(const ControlServer&) = delete;

    // Adds a command; call before Start.
    void Register(std::string command, Handler handler);
    // Listens on socketPath (created with mode 0600). A socket file left behind by a simulator
    // that is gone is replaced; one that still answers is not. Empty on success, else the error.
    std::string Start(const std::filesystem::path& socketPath);
    // Stops listening, lets requests in progress send their answers, closes every connection and
    // removes the socket file. Called again, does nothing.
    void Stop();

    static nlohmann::json Error(std::string text);

private:
    struct Client {
        int fd = -1;
        std::thread thread;
        std::atomic<bool> done{false};
    };

    void AcceptLoop();
    void Serve(Client& client);
    nlohmann::json Answer(std::string_view line) const;
    void ReapFinishedLocked();

    std::map<std::string, Handler, std::less<>> m_handlers;
    std::filesystem::path m_socketPath;
    int m_listenFd = -1;
    int m_wakeRead = -1;
    int m_wakeWrite = -1;
    std::thread m_acceptor;
    std::mutex m_mutex;
    std::list<std::unique_ptr<Client>> m_clients;
    bool m_stopping = false;
};
