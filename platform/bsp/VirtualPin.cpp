#include "platform/bsp/VirtualPin.h"

#include <string>
#include <utility>

#include "platform/bsp/VirtualPinBackend.h"
#include "platform/kernel/ThreadControl.h"

namespace {

template <class F> DWORD WithBoard(DWORD noBoard, F&& fn) {
    return VirtualPinBackend::WithInstalled(noBoard, std::forward<F>(fn));
}

} // namespace

DWORD GetVirtualPin(LPCWSTR name, DWORD* handle) {
    PlatformCheckpoint();
    if (handle == nullptr)
        return DWORD(ERROR_INVALID_PARAMETER);
    *handle = 0;
    if (name == nullptr)
        return DWORD(ERROR_INVALID_PARAMETER);
    DWORD opened = 0;
    const DWORD result = WithBoard(DWORD(ERROR_FILE_NOT_FOUND), [&](VirtualPinBackend& board) {
        return board.OpenPin(name, &opened);
    });
    if (result == 0)
        *handle = opened;
    return result;
}

DWORD CloneVirtualPin(LPCWSTR sourceName, LPCWSTR newName, DWORD flags) {
    PlatformCheckpoint();
    if (sourceName == nullptr || newName == nullptr || *newName == L'\0')
        return DWORD(ERROR_INVALID_PARAMETER);
    return WithBoard(DWORD(ERROR_FILE_NOT_FOUND), [&](VirtualPinBackend& board) {
        return board.ClonePin(sourceName, newName, flags);
    });
}

DWORD ApplyVirtualPinContract(DWORD handle) {
    PlatformCheckpoint();
    return WithBoard(DWORD(ERROR_INVALID_HANDLE),
                     [&](VirtualPinBackend& board) { return board.ApplyContract(handle); });
}

DWORD SetVirtualPinDirection(DWORD handle, DWORD direction) {
    PlatformCheckpoint();
    if (direction != VIRTUAL_PIN_INPUT && direction != VIRTUAL_PIN_OUTPUT)
        return DWORD(ERROR_INVALID_PARAMETER);
    return WithBoard(DWORD(ERROR_INVALID_HANDLE), [&](VirtualPinBackend& board) {
        return board.SetDirection(handle, direction);
    });
}

DWORD GetVirtualPinState(DWORD handle, DWORD* state) {
    PlatformCheckpoint();
    if (state == nullptr)
        return DWORD(ERROR_INVALID_PARAMETER);
    DWORD level = 0;
    const DWORD result = WithBoard(DWORD(ERROR_INVALID_HANDLE), [&](VirtualPinBackend& board) {
        return board.GetState(handle, &level);
    });
    *state = result == 0 ? level : 0;
    return result;
}

DWORD ActivateVirtualPin(DWORD handle) {
    PlatformCheckpoint();
    return WithBoard(DWORD(ERROR_INVALID_HANDLE),
                     [&](VirtualPinBackend& board) { return board.SetActive(handle, true); });
}

DWORD DeactivateVirtualPin(DWORD handle) {
    PlatformCheckpoint();
    return WithBoard(DWORD(ERROR_INVALID_HANDLE),
                     [&](VirtualPinBackend& board) { return board.SetActive(handle, false); });
}

DWORD ReleaseVirtualPin(DWORD handle) {
    PlatformCheckpoint();
    return WithBoard(DWORD(ERROR_INVALID_HANDLE),
                     [&](VirtualPinBackend& board) { return board.ReleaseHandle(handle); });
}
