#include "platform/user/CPaintDC.h"

#include "platform/user/CWnd.h"

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) {
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC() {
    if (Detach())
        ::EndPaint(m_hWnd, &m_ps);
}
