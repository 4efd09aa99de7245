// The launcher's application object: builds the document, the main frame and the launcher
// view at start, and routes the keypad's messages to the focused window.
#pragma once

#include "platform/user/CWinApp.h"

class QCaldroApp : public CWinApp {
public:
    // The single-document template (resource 128: document, frame, view), the command line's
    // shell command, then the main window shown and painted. FALSE when the frame or the view
    // could not be made.
    BOOL InitInstance() override;
    // ForwardKeypadMessage, then the standard pre-translation, whose result is returned.
    BOOL PreTranslateMessage(MSG* msg) override;
};

// The one application object of the launcher's program.
extern QCaldroApp theApp;
