#include "platform/kernel/CEvent.h"

#include "platform/kernel/KernelSync.h"

CEvent::CEvent(BOOL bInitiallyOwn, BOOL bManualReset, LPCTSTR lpszName, void* lpsaAttribute)
    : m_hObject(CreateEvent(lpsaAttribute, bManualReset, bInitiallyOwn, lpszName)) {}

CEvent::~CEvent() {
    if (m_hObject != nullptr)
        CloseHandle(m_hObject);
}

BOOL CEvent::SetEvent() {
    return ::SetEvent(m_hObject);
}
BOOL CEvent::ResetEvent() {
    return ::ResetEvent(m_hObject);
}
BOOL CEvent::PulseEvent() {
    return ::PulseEvent(m_hObject);
}

BOOL CEvent::Lock(DWORD dwTimeout) {
    return WaitForSingleObject(m_hObject, dwTimeout) == WAIT_OBJECT_0 ? TRUE : FALSE;
}
