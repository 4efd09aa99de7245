// A view built from a dialog template: a child form holding the template's controls.
#pragma once

#include "platform/user/CView.h"

class CFormView : public CView {
public:
    explicit CFormView(UINT idTemplate);

    // Creates the form from its template with the requested style's border bits and id, at
    // rect. PreCreateWindow sees the requested style first and may change it.
    BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT id, CCreateContext* context = nullptr) override;
    // Moves the members into the controls (UpdateData(FALSE), which runs DoDataExchange),
    // then the view's own initial update.
    void OnInitialUpdate() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    UINT m_nIDTemplate;

private:
    CCreateContext* m_pCreateContext = nullptr;
};
