// The application shell: the keypad's routing through the application object's
// pre-translation, the main frame named "AppFrame" that its view fills, the document, and a
// start that fails without the launcher's form.
#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/QCaldroApp.h"
#include "app/QCaldroAppDoc.h"
#include "app/QMainFrame.h"
#include "keypad/Keypad.h"
#include "launcher/QCaldroAppView.h"
#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/EventLog.h"
#include "platform/kernel/KernelThreads.h"
#include "platform/user/Afx.h"

namespace {

constexpr int kList = 1001;
constexpr int kClock = 1002;

struct Received {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    friend bool operator==(const Received&, const Received&) = default;
};
std::mutex g_receivedLock;
std::vector<Received> g_received;

// A control that notes every keypad key and application message it gets.
LRESULT KeyProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_USER) {
        std::lock_guard lock(g_receivedLock);
        g_received.push_back(Received{hwnd, message, wParam, lParam});
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

std::vector<Received> ReceivedMessages() {
    std::lock_guard lock(g_receivedLock);
    return g_received;
}

constexpr DialogItemTemplate kFormItems[] = {
    {L"KeyProbe", L"", 0, kList, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 10, 30, 127, 140},
};
constexpr DialogTemplate kForms[] = {
    {{301, {}}, false, WS_CHILD | DS_SETFONT, 0, 0, 0, 137, 183, L"", 10, L"System", kFormItems},
};
const ResourceModuleData kFixtureModule{{}, kForms, {}};

// A form on the fixture's template, standing in for the launcher view in the frame tests.
class FixtureView : public CFormView {
public:
    static constexpr const char* kRuntimeClassName = "FixtureView";
    FixtureView() : CFormView(301) {}
};
// A form whose template does not exist: its creation fails.
class MissingView : public CFormView {
public:
    static constexpr const char* kRuntimeClassName = "MissingView";
    MissingView() : CFormView(399) {}
};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeviceClock::Instance().SetManual();
        WNDCLASS wc;
        wc.lpfnWndProc = KeyProbeProc;
        wc.lpszClassName = L"KeyProbe";
        RegisterClass(&wc); // once per process; later tests find it registered
        HINSTANCE module = RegisterResourceModule(L"\\Windows\\ShellTest.dll", kFixtureModule);
        ASSERT_NE(module, nullptr);
        AfxSetResourceHandle(module);
        std::lock_guard lock(g_receivedLock);
        g_received.clear();
    }
    void TearDown() override {
        for (HWND w : m_windows)
            DestroyWindow(w);
        MSG msg;
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessage(&msg);
        DeviceClock::Instance().SetScaled(1.0);
    }

    // A top-level window with two key probes.
    void MakeControls() {
        HWND top = CreateWindowEx(0, L"KeyProbe", L"", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                                  nullptr, nullptr);
        m_windows.push_back(top);
        m_list = CreateWindowEx(0, L"KeyProbe", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top,
                                reinterpret_cast<HMENU>(std::intptr_t(kList)), nullptr, nullptr);
        m_clock = CreateWindowEx(0, L"KeyProbe", L"", WS_CHILD | WS_VISIBLE, 20, 0, 10, 10, top,
                                 reinterpret_cast<HMENU>(std::intptr_t(kClock)), nullptr, nullptr);
        Pump();
    }
    // The main loop's body until the queue is empty: pre-translation, then dispatch.
    void Pump() {
        MSG msg;
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message != WM_QUIT && !m_app.PreTranslateMessage(&msg))
                DispatchMessage(&msg);
    }
    void PostKey(WPARAM key, LPARAM repeat) {
        PostThreadMessage(GetCurrentThreadId(), WM_KEYPAD, key, repeat);
    }

    QCaldroApp m_app;
    std::vector<HWND> m_windows;
    HWND m_list = nullptr;
    HWND m_clock = nullptr;
};

TEST_F(ShellTest, AKeypadThreadMessageReachesTheFocusedControlOnceUnchanged) {
    ASSERT_EQ(AfxGetApp(), &m_app);
    MakeControls();
    SetFocus(m_list);
    PostKey(KEY_RIGHT, 3);
    Pump();
    EXPECT_EQ(ReceivedMessages(), (std::vector<Received>{{m_list, WM_KEYPAD, KEY_RIGHT, 3}}));

    const auto log = EventLog::Instance().Since();
    auto last = std::find_if(log.rbegin(), log.rend(),
                             [](const auto& e) { return e.kind == "keypad.delivered"; });
    ASSERT_NE(last, log.rend());
    EXPECT_EQ(last->fields["hwnd"], reinterpret_cast<std::uintptr_t>(m_list));
    EXPECT_EQ(last->fields["class"], "KeyProbe");
    EXPECT_EQ(last->fields["id"], kList);
    EXPECT_EQ(last->fields["key"], KEY_RIGHT);
    EXPECT_EQ(last->fields["repeat"], 3);
}

TEST_F(ShellTest, AKeyWithNoFocusIsDroppedAndTheNextOneIsDelivered) {
    MakeControls();
    SetFocus(nullptr);
    ASSERT_EQ(GetFocus(), nullptr);
    PostKey(KEY_DOWN, 1);
    Pump();
    EXPECT_TRUE(ReceivedMessages().empty());
    SetFocus(m_clock);
    PostKey(KEY_ENTER, 1);
    Pump();
    EXPECT_EQ(ReceivedMessages(), (std::vector<Received>{{m_clock, WM_KEYPAD, KEY_ENTER, 1}}));
}

TEST_F(ShellTest, AKeyAddressedToAWindowAndOtherMessagesPassUntouched) {
    MakeControls();
    SetFocus(m_list);
    PostMessage(m_clock, WM_KEYPAD, KEY_ABOUT, 2);
    PostThreadMessage(GetCurrentThreadId(), WM_USER + 50, 1, 2);
    PostMessage(m_list, WM_USER + 51, 3, 4);
    Pump();
    EXPECT_EQ(ReceivedMessages(), (std::vector<Received>{{m_clock, WM_KEYPAD, KEY_ABOUT, 2},
                                                         {m_list, WM_USER + 51, 3, 4}}));
    MSG message{nullptr, WM_USER + 50, 1, 2, 0, {}};
    EXPECT_FALSE(m_app.PreTranslateMessage(&message));
    MSG queued;
    EXPECT_FALSE(PeekMessage(&queued, nullptr, 0, 0, PM_NOREMOVE)) << "nothing was posted";
}

TEST_F(ShellTest, TheMainFrameIsNamedAppFrameAndItsViewFillsTheScreen) {
    EXPECT_STREQ(RuntimeClass<QMainFrame>()->m_lpszClassName, "QMainFrame");
    CCreateContext context;
    context.m_pNewViewClass = RuntimeClass<FixtureView>();
    auto* frame = dynamic_cast<QMainFrame*>(RuntimeClass<QMainFrame>()->CreateObject());
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(frame->LoadFrame(128, WS_OVERLAPPED, nullptr, &context));
    const HWND hwnd = frame->m_hWnd;
    m_windows.push_back(hwnd);
    EXPECT_EQ(FindWindow(nullptr, L"AppFrame"), hwnd);
    HWND view = GetDlgItem(hwnd, int(AFX_IDW_PANE_FIRST));
    ASSERT_NE(view, nullptr);
    for (HWND w : {hwnd, view}) {
        RECT r;
        GetWindowRect(w, &r);
        EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}),
                  (std::vector<LONG>{0, 0, 240, 320}));
    }
}

TEST_F(ShellTest, AFrameWhoseViewCannotBeMadeIsNotMade) {
    CCreateContext context;
    context.m_pNewViewClass = RuntimeClass<MissingView>();
    auto* frame = dynamic_cast<QMainFrame*>(RuntimeClass<QMainFrame>()->CreateObject());
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(frame->LoadFrame(128, WS_OVERLAPPED, nullptr, &context)); // deletes itself
    EXPECT_EQ(FindWindow(nullptr, L"AppFrame"), nullptr);
}

TEST_F(ShellTest, TheDocumentIsCreatableByNameAndStartsUnmodified) {
    CRuntimeClass* docClass = RuntimeClass<QCaldroAppDoc>();
    EXPECT_STREQ(docClass->m_lpszClassName, "QCaldroAppDoc");
    std::unique_ptr<CObject> object(docClass->CreateObject());
    auto* doc = dynamic_cast<QCaldroAppDoc*>(object.get());
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag(TRUE);
    EXPECT_TRUE(doc->OnNewDocument());
    EXPECT_FALSE(doc->IsModified());
}

// The launcher's resources are not registered here, so the view's form 101 is missing.
TEST_F(ShellTest, WithoutItsViewTheStartShowsNoWindowAndTheProgramEnds) {
    EXPECT_STREQ(RuntimeClass<QCaldroAppView>()->m_lpszClassName, "QCaldroAppView");
    EXPECT_EQ(AfxWinMain(), 0);
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    EXPECT_EQ(FindWindow(nullptr, L"AppFrame"), nullptr);
    EXPECT_EQ(AfxGetAppThreadId(), 0u);
}

} // namespace
