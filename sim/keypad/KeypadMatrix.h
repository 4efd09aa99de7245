// The keypad of the simulated device: twelve keys wired as a small matrix to the board's virtual
// pins "Keypad.Key0" to "Keypad.Key8", answering each input line from the output lines Key7 and
// Key8 as the wires do, so several keys down at once read as they would on the hardware. It serves
// the virtual-pin calls while it lives and takes the simulator's presses and releases.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/bsp/VirtualPinBackend.h"

class KeypadMatrix : public VirtualPinBackend {
public:
    // Key codes run from 0 to kKeyCount - 1, as the keypad scanner reports them.
    static constexpr int kKeyCount = 12;

    // Installs itself as the virtual-pin board; the destructor uninstalls it.
    KeypadMatrix();
    ~KeypadMatrix() override;
    KeypadMatrix(const KeypadMatrix&) = delete;
    KeypadMatrix& operator=(const KeypadMatrix&) = delete;

    // The simulator's side. Press and Release return false for a code that is no key and for a
    // key already in that position; each change is recorded as "key.down" or "key.up".
    bool Press(int code);
    // A press that ends by itself at device time releaseAtUs, once a read of the pins has seen
    // it: from then on the wires read the key up, however late the simulator's own Release
    // comes, and a scanner that could not poll during the hold still sees the press once. So a
    // hold gives the same keys on a busy host as on an idle one.
    bool Press(int code, std::uint64_t releaseAtUs);
    bool Release(int code);
    // Waits, at most hostLimit of host time, until a read of the pins has seen the key down;
    // false when it is not down or no read saw it in time. A simulator that releases a timed
    // press only then cannot take a key away that the scanner had no chance to see.
    bool WaitUntilSeen(int code, std::chrono::milliseconds hostLimit);
    void ReleaseAll();
    bool IsDown(int code) const;
    // The codes of the keys down now, in ascending order.
    std::vector<int> DownKeys() const;

    // VirtualPinBackend
    DWORD OpenPin(const std::wstring& name, DWORD* handle) override;
    DWORD ClonePin(const std::wstring& source, const std::wstring& newName, DWORD flags) override;
    DWORD ApplyContract(DWORD handle) override;
    DWORD SetDirection(DWORD handle, DWORD direction) override;
    DWORD GetState(DWORD handle, DWORD* state) override;
    DWORD SetActive(DWORD handle, bool active) override;
    DWORD ReleaseHandle(DWORD handle) override;

private:
    static constexpr int kLineCount = 9;

    // One physical line Key0..Key8 of the board.
    struct Line {
        bool output = false;
        bool driven = false; // the level an output drives
    };
    struct Pin {
        std::wstring name;
        int line = 0;
    };
    struct Handle {
        int line = 0;
        bool contract = false;
    };

    bool SetKey(int code, bool down, std::uint64_t releaseAtUs = 0);
    // Down, and not past the time its press ends by itself (or not yet seen).
    bool HeldLocked(int code) const;
    // Marks the key that makes the line read active as seen.
    bool LineActiveLocked(int line);
    // The handle's entry when it may drive or read its line; nullptr with the error set.
    Handle* ConnectedLocked(DWORD handle, DWORD* error);

    mutable std::mutex m_mutex;
    std::condition_variable m_seenChanged;
    std::array<bool, kKeyCount> m_down{};
    std::array<std::uint64_t, kKeyCount> m_releaseAtUs{}; // 0: held until released
    std::array<bool, kKeyCount> m_seen{};                 // a pin read has found it down
    std::array<Line, kLineCount> m_lines{};
    std::vector<Pin> m_pins;
    std::map<DWORD, Handle> m_handles;
    DWORD m_nextHandle = 1;
};
