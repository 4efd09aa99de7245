#include "app/QCaldroApp.h"

#include "app/ForwardKeypad.h"
#include "app/QCaldroAppDoc.h"
#include "app/QMainFrame.h"
#include "launcher/QCaldroAppView.h"
#include "platform/user/CSingleDocTemplate.h"
#include "platform/user/CWnd.h"
#include "res/resource.h"

BOOL QCaldroApp::InitInstance() {
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RuntimeClass<QCaldroAppDoc>(),
                                          RuntimeClass<QMainFrame>(),
                                          RuntimeClass<QCaldroAppView>()));
    CCommandLineInfo commandLine;
    ParseCommandLine(commandLine);
    if (!ProcessShellCommand(commandLine))
        return FALSE;
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}

BOOL QCaldroApp::PreTranslateMessage(MSG* msg) {
    ForwardKeypadMessage(msg);
    return CWinApp::PreTranslateMessage(msg);
}
