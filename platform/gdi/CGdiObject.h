// The framework's wrapper of a GDI object handle: owns the handle it holds and deletes it when
// destroyed (unless detached first).
#pragma once

#include "platform/gdi/WinGdi.h"

class HandleWrappers;

class CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject();
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;

    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HGDIOBJ object);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    BOOL CreateStockObject(int index);
    int GetObject(int size, LPVOID buffer) const;
    UINT GetObjectType() const;

    // The wrapper for a handle: the object attached to it, or a temporary one.
    static CGdiObject* FromHandle(HGDIOBJ object);

private:
    friend class HandleWrappers;
    void AttachTemporary(void* handle) { m_hObject = static_cast<HGDIOBJ>(handle); }
    void DetachTemporary() { m_hObject = nullptr; }
};
