#include "sim/control/ControlServer.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

std::string ErrnoText(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

// Writes all of text; false when the peer has gone.
bool SendAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        text.remove_prefix(std::size_t(n));
    }
    return true;
}

bool SendAnswer(int fd, const nlohmann::json& answer) {
    // Replace invalid UTF-8 rather than throw: an answer must always go out.
    return SendAll(fd,
                   answer.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n");
}

bool FillAddress(const std::filesystem::path& path, sockaddr_un& addr) {
    const std::string text = path.string();
    if (text.size() >= sizeof(addr.sun_path))
        return false;
    addr = {};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, text.c_str(), text.size() + 1);
    return true;
}

// True when something accepts connections on the socket file at path.
bool SomeoneListens(const sockaddr_un& addr) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool answered = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return answered;
}

} // namespace

ControlServer::~ControlServer() {
    Stop();
}

void ControlServer::Register(std::string command, Handler handler) {
    m_handlers[std::move(command)] = std::move(handler);
}

nlohmann::json ControlServer::Error(std::string text) {
    return {{"ok", false}, {"error", std::move(text)}};
}

std::string ControlServer::Start(const std::filesystem::path& socketPath) {
    sockaddr_un addr{};
    if (!FillAddress(socketPath, addr))
        return "socket path " + socketPath.string() + " is too long for a Unix socket (at most " +
               std::to_string(sizeof(addr.sun_path) - 1) + " bytes)";
    struct stat st {};
    if (::lstat(socketPath.c_str(), &st) == 0) {
        if (!S_ISSOCK(st.st_mode))
            return socketPath.string() + " exists and is not a socket";
        if (SomeoneListens(addr))
            return "another simulator is already serving " + socketPath.string();
        ::unlink(socketPath.c_str());
    }

    m_listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listenFd < 0)
        return ErrnoText("socket");
    // The socket is made inside a 0700 directory, so nobody else can reach it before the chmod.
    if (::bind(m_listenFd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 ||
        ::chmod(socketPath.c_str(), 0600) != 0 || ::listen(m_listenFd, 8) != 0) {
        const std::string error = ErrnoText("cannot listen on " + socketPath.string());
        ::close(m_listenFd);
        m_listenFd = -1;
        return error;
    }
    int wake[2];
    if (::pipe2(wake, O_CLOEXEC) != 0) {
        const std::string error = ErrnoText("pipe");
        ::close(m_listenFd);
        m_listenFd = -1;
        ::unlink(socketPath.c_str());
        return error;
    }
    m_wakeRead = wake[0];
    m_wakeWrite = wake[1];
    m_socketPath = socketPath;
    m_stopping = false;
    m_acceptor = std::thread([this] { AcceptLoop(); });
    return {};
}

void ControlServer::Stop() {
    if (m_listenFd < 0)
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    const char wake = 1;
    while (::write(m_wakeWrite, &wake, 1) < 0 && errno == EINTR) {
    }
    m_acceptor.join();

    std::list<std::unique_ptr<Client>> clients;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        clients.swap(m_clients);
    }
    // Shutting down the reading side wakes each client thread from its read; a request being
    // handled still gets its answer written before the thread sees the end of input.
    for (auto& c : clients)
        ::shutdown(c->fd, SHUT_RD);
    for (auto& c : clients) {
        c->thread.join();
        ::close(c->fd);
    }
    ::close(m_listenFd);
    ::close(m_wakeRead);
    ::close(m_wakeWrite);
    m_listenFd = m_wakeRead = m_wakeWrite = -1;
    ::unlink(m_socketPath.c_str());
}

void ControlServer::ReapFinishedLocked() {
    for (auto it = m_clients.begin(); it != m_clients.end();) {
        if ((*it)->done.load()) {
            (*it)->thread.join();
            ::close((*it)->fd);
            it = m_clients.erase(it);
        } else {
            ++it;
        }
    }
}

void ControlServer::AcceptLoop() {
    for (;;) {
        pollfd fds[2] = {{m_listenFd, POLLIN, 0}, {m_wakeRead, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents)
            return;
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        std::lock_guard<std::mutex> lock(m_mutex);
        ReapFinishedLocked();
        // A client that came in while the server stops is closed unanswered, like the clients
        // being served: "too many connections" would not be why it is turned away.
        if (m_stopping) {
            ::close(fd);
            continue;
        }
        if (m_clients.size() >= kMaxClients) {
            SendAnswer(fd, Error("too many control connections (at most " +
                                 std::to_string(kMaxClients) + ")"));
            ::close(fd);
            continue;
        }
        // A client that stops reading its answers is dropped instead of holding a thread.
        const timeval sendLimit{10, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &sendLimit, sizeof sendLimit);
        auto client = std::make_unique<Client>();
        client->fd = fd;
        Client& c = *client;
        m_clients.push_back(std::move(client));
        c.thread = std::thread([this, &c] { Serve(c); });
    }
}

void ControlServer::Serve(Client& client) {
    std::string buffer;
    char chunk[4096];
    bool open = true;
    while (open) {
        const ssize_t n = ::recv(client.fd, chunk, sizeof chunk, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break; // the client left (a request cut off in the middle is dropped) or Stop
        buffer.append(chunk, std::size_t(n));
        std::size_t start = 0;
        for (std::size_t nl; open && (nl = buffer.find('\n', start)) != std::string::npos;
             start = nl + 1) {
            std::string_view line(buffer.data() + start, nl - start);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            if (line.size() > kMaxRequestBytes) {
                SendAnswer(client.fd, Error("request longer than " +
                                            std::to_string(kMaxRequestBytes) + " bytes"));
                open = false;
            } else if (line.find_first_not_of(" \t") != std::string_view::npos) {
                open = SendAnswer(client.fd, Answer(line));
            }
        }
        buffer.erase(0, start);
        if (open && buffer.size() > kMaxRequestBytes) {
            SendAnswer(client.fd,
                       Error("request longer than " + std::to_string(kMaxRequestBytes) + " bytes"));
            open = false;
        }
    }
    // The peer sees the end of the connection now; the descriptor is closed when the thread is
    // joined, so it cannot be reused while Stop may still shut it down.
    ::shutdown(client.fd, SHUT_RDWR);
    client.done.store(true);
}

nlohmann::json ControlServer::Answer(std::string_view line) const {
    nlohmann::json request = nlohmann::json::parse(line, nullptr, false);
    if (request.is_discarded())
        return Error("request is not JSON");
    if (!request.is_object() || !request.contains("cmd") || !request["cmd"].is_string())
        return Error("request must be a JSON object with a \"cmd\" string");
    const std::string& cmd = request["cmd"].get_ref<const std::string&>();
    const auto it = m_handlers.find(cmd);
    if (it == m_handlers.end())
        return Error("unknown command \"" + cmd + "\"");
    nlohmann::json answer;
    try {
        answer = it->second(request);
    } catch (const std::exception& e) {
        return Error(cmd + ": " + e.what());
    }
    if (!answer.is_object())
        answer = nlohmann::json::object();
    if (!answer.contains("ok"))
        answer["ok"] = true;
    return answer;
}
