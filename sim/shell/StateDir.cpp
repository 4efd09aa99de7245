#include "sim/shell/StateDir.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

std::unique_ptr<StateDir> StateDir::Open(const std::filesystem::path& dir, std::string& error) {
    if (dir.empty()) {
        std::error_code ec;
        const std::filesystem::path tmp = std::filesystem::temp_directory_path(ec);
        std::string pattern = ((ec ? std::filesystem::path("/tmp") : tmp) / "norvane-XXXXXX");
        // mkdtemp makes the directory with mode 0700.
        if (::mkdtemp(pattern.data()) == nullptr) {
            error = "cannot make a state directory " + pattern + ": " + std::strerror(errno);
            return nullptr;
        }
        return std::unique_ptr<StateDir>(new StateDir(pattern, true));
    }
    const std::filesystem::path path = std::filesystem::absolute(dir);
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        error = "cannot make the state directory " + path.string() + ": " + std::strerror(errno);
        return nullptr;
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        error = "the state directory " + path.string() + " is not a directory";
        return nullptr;
    }
    return std::unique_ptr<StateDir>(new StateDir(path, false));
}

StateDir::~StateDir() {
    if (m_temporary) {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
}

std::optional<std::int64_t> StateDir::LoadClockOffset(std::string& error) const {
    std::ifstream in(ClockOffsetPath());
    if (!in)
        return 0;
    std::stringstream text;
    text << in.rdbuf();
    std::string s = text.str();
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' '))
        s.pop_back();
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size()) {
        error = ClockOffsetPath().string() + " does not hold a clock offset in milliseconds";
        return std::nullopt;
    }
    return value;
}

std::string StateDir::SaveClockOffset(std::int64_t offsetMs) const {
    const std::filesystem::path file = ClockOffsetPath();
    const std::filesystem::path temp = file.string() + ".new";
    {
        std::ofstream out(temp, std::ios::trunc);
        out << offsetMs << "\n";
        if (!out.flush())
            return "cannot write " + temp.string();
    }
    if (std::rename(temp.c_str(), file.c_str()) != 0) {
        const std::string error = std::strerror(errno);
        std::remove(temp.c_str());
        return "cannot write " + file.string() + ": " + error;
    }
    return {};
}
