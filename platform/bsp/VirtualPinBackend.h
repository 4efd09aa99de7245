// The board behind the virtual-pin calls of the board-support API: it owns the named pins, hands
// out the handles the callers hold and answers their levels. A board (the simulated keypad, in the
// simulator) installs itself at run time; with none installed every virtual-pin call fails safely.
#pragma once

#include <shared_mutex>
#include <string>

#include "platform/kernel/WinTypes.h"

class VirtualPinBackend {
public:
    virtual ~VirtualPinBackend() = default;

    // Each call returns 0 on success or a Win32 error code; the caller's arguments are checked
    // already (names are not null, out pointers are not null).
    // A new handle for the pin of that name.
    virtual DWORD OpenPin(const std::wstring& name, DWORD* handle) = 0;
    // A new pin under newName that drives or reads the same line as the pin source.
    virtual DWORD ClonePin(const std::wstring& source, const std::wstring& newName,
                           DWORD flags) = 0;
    virtual DWORD ApplyContract(DWORD handle) = 0;
    // 0 = input, 1 = output.
    virtual DWORD SetDirection(DWORD handle, DWORD direction) = 0;
    // Non-zero state: the line is active.
    virtual DWORD GetState(DWORD handle, DWORD* state) = 0;
    virtual DWORD SetActive(DWORD handle, bool active) = 0;
    // The handle is invalid afterwards; the pin itself stays on the board.
    virtual DWORD ReleaseHandle(DWORD handle) = 0;

    // Makes backend the board that the virtual-pin calls serve (replacing any other).
    static void Install(VirtualPinBackend* backend);
    // Removes backend if it is the installed one. Returns once no call into it is running, so
    // the caller may destroy it afterwards.
    static void Uninstall(VirtualPinBackend* backend);

    // Runs fn on the installed board, which stays installed until fn returns; fallback when no
    // board is installed.
    template <class R, class F> static R WithInstalled(R fallback, F&& fn) {
        std::shared_lock<std::shared_mutex> lock(InstallLock());
        VirtualPinBackend* backend = InstalledLocked();
        return backend ? fn(*backend) : fallback;
    }

private:
    static std::shared_mutex& InstallLock();
    static VirtualPinBackend* InstalledLocked();
};
