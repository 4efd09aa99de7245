// The framework's frame window: a top-level window that fills the screen and holds the view.
#pragma once

#include "platform/user/CWnd.h"

class CDocument;
class CView;

class CFrameWnd : public CWnd {
public:
    static constexpr const char* kRuntimeClassName = "CFrameWnd";

    // Creates the frame as a top-level window over the whole screen; with a context, the frame
    // makes its view while it is created. The title is string idResource, when there is one.
    virtual BOOL LoadFrame(UINT idResource, DWORD style = WS_OVERLAPPED, CWnd* parent = nullptr,
                           CCreateContext* context = nullptr);
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Frames are made with new and delete themselves when their window is gone.
    void PostNcDestroy() override;

    // The view of the first pane, made from the context's view class; NULL on failure.
    CWnd* CreateView(CCreateContext* context, UINT id = AFX_IDW_PANE_FIRST);
    // The view fills the client area.
    virtual void RecalcLayout(BOOL notify = TRUE);
    // Shows the frame (nCmdShow -1: SW_SHOW).
    virtual void ActivateFrame(int nCmdShow = -1);
    // Sends WM_INITIALUPDATE to every descendant, then shows the frame (with makeVisible).
    void InitialUpdateFrame(CDocument* doc, BOOL makeVisible);

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* view, BOOL notify = TRUE);
    virtual CDocument* GetActiveDocument();

protected:
    int OnCreate(LPCREATESTRUCT cs);
    virtual BOOL OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context);
    // Closes the document, or the frame without one. While a modal dialog has the frame
    // disabled, the dialog is asked to close first and the frame's close comes after it.
    void OnClose();

    CView* m_pViewActive = nullptr;
};
