#include "platform/kernel/Process.h"

#include <cerrno>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/kernel/CString.h"
#include "platform/kernel/CommandLine.h"
#include "platform/kernel/DeviceStorage.h"
#include "platform/kernel/EventLog.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/ThreadControl.h"

extern char** environ;

namespace {

// hInstApp codes of the shell: above 32 on success, an SE_ERR_ code on failure.
constexpr std::uintptr_t kStartedInstance = 42;
constexpr std::uintptr_t SE_ERR_FNF = 2;
constexpr std::uintptr_t SE_ERR_PNF = 3;
constexpr std::uintptr_t SE_ERR_ACCESSDENIED = 5;

BOOL Fail(SHELLEXECUTEINFO* info, DWORD error) {
    const std::uintptr_t code = error == DWORD(ERROR_FILE_NOT_FOUND)   ? SE_ERR_FNF
                                : error == DWORD(ERROR_PATH_NOT_FOUND) ? SE_ERR_PNF
                                                                       : SE_ERR_ACCESSDENIED;
    info->hInstApp = reinterpret_cast<HINSTANCE>(code);
    SetLastError(error);
    return FALSE;
}

// Waits for the host process and signals its kernel object; the "ended" event is recorded
// first, so whoever wakes from the wait finds it in the log.
void Reap(std::shared_ptr<Process> process) {
    int status = 0;
    pid_t done = -1;
    do {
        done = ::waitpid(process->Pid(), &status, 0);
    } while (done < 0 && errno == EINTR);
    nlohmann::json fields = {{"pid", process->Pid()}};
    DWORD code = DWORD(-1);
    if (done < 0) {
        fields["error"] = "lost track of the process";
    } else if (WIFEXITED(status)) {
        code = DWORD(WEXITSTATUS(status));
        fields["exit_status"] = code;
    } else if (WIFSIGNALED(status)) {
        code = DWORD(128 + WTERMSIG(status));
        fields["signal"] = WTERMSIG(status);
    }
    EventLog::Instance().Record("process.ended", std::move(fields));
    std::lock_guard<std::mutex> lock(KernelObject::Lock());
    process->MarkExitedLocked(code);
    KernelObject::NotifyAllLocked();
}

} // namespace

void Process::MarkExitedLocked(DWORD exitCode) {
    m_exitCode = exitCode;
    m_exited = true;
}

BOOL ShellExecuteEx(SHELLEXECUTEINFO* info) {
    PlatformCheckpoint();
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // cbSize is not checked: the launcher's code fills in the device's structure size, which
    // differs from the host's.
    info->hProcess = nullptr;
    DWORD refusal = ERROR_FILE_NOT_FOUND;
    const auto path = info->lpFile ? DeviceStorage::Resolve(info->lpFile, &refusal) : std::nullopt;
    if (!path)
        return Fail(info, refusal);
    struct stat st {};
    if (::stat(path->c_str(), &st) != 0)
        return Fail(info, ERROR_FILE_NOT_FOUND);
    if (!S_ISREG(st.st_mode) || ::access(path->c_str(), X_OK) != 0)
        return Fail(info, ERROR_ACCESS_DENIED);

    const auto args = CommandLine::Split(info->lpParameters ? info->lpParameters : L"");
    std::vector<std::string> argStrings{path->string()};
    nlohmann::json argsJson = nlohmann::json::array();
    for (const std::wstring& arg : args) {
        argStrings.push_back(CString(arg).ToUtf8());
        argsJson.push_back(argStrings.back());
    }
    std::vector<char*> argv;
    for (std::string& arg : argStrings)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int rc = ::posix_spawn(&pid, path->c_str(), nullptr, nullptr, argv.data(), environ);
    if (rc != 0)
        return Fail(info, rc == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED);

    auto process = std::make_shared<Process>(pid);
    EventLog::Instance().Record("process.started", {{"path", CString(info->lpFile).ToUtf8()},
                                                    {"host_path", path->string()},
                                                    {"args", argsJson},
                                                    {"pid", pid}});
    std::thread(Reap, process).detach();
    if (info->fMask & SEE_MASK_NOCLOSEPROCESS)
        info->hProcess = HandleTable::Insert(process);
    info->hInstApp = reinterpret_cast<HINSTANCE>(kStartedInstance);
    return TRUE;
}

BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode) {
    PlatformCheckpoint();
    auto object = HandleTable::GetAs<Process>(process);
    if (!object || !exitCode) {
        SetLastError(object ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::lock_guard<std::mutex> lock(KernelObject::Lock());
    *exitCode = object->ExitCodeLocked();
    return TRUE;
}
