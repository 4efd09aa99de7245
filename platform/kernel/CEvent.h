// MFC's CEvent: an event kernel object owned for the lifetime of this object.
#pragma once

#include "platform/kernel/WinTypes.h"

class CEvent {
public:
    explicit CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE,
                    LPCTSTR lpszName = nullptr, void* lpsaAttribute = nullptr);
    ~CEvent();
    CEvent(const CEvent&) = delete;
    CEvent& operator=(const CEvent&) = delete;

    operator HANDLE() const { return m_hObject; }

    BOOL SetEvent();
    BOOL ResetEvent();
    BOOL PulseEvent();
    // TRUE when the event is signalled within dwTimeout ms of device time.
    BOOL Lock(DWORD dwTimeout = INFINITE);
    BOOL Unlock() { return TRUE; }

    HANDLE m_hObject = nullptr;
};
