// The keypad of the simulated device: twelve keys wired as a small matrix to the board's virtual
// pins "Keypad.Key0" to "Keypad.Key8", answering each input line from the output lines Key7 and
// Key8 as the wires do, so several keys down at once read as they would on the hardware. It serves
// the virtual-pin calls while it lives and takes the simulator's presses and releases.
#pragma once

#include <array>
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
    bool Release(int code);
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

    bool SetKey(int code, bool down);
    bool LineActiveLocked(int line) const;
    // The handle's entry when it may drive or read its line; nullptr with the error set.
    Handle* ConnectedLocked(DWORD handle, DWORD* error);

    mutable std::mutex m_mutex;
    std::array<bool, kKeyCount> m_down{};
    std::array<Line, kLineCount> m_lines{};
    std::vector<Pin> m_pins;
    std::map<DWORD, Handle> m_handles;
    DWORD m_nextHandle = 1;
};
