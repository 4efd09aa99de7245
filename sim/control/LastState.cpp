#include "sim/control/LastState.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::filesystem::path RecordDir() {
    return "/tmp/norvane-" + std::to_string(::getuid());
}

// /tmp is shared: use the record directory only when it is a real directory of ours that nobody
// else may write to, so another user cannot point our client at a socket of theirs.
std::string PrepareRecordDir() {
    const std::filesystem::path dir = RecordDir();
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
        return "cannot make " + dir.string() + ": " + std::strerror(errno);
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid() ||
        (st.st_mode & 022) != 0)
        return dir.string() + " is not a private directory of this user";
    return {};
}

} // namespace

std::filesystem::path LastState::RecordFile() {
    return RecordDir() / "last-state";
}

std::optional<std::filesystem::path> LastState::Read() {
    struct stat st {};
    if (::lstat(RecordDir().c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid() ||
        (st.st_mode & 022) != 0)
        return std::nullopt;
    std::ifstream in(RecordFile());
    std::string line;
    if (!std::getline(in, line) || line.empty())
        return std::nullopt;
    return std::filesystem::path(line);
}

std::string LastState::Write(const std::filesystem::path& stateDir) {
    if (std::string error = PrepareRecordDir(); !error.empty())
        return error;
    const std::filesystem::path file = RecordFile();
    const std::filesystem::path temp = file.string() + "." + std::to_string(::getpid());
    {
        std::ofstream out(temp, std::ios::trunc);
        out << stateDir.string() << "\n";
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

void LastState::ForgetIfCurrent(const std::filesystem::path& stateDir) {
    const auto current = Read();
    if (current && *current == stateDir)
        std::remove(RecordFile().c_str());
}
