#include "sim/control/LastState.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::filesystem::path RecordDir() {
    return "/tmp/norvane-" + std::to_string(::getuid());
}

// NORVANE_LAST_STATE, when set, names the record file instead (a test's own folder keeps its
// simulators away from the user's record); set but empty, there is no record at all.
const char* RecordOverride() {
    return std::getenv("NORVANE_LAST_STATE");
}

bool IsPrivateDir(const std::filesystem::path& dir) {
    struct stat st {};
    return ::lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & 022) == 0;
}

// /tmp is shared: use the record directory only when it is a real directory of ours that nobody
// else may write to, so another user cannot point our client at a socket of theirs.
std::string PrepareRecordDir() {
    const std::filesystem::path dir = RecordDir();
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
        return "cannot make " + dir.string() + ": " + std::strerror(errno);
    if (!IsPrivateDir(dir))
        return dir.string() + " is not a private directory of this user";
    return {};
}

} // namespace

std::filesystem::path LastState::RecordFile() {
    if (const char* file = RecordOverride())
        return file;
    return RecordDir() / "last-state";
}

std::optional<std::filesystem::path> LastState::Read() {
    const std::filesystem::path file = RecordFile();
    if (file.empty() || (!RecordOverride() && !IsPrivateDir(RecordDir())))
        return std::nullopt;
    std::ifstream in(file);
    std::string line;
    if (!std::getline(in, line) || line.empty())
        return std::nullopt;
    return std::filesystem::path(line);
}

std::string LastState::Write(const std::filesystem::path& stateDir) {
    const std::filesystem::path file = RecordFile();
    if (file.empty())
        return {};
    if (!RecordOverride())
        if (std::string error = PrepareRecordDir(); !error.empty())
            return error;
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
    if (current && *current == stateDir && !RecordFile().empty())
        std::remove(RecordFile().c_str());
}
