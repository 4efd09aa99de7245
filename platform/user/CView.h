// The framework's view: the child window of a frame that shows a document.
#pragma once

#include "platform/user/CWnd.h"

class CDocument;
class CFrameWnd;

class CView : public CWnd {
public:
    // Leaves its document.
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    CFrameWnd* GetParentFrame() const;

    // Called once, after the frame and document are made, before the frame is shown. The
    // default repaints the view.
    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject);
    virtual void OnDraw(CDC* dc);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Views are made with new and delete themselves when their window is gone.
    void PostNcDestroy() override;

    CDocument* m_pDocument = nullptr;

protected:
    // Joins the document of the creation context.
    int OnCreate(LPCREATESTRUCT cs);
    void OnPaint();
};
