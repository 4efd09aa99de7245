#include "platform/user/CFrameWnd.h"

#include "platform/kernel/Resources.h"
#include "platform/user/CCreateContext.h"
#include "platform/user/CDocument.h"
#include "platform/user/CRuntimeClass.h"
#include "platform/user/CView.h"

BOOL CFrameWnd::LoadFrame(UINT idResource, DWORD style, CWnd* parent, CCreateContext* context) {
    std::wstring title;
    if (auto text = FindStringResource(AfxGetResourceHandle(), idResource))
        title = *text;
    return CreateEx(0, nullptr, title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, parent ? parent->m_hWnd : nullptr, nullptr, context);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass)
        cs.lpszClass = AfxFrameOrViewClassName();
    return TRUE;
}

LRESULT CFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));
    case WM_SIZE:
        RecalcLayout();
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_SETFOCUS:
        // The frame passes the focus on to its view.
        if (m_pViewActive && m_pViewActive->m_hWnd)
            m_pViewActive->SetFocus();
        return 0;
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

void CFrameWnd::PostNcDestroy() {
    delete this;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT cs) {
    auto* context = cs ? static_cast<CCreateContext*>(cs->lpCreateParams) : nullptr;
    return OnCreateClient(cs, context) ? 0 : -1;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* context) {
    if (context && context->m_pNewViewClass)
        return CreateView(context) ? TRUE : FALSE;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* context, UINT id) {
    CObject* object = context->m_pNewViewClass->CreateObject();
    auto* view = dynamic_cast<CWnd*>(object);
    if (!view) {
        delete object;
        return nullptr;
    }
    // A view that fails to be created has deleted itself.
    if (!view->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, id, context))
        return nullptr;
    RecalcLayout();
    return view;
}

void CFrameWnd::RecalcLayout(BOOL) {
    HWND pane = ::GetDlgItem(m_hWnd, int(AFX_IDW_PANE_FIRST));
    if (!pane)
        return;
    RECT client;
    GetClientRect(&client);
    ::MoveWindow(pane, 0, 0, client.right, client.bottom, TRUE);
}

void CFrameWnd::ActivateFrame(int nCmdShow) {
    ShowWindow(nCmdShow == -1 ? SW_SHOW : nCmdShow);
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL makeVisible) {
    if (!m_pViewActive)
        if (auto* view = dynamic_cast<CView*>(
                CWnd::FromHandlePermanent(::GetDlgItem(m_hWnd, int(AFX_IDW_PANE_FIRST)))))
            SetActiveView(view, FALSE);
    if (makeVisible) {
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE);
        ActivateFrame();
    }
}

void CFrameWnd::SetActiveView(CView* view, BOOL) {
    m_pViewActive = view;
}

CDocument* CFrameWnd::GetActiveDocument() {
    return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

void CFrameWnd::OnClose() {
    if (!::IsWindowEnabled(m_hWnd)) {
        // A modal dialog runs over the frame, in a loop further up this thread's stack (inside
        // a handler of the frame's view, perhaps). Destroying the frame now would delete the
        // view under that handler: the dialogs the frame owns are asked to close, and the frame
        // closes once their loop has returned and enabled it again.
        for (HWND w = ::GetWindow(m_hWnd, GW_HWNDFIRST); w; w = ::GetWindow(w, GW_HWNDNEXT))
            if (w != m_hWnd && ::GetWindow(w, GW_OWNER) == m_hWnd)
                ::PostMessage(w, WM_CLOSE, 0, 0);
        ::PostMessage(m_hWnd, WM_CLOSE, 0, 0);
        return;
    }
    if (CDocument* doc = GetActiveDocument())
        doc->OnCloseDocument(); // closes this frame with the document
    else
        DestroyWindow();
}
