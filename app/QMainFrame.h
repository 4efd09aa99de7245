// The launcher's main frame: the screen-filling top-level window named "AppFrame" that holds
// the launcher view.
#pragma once

#include "platform/user/CFrameWnd.h"

class QMainFrame : public CFrameWnd {
public:
    static constexpr const char* kRuntimeClassName = "QMainFrame";

    // Names the window "AppFrame"; the framework's default class is kept.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // The framework's frame creation (which makes the view): -1 when it failed, else 0.
    int OnCreate(LPCREATESTRUCT cs);
};
