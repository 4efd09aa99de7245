// The application object: one per program, reached through AfxGetApp(). It runs on the UI
// thread: InitInstance builds the main window, Run is the message loop, and every message is
// pre-translated before it is dispatched, in the main loop and in every modal loop.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/kernel/CWinThread.h"
#include "platform/user/CCommandLineInfo.h"
#include "platform/user/WinUser.h"

class CDocTemplate;
class CWnd;

class CWinApp : public CWinThread {
public:
    // The object made first becomes the application (AfxGetApp). A null name means the
    // platform's default: the executable's file name without its extension.
    explicit CWinApp(LPCTSTR appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    // The message loop; returns ExitInstance's result once WM_QUIT arrives.
    virtual int Run();
    // TRUE when the message has been handled and must not be dispatched. The standard
    // processing offers a window message to the framework windows from its target up to the
    // target's top-level window; a thread message has no handler here.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // The exit code: WM_QUIT's wParam.
    virtual int ExitInstance();

    // The application owns its templates.
    void AddDocTemplate(CDocTemplate* docTemplate);
    // Fills info from the program's command line (m_lpCmdLine).
    void ParseCommandLine(CCommandLineInfo& info);
    // FileNew opens a new document with the first template. FALSE when that leaves the
    // application without a main window.
    BOOL ProcessShellCommand(CCommandLineInfo& info);
    void OnFileNew();

    CWnd* m_pMainWnd = nullptr;
    LPCTSTR m_pszAppName = nullptr;
    LPCTSTR m_lpCmdLine = L"";
    MSG m_msgCur;

private:
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    std::wstring m_appName;

    friend LPCTSTR AfxGetAppName();
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
LPCTSTR AfxGetAppName();
// The UI thread's id once AfxWinMain runs (0 before): other threads post to it.
DWORD AfxGetAppThreadId();
