#include "platform/user/CView.h"

#include "platform/user/CCreateContext.h"
#include "platform/user/CDocument.h"
#include "platform/user/CFrameWnd.h"
#include "platform/user/CPaintDC.h"

CView::~CView() {
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

CFrameWnd* CView::GetParentFrame() const {
    for (HWND hwnd = ::GetParent(m_hWnd); hwnd; hwnd = ::GetParent(hwnd))
        if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(hwnd)))
            return frame;
    return nullptr;
}

void CView::OnInitialUpdate() {
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView*, LPARAM, CObject*) {
    Invalidate(TRUE);
}

void CView::OnDraw(CDC*) {}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass)
        cs.lpszClass = AfxFrameOrViewClassName();
    return TRUE;
}

LRESULT CView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));
    case WM_INITIALUPDATE:
        OnInitialUpdate();
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_DESTROY:
        if (CFrameWnd* frame = GetParentFrame(); frame && frame->GetActiveView() == this)
            frame->SetActiveView(nullptr, FALSE);
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CView::PostNcDestroy() {
    delete this;
}

int CView::OnCreate(LPCREATESTRUCT cs) {
    if (Default() == -1)
        return -1;
    auto* context = cs ? static_cast<CCreateContext*>(cs->lpCreateParams) : nullptr;
    if (context && context->m_pCurrentDoc)
        context->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnPaint() {
    CPaintDC dc(this);
    OnDraw(&dc);
}
