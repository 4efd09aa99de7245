#include "sim/gallery/QGalleryApp.h"

#include "app/ForwardKeypad.h"
#include "keypad/Keypad.h"
#include "sim/gallery/QGalleryFrame.h"

QGalleryApp::QGalleryApp() : CWinApp(L"Gallery") {}

BOOL QGalleryApp::InitInstance() {
    auto* frame = new QGalleryFrame;
    if (!frame->LoadFrame(0, WS_POPUP)) {
        // A frame that failed to be created has deleted itself.
        return FALSE;
    }
    m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    return TRUE;
}

UINT QGalleryApp::MenuKey(WPARAM key) {
    switch (key) {
    case KEY_UP:
        return VK_UP;
    case KEY_DOWN:
        return VK_DOWN;
    case KEY_LEFT:
        return VK_LEFT;
    case KEY_RIGHT:
        return VK_RIGHT;
    case KEY_ENTER:
        return VK_RETURN;
    case KEY_SELECT:
    case KEY_ABOUT:
        return VK_ESCAPE;
    default:
        return 0;
    }
}

BOOL QGalleryApp::PreTranslateMessage(MSG* msg) {
    if (m_bMenuTracking && msg->message == WM_KEYPAD && !msg->hwnd) {
        // The menu loop reads the keyboard from the thread's queue, whichever window it names.
        if (const UINT vk = MenuKey(msg->wParam)) {
            const HWND focus = ::GetFocus();
            if (focus)
                ::PostMessage(focus, WM_KEYDOWN, vk, 0);
            else
                ::PostThreadMessage(m_nThreadID, WM_KEYDOWN, vk, 0);
        }
        return TRUE;
    }
    ForwardKeypadMessage(msg);
    return CWinApp::PreTranslateMessage(msg);
}
