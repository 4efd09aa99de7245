#include "sim/control/ControlClient.h"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

ControlClient::~ControlClient() {
    if (m_fd >= 0)
        ::close(m_fd);
}

std::string ControlClient::Connect(const std::filesystem::path& socketPath) {
    sockaddr_un addr{};
    const std::string text = socketPath.string();
    if (text.size() >= sizeof(addr.sun_path))
        return "socket path " + text + " is too long";
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, text.c_str(), text.size() + 1);
    m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        return std::string("socket: ") + std::strerror(errno);
    if (::connect(m_fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        const std::string error = std::strerror(errno);
        ::close(m_fd);
        m_fd = -1;
        return error;
    }
    return {};
}

bool ControlClient::SendRaw(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(std::size_t(n));
    }
    return true;
}

std::optional<nlohmann::json> ControlClient::ReadAnswer(std::string& error) {
    std::size_t nl;
    while ((nl = m_buffer.find('\n')) == std::string::npos) {
        char chunk[65536];
        const ssize_t n = ::recv(m_fd, chunk, sizeof chunk, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n == 0 ? "the simulator closed the connection"
                           : std::string("reading the answer: ") + std::strerror(errno);
            return std::nullopt;
        }
        m_buffer.append(chunk, std::size_t(n));
    }
    nlohmann::json answer = nlohmann::json::parse(m_buffer.substr(0, nl), nullptr, false);
    m_buffer.erase(0, nl + 1);
    if (answer.is_discarded()) {
        error = "the simulator's answer is not JSON";
        return std::nullopt;
    }
    return answer;
}

std::optional<nlohmann::json> ControlClient::Request(const nlohmann::json& request,
                                                     std::string& error) {
    if (m_fd < 0) {
        error = "not connected";
        return std::nullopt;
    }
    if (!SendRaw(request.dump() + "\n")) {
        error = std::string("sending the request: ") + std::strerror(errno);
        return std::nullopt;
    }
    return ReadAnswer(error);
}
