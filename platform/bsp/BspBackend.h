// The board behind the board-support API: what serves the XScale register blocks and the
// page-buffer RAM variables. A board (the simulated one, in the simulator) installs itself at run
// time; with none installed every board-support call fails safely (register reads give 0, writes
// go nowhere, calls return FALSE). The keypad's virtual pins have a back end of their own
// (VirtualPinBackend).
#pragma once

#include <mutex>
#include <shared_mutex>
#include <string>

#include "platform/kernel/WinTypes.h"

// The mapped register blocks of the XScale processor that the board-support library exports.
enum class XScaleBlock { Gpio, Nssp, Clock, Dma };

class BspBackend {
public:
    virtual ~BspBackend() = default;

    // One 32-bit access to a register of a block, at its byte offset within the block.
    virtual DWORD ReadRegister(XScaleBlock block, DWORD offset) = 0;
    virtual void WriteRegister(XScaleBlock block, DWORD offset, DWORD value) = 0;

    // Page-buffer RAM variables: physically contiguous buffers named by wide strings.
    virtual bool RamVariableExists(const std::wstring& name) = 0;
    virtual bool CreatePageBuffer(const std::wstring& name, DWORD size) = 0;
    virtual bool GetPageBuffer(const std::wstring& name, void** cpuPointer,
                               DWORD* physicalAddress) = 0;

    // Makes backend the board that the board-support API serves (replacing any other).
    static void Install(BspBackend* backend);
    // Removes backend if it is the installed one. Returns once no call into it is running, so
    // the caller may destroy it afterwards.
    static void Uninstall(BspBackend* backend);

    // Runs fn on the installed board, which stays installed until fn returns; fallback when no
    // board is installed.
    template <class R, class F> static R WithInstalled(R fallback, F&& fn) {
        std::shared_lock<std::shared_mutex> lock(InstallLock());
        BspBackend* backend = InstalledLocked();
        return backend ? fn(*backend) : fallback;
    }

private:
    static std::shared_mutex& InstallLock();
    static BspBackend* InstalledLocked();
};
