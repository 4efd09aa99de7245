#include "platform/user/CWinApp.h"

#include <atomic>

#include "platform/kernel/CommandLine.h"
#include "platform/kernel/KernelThreads.h"
#include "platform/kernel/Resources.h"
#include "platform/user/CDocTemplate.h"
#include "platform/user/CWnd.h"

namespace {

CWinApp* g_app = nullptr;
std::atomic<DWORD> g_uiThreadId{0};

// The framework's string of the application's title, when the program has one.
constexpr UINT AFX_IDS_APP_TITLE = 0xE000;

std::wstring DefaultAppName() {
    if (auto title = FindStringResource(AfxGetResourceHandle(), AFX_IDS_APP_TITLE))
        return std::wstring(*title);
    wchar_t path[260] = {};
    if (!GetModuleFileName(nullptr, path, 260))
        return L"";
    std::wstring name(path);
    name = name.substr(name.find_last_of(L"\\/") + 1);
    return name.substr(0, name.find_last_of(L'.'));
}

} // namespace

CWinApp::CWinApp(LPCTSTR appName) {
    if (!g_app)
        g_app = this;
    if (appName) {
        m_appName = appName;
        m_pszAppName = m_appName.c_str();
    }
}

CWinApp::~CWinApp() {
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::Run() {
    while (::GetMessage(&m_msgCur, nullptr, 0, 0)) {
        if (!PreTranslateMessage(&m_msgCur)) {
            ::TranslateMessage(&m_msgCur);
            ::DispatchMessage(&m_msgCur);
        }
    }
    return ExitInstance();
}

BOOL CWinApp::PreTranslateMessage(MSG* msg) {
    if (!msg || !msg->hwnd)
        return FALSE;
    for (HWND hwnd = msg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
        if (CWnd* wnd = CWnd::FromHandlePermanent(hwnd); wnd && wnd->PreTranslateMessage(msg))
            return TRUE;
        if (!(::GetWindowLong(hwnd, GWL_STYLE) & WS_CHILD))
            break;
    }
    return FALSE;
}

int CWinApp::ExitInstance() {
    return int(m_msgCur.wParam);
}

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate) {
    if (docTemplate)
        m_templates.emplace_back(docTemplate);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
    const auto args = CommandLine::Split(m_lpCmdLine ? m_lpCmdLine : L"");
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        const bool flag = !arg.empty() && (arg[0] == L'-' || arg[0] == L'/');
        info.ParseParam(flag ? arg.c_str() + 1 : arg.c_str(), flag ? TRUE : FALSE,
                        i + 1 == args.size() ? TRUE : FALSE);
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info) {
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        return m_pMainWnd ? TRUE : FALSE;
    case CCommandLineInfo::FileNothing:
        return TRUE;
    default:
        return FALSE; // the device's programs open no document files
    }
}

void CWinApp::OnFileNew() {
    if (!m_templates.empty())
        m_templates.front()->OpenDocumentFile(nullptr);
}

CWinApp* AfxGetApp() {
    return g_app;
}

CWnd* AfxGetMainWnd() {
    return g_app ? g_app->m_pMainWnd : nullptr;
}

LPCTSTR AfxGetAppName() {
    if (!g_app)
        return nullptr;
    if (!g_app->m_pszAppName) {
        g_app->m_appName = DefaultAppName();
        g_app->m_pszAppName = g_app->m_appName.c_str();
    }
    return g_app->m_pszAppName;
}

DWORD AfxGetAppThreadId() {
    return g_uiThreadId.load();
}

int AfxWinMain() {
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->m_nThreadID = GetCurrentThreadId();
    app->m_msgCur = MSG{};
    // The calling thread gets its message queue now, so that other threads can post to it.
    MSG msg;
    ::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE);
    g_uiThreadId = app->m_nThreadID;
    AfxGetAppName();

    int code = 0;
    if (!app->InitInstance()) {
        if (app->m_pMainWnd)
            app->m_pMainWnd->DestroyWindow();
        code = app->ExitInstance();
    } else {
        code = app->Run();
    }
    // A loop ended by a WM_QUIT of its own leaves the main window behind: it is closed here, on
    // its thread, so that what its views hold is released in order.
    if (CWnd* main = app->m_pMainWnd) {
        app->m_pMainWnd = nullptr;
        main->DestroyWindow();
    }
    g_uiThreadId = 0;
    return code;
}
