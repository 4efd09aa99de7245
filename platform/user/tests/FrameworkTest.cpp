// The framework over the window manager: dialogs from templates in dialog units, data
// exchange that subclasses controls, reflection of notifications to the controls, the modal
// loop's pre-translation, and the window object's life.
#include "WindowFixture.h"

#include <nlohmann/json.hpp>

#include <thread>

#include "platform/gdi/Framebuffer.h"
#include "platform/kernel/KernelThreads.h"
#include "platform/kernel/KernelTime.h"
#include "platform/user/Afx.h"
#include "platform/user/DialogManager.h"
#include "platform/user/WindowTree.h"

namespace {

constexpr UINT kFinish = WM_USER + 5;
constexpr int kLabel = 300;
constexpr int kDrawn = 301;
constexpr int kFormLabel = 302;

constexpr DialogItemTemplate kDialogItems[] = {
    {L"Button", L"OK", 0, IDOK, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 10, 40, 30,
     14},
    {L"Static", L"Label", 0, kLabel, WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 5, 5, 60, 10},
    {L"Button", L"Drawn", 0, kDrawn, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 0, 50, 40,
     30, 14},
};
constexpr DialogItemTemplate kFormItems[] = {
    {L"Static", L"Caption", 0, kFormLabel, WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 10, 30, 127, 140},
};
constexpr DialogTemplate kDialogs[] = {
    {{200, {}},
     false,
     WS_POPUP | DS_MODALFRAME | DS_SETFONT,
     0,
     20,
     20,
     100,
     60,
     L"",
     10,
     L"System",
     kDialogItems},
    {{201, {}}, false, WS_CHILD | DS_SETFONT, 0, 0, 0, 137, 183, L"", 10, L"System", kFormItems},
};
const ResourceModuleData kModule{{}, kDialogs, {}};

class FrameworkTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        m_module = RegisterResourceModule(L"\\Windows\\FrameworkTest.dll", kModule);
        ASSERT_NE(m_module, nullptr);
        AfxSetResourceHandle(m_module);
    }
    HINSTANCE m_module = nullptr;
};

class RecordingApp : public CWinApp {
public:
    BOOL PreTranslateMessage(MSG* msg) override {
        seen.push_back(*msg);
        return CWinApp::PreTranslateMessage(msg);
    }
    std::vector<MSG> seen;
};

class ReflectingButton : public CButton {
public:
    BOOL ReflectedCommand(UINT code) override {
        reflected.push_back(code);
        return consume;
    }
    BOOL ReflectedNotify(NMHDR* header, LRESULT* result) override {
        notes.push_back(header->code);
        *result = 7;
        return consume;
    }
    void DrawItem(LPDRAWITEMSTRUCT item) override { drawn.push_back(*item); }
    void PreSubclassWindow() override { ++subclassed; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_USER + 9)
            return 99;
        return CButton::WindowProc(message, wParam, lParam);
    }

    bool consume = false;
    int subclassed = 0;
    std::vector<UINT> reflected;
    std::vector<UINT> notes;
    std::vector<DRAWITEMSTRUCT> drawn;
};

class ColouredLabel : public CStatic {
public:
    HBRUSH CtlColor(CDC* dc, UINT nCtlColor) override {
        kind = nCtlColor;
        dc->SetBkColor(RGB(0, 0, 255));
        return m_brush;
    }
    UINT kind = 99;

private:
    HBRUSH m_brush = CreateSolidBrush(RGB(0, 0, 255));
};

class ProbeDialog : public CDialog {
public:
    explicit ProbeDialog(CWnd* parent) : CDialog(200, parent) {}

    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, kLabel, m_label);
        DDX_Control(dx, kDrawn, m_drawn);
        DDX_Text(dx, kLabel, m_text);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (m_closeOnInit)
            ::PostMessage(m_closeOnInit, WM_CLOSE, 0, 0);
        if (m_finishWith)
            PostMessage(kFinish);
        else if (m_clickOk) {
            ::SetDlgItemText(m_hWnd, kLabel, L"Changed in the dialog");
            ::PostMessage(::GetDlgItem(m_hWnd, IDOK), BM_CLICK, 0, 0);
        }
        return TRUE;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kFinish) {
            ownerEnabledMeanwhile = ::IsWindowEnabled(::GetParent(m_hWnd));
            EndDialog(m_finishWith);
            return 0;
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }
    BOOL OnCmdMsg(UINT id, int code) override {
        commands.emplace_back(id, code);
        return CDialog::OnCmdMsg(id, code);
    }
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        if (CDialog::OnNotify(wParam, lParam, result))
            return TRUE;
        notesSeen.push_back(reinterpret_cast<NMHDR*>(lParam)->code);
        *result = 3;
        return TRUE;
    }

    ColouredLabel m_label;
    ReflectingButton m_drawn;
    CString m_text;
    int m_finishWith = 0;
    bool m_clickOk = false;
    HWND m_closeOnInit = nullptr; // a window to post WM_CLOSE to as the dialog opens
    BOOL ownerEnabledMeanwhile = TRUE;
    std::vector<std::pair<UINT, int>> commands;
    std::vector<UINT> notesSeen;
};

TEST_F(FrameworkTest, DialogUnitsAreSevenByFourteenSoTheLauncherFormFillsTheScreen) {
    HWND top = MakeTopLevel({0, 0, 240, 320});
    const DialogTemplate* form = FindDialogTemplate(m_module, MAKEINTRESOURCE(201));
    ASSERT_NE(form, nullptr);
    HWND hwnd = CreateDialogFromTemplate(m_module, *form, top, 0);
    ASSERT_NE(hwnd, nullptr);
    RECT r;
    GetWindowRect(hwnd, &r);
    EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}),
              (std::vector<LONG>{0, 0, 240, 320}));
    GetWindowRect(GetDlgItem(hwnd, kFormLabel), &r); // 10, 30, 127 x 140 units
    EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}),
              (std::vector<LONG>{18, 53, 240, 298}));
    EXPECT_EQ(GetDialogBaseUnits(), MAKELONG(7, 14));
}

// DS_MODALFRAME: the template's size is the client area's and the frame of the platform's
// window border style comes round it, two pixels a side: a raised outer line (light grey top and
// left, black bottom and right) and a raised inner line (white; grey). A window resized later
// keeps the size it is given, and its client area is what the frame leaves.
TEST_F(FrameworkTest, AModalFrameIsARaisedDoubleBorderAroundTheTemplatesClientArea) {
    constexpr std::uint32_t kLight = 0xC0C0C0, kWhite = 0xFFFFFF, kGrey = 0x808080, kBlack = 0;
    EXPECT_EQ(GetSystemMetrics(SM_CXDLGFRAME), 2);
    EXPECT_EQ(GetSystemMetrics(SM_CYDLGFRAME), 2);
    HWND top = MakeTopLevel({0, 0, 240, 320});
    const DialogTemplate* tmpl = FindDialogTemplate(m_module, MAKEINTRESOURCE(200));
    ASSERT_NE(tmpl, nullptr);
    HWND hwnd = CreateDialogFromTemplate(m_module, *tmpl, top, 0);
    ASSERT_NE(hwnd, nullptr);
    m_windows.push_back(hwnd);
    EXPECT_NE(GetWindowLong(hwnd, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, 0);
    auto rectOf = [](const RECT& r) { return std::vector<LONG>{r.left, r.top, r.right, r.bottom}; };
    RECT r;
    GetWindowRect(hwnd, &r); // at 20, 20 units; 100 x 60 units of client area
    EXPECT_EQ(rectOf(r), (std::vector<LONG>{35, 35, 35 + 175 + 4, 35 + 105 + 4}));
    GetClientRect(hwnd, &r);
    EXPECT_EQ(rectOf(r), (std::vector<LONG>{0, 0, 175, 105}));
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    EXPECT_EQ(origin.x, 37);
    EXPECT_EQ(origin.y, 37);

    SetWindowPos(hwnd, nullptr, 0, 0, 130, 81, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(hwnd, &r);
    EXPECT_EQ(rectOf(r), (std::vector<LONG>{0, 0, 126, 77}));
    Framebuffer::Instance().Clear(0xFF0000);
    ShowWindow(hwnd, SW_SHOW); // the frame is drawn at once
    auto at = [](int x, int y) { return Framebuffer::Instance().Pixel(x, y); };
    const int right = 35 + 130 - 1, bottom = 35 + 81 - 1;
    EXPECT_EQ(at(35, 60), kLight);
    EXPECT_EQ(at(80, 35), kLight);
    EXPECT_EQ(at(36, 60), kWhite);
    EXPECT_EQ(at(80, 36), kWhite);
    EXPECT_EQ(at(right, 60), kBlack);
    EXPECT_EQ(at(80, bottom), kBlack);
    EXPECT_EQ(at(right - 1, 60), kGrey);
    EXPECT_EQ(at(80, bottom - 1), kGrey);
    EXPECT_EQ(at(right + 1, 60), 0xFF0000u) << "nothing beyond the window";
    EXPECT_EQ(at(37, 60), 0xFF0000u) << "the client area waits for its paint";
}

TEST_F(FrameworkTest, ADialogWithAControlItCannotMakeIsNotMade) {
    static constexpr DialogItemTemplate items[] = {
        {L"NoSuchControl", L"", 0, 5, WS_CHILD | WS_VISIBLE, 0, 0, 0, 10, 10}};
    static constexpr DialogTemplate broken{{202, {}}, false, WS_POPUP, 0, 0,   0,
                                           50,        50,    L"",      0, L"", items};
    const auto before = DescribeWindowTree().size();
    EXPECT_EQ(CreateDialogFromTemplate(m_module, broken, nullptr, 0), nullptr);
    EXPECT_EQ(DescribeWindowTree().size(), before);
}

TEST_F(FrameworkTest, TheModalLoopPreTranslatesThroughTheApplicationAndDisablesTheOwner) {
    RecordingApp app;
    ASSERT_EQ(AfxGetApp(), &app);
    HWND owner = MakeTopLevel({0, 0, 240, 320});
    HWND control = MakeChild(owner, {0, 0, 10, 10}, 1);
    SetFocus(control);
    CWnd* ownerWnd = CWnd::FromHandle(owner);

    ProbeDialog dialog(ownerWnd);
    dialog.m_finishWith = 42;
    EXPECT_EQ(dialog.DoModal(), 42);

    bool finishSeen = false;
    for (const MSG& m : app.seen)
        finishSeen = finishSeen || m.message == kFinish;
    EXPECT_TRUE(finishSeen);
    EXPECT_FALSE(dialog.ownerEnabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(GetFocus(), control) << "the owner gets its focus back";
}

// A close request that reaches the frame while a modal dialog runs over it ends the dialog
// first; the frame, and the view that opened the dialog with it, go only once the dialog's loop
// has returned.
TEST_F(FrameworkTest, ClosingTheFrameDuringAModalDialogEndsTheDialogFirst) {
    auto* frame = new CFrameWnd; // deletes itself with its window
    ASSERT_TRUE(frame->LoadFrame(0, WS_POPUP | WS_VISIBLE));
    const HWND frameWindow = frame->m_hWnd;
    ProbeDialog dialog(frame);
    dialog.m_closeOnInit = frameWindow;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(IsWindow(frameWindow)) << "the frame outlives the dialog's loop";
    EXPECT_TRUE(IsWindowEnabled(frameWindow));
    PumpUntilIdle();
    EXPECT_FALSE(IsWindow(frameWindow)) << "and closes after it";
}

TEST_F(FrameworkTest, TheOkButtonEndsTheDialogWithIdOkAfterTakingTheControlsValues) {
    ProbeDialog dialog(nullptr);
    dialog.m_clickOk = true;
    dialog.m_text = L"Label set by the program";
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_text, L"Changed in the dialog");
    ASSERT_FALSE(dialog.commands.empty());
    EXPECT_EQ(dialog.commands.back(), (std::pair<UINT, int>{IDOK, int(BN_CLICKED)}));
}

TEST_F(FrameworkTest, DataExchangeSubclassesControlsAndReflectsTheirNotifications) {
    HWND owner = MakeTopLevel({0, 0, 240, 320});
    ProbeDialog dialog(CWnd::FromHandle(owner));
    ASSERT_TRUE(dialog.Create(200));
    dialog.ShowWindow(SW_SHOW);
    // Subclassed once, at the first exchange; a later exchange does not bind again.
    EXPECT_EQ(dialog.m_drawn.subclassed, 1);
    EXPECT_TRUE(dialog.UpdateData(FALSE));
    EXPECT_EQ(dialog.m_drawn.subclassed, 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(dialog.GetDlgItem(kDrawn)->m_hWnd), &dialog.m_drawn);
    EXPECT_EQ(::SendMessage(dialog.m_drawn.m_hWnd, WM_USER + 9, 0, 0), 99);

    // BN_CLICKED and WM_NOTIFY go to the control first; FALSE lets the dialog handle them too.
    for (bool consume : {false, true}) {
        dialog.m_drawn.consume = consume;
        dialog.m_drawn.reflected.clear();
        dialog.m_drawn.notes.clear();
        dialog.commands.clear();
        dialog.notesSeen.clear();
        dialog.m_drawn.SendMessage(BM_CLICK);
        EXPECT_EQ(dialog.m_drawn.reflected, std::vector<UINT>{BN_CLICKED});
        EXPECT_EQ(dialog.commands.size(), consume ? 0u : 1u) << "consume " << consume;

        NMHDR note{dialog.m_drawn.m_hWnd, UINT(kDrawn), NM_DBLCLK};
        const LRESULT result =
            dialog.SendMessage(WM_NOTIFY, WPARAM(kDrawn), reinterpret_cast<LPARAM>(&note));
        EXPECT_EQ(dialog.m_drawn.notes, std::vector<UINT>{NM_DBLCLK});
        EXPECT_EQ(dialog.notesSeen.size(), consume ? 0u : 1u) << "consume " << consume;
        EXPECT_EQ(result, consume ? 7 : 3);
    }

    // The parent's WM_DRAWITEM and WM_CTLCOLORSTATIC reach the controls themselves.
    dialog.m_drawn.SetFocus();
    dialog.m_drawn.drawn.clear();
    Framebuffer::Instance().Clear(0);
    PumpUntilIdle();
    ASSERT_FALSE(dialog.m_drawn.drawn.empty());
    const DRAWITEMSTRUCT& item = dialog.m_drawn.drawn.back();
    EXPECT_EQ(item.CtlID, UINT(kDrawn));
    EXPECT_EQ(item.CtlType, ODT_BUTTON);
    EXPECT_NE(item.itemState & ODS_FOCUS, 0u);
    EXPECT_EQ(dialog.m_label.kind, CTLCOLOR_STATIC);
    RECT label;
    dialog.m_label.GetWindowRect(&label);
    EXPECT_EQ(Framebuffer::Instance().Pixel(label.right - 1, label.bottom - 1), 0x0000FFu);
    dialog.DestroyWindow();
}

class LifeProbe : public CWnd {
public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override {
        cs.lpszName = L"renamed";
        return allowCreate && CWnd::PreCreateWindow(cs);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CREATE)
            createParam = reinterpret_cast<LPCREATESTRUCT>(lParam)->lpCreateParams;
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override { ++postNcDestroys; }

    bool allowCreate = true;
    void* createParam = nullptr;
    int postNcDestroys = 0;
};

TEST_F(FrameworkTest, AWindowObjectIsBoundFromCreationToItsLastMessage) {
    LifeProbe refused;
    refused.allowCreate = false;
    EXPECT_FALSE(refused.CreateEx(0, nullptr, L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(refused.postNcDestroys, 1);
    EXPECT_EQ(refused.m_hWnd, nullptr);

    LifeProbe probe;
    int token = 0;
    ASSERT_TRUE(probe.CreateEx(0, nullptr, L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, &token));
    const HWND hwnd = probe.m_hWnd;
    EXPECT_EQ(probe.createParam, &token);
    CString text;
    probe.GetWindowText(text);
    EXPECT_EQ(text, L"renamed");
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), &probe);
    ASSERT_TRUE(probe.DestroyWindow());
    EXPECT_EQ(probe.postNcDestroys, 1);
    EXPECT_EQ(probe.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
}

// A single-document program of the framework's own classes, run by AfxWinMain.
struct Lives {
    int docs = 0;
    int frames = 0;
    int views = 0;
    int initialUpdates = 0;
    BOOL frameVisibleAtInitialUpdate = TRUE;
} g_lives;

class LoopDoc : public CDocument {
public:
    static constexpr const char* kRuntimeClassName = "LoopDoc";
    LoopDoc() { ++g_lives.docs; }
    ~LoopDoc() override { --g_lives.docs; }
};

class LoopFrame : public CFrameWnd {
public:
    static constexpr const char* kRuntimeClassName = "LoopFrame";
    LoopFrame() { ++g_lives.frames; }
    ~LoopFrame() override { --g_lives.frames; }
    BOOL PreCreateWindow(CREATESTRUCT& cs) override {
        cs.lpszName = L"LoopFrame";
        return CFrameWnd::PreCreateWindow(cs);
    }
};

class LoopView : public CFormView {
public:
    static constexpr const char* kRuntimeClassName = "LoopView";
    LoopView() : CFormView(201) { ++g_lives.views; }
    ~LoopView() override { --g_lives.views; }
    void OnInitialUpdate() override {
        ++g_lives.initialUpdates;
        g_lives.frameVisibleAtInitialUpdate = GetParentFrame()->IsWindowVisible();
        CFormView::OnInitialUpdate();
    }
};

class LoopApp : public CWinApp {
public:
    BOOL InitInstance() override {
        AddDocTemplate(new CSingleDocTemplate(1, RuntimeClass<LoopDoc>(), RuntimeClass<LoopFrame>(),
                                              RuntimeClass<LoopView>()));
        CCommandLineInfo commandLine;
        ParseCommandLine(commandLine);
        if (!ProcessShellCommand(commandLine))
            return FALSE;
        m_pMainWnd->ShowWindow(SW_SHOW);
        m_pMainWnd->UpdateWindow();
        return TRUE;
    }
};

TEST_F(FrameworkTest, ASingleDocumentProgramRunsUntilItsFrameIsClosedAndCleansUp) {
    DeviceClock::Instance().SetScaled(50.0);
    g_lives = Lives{};
    LoopApp app;
    DWORD uiThreadSeen = 0;
    bool viewFilledFrame = false;
    std::thread closer([&] {
        HWND frame = nullptr;
        while (!(frame = FindWindow(nullptr, L"LoopFrame")) || !IsWindowVisible(frame))
            Sleep(1);
        uiThreadSeen = AfxGetAppThreadId();
        RECT r;
        GetWindowRect(GetDlgItem(frame, int(AFX_IDW_PANE_FIRST)), &r);
        viewFilledFrame = r.left == 0 && r.top == 0 && r.right == 240 && r.bottom == 320;
        PostMessage(frame, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(AfxWinMain(), 0);
    closer.join();
    EXPECT_EQ(uiThreadSeen, GetCurrentThreadId());
    EXPECT_TRUE(viewFilledFrame);
    EXPECT_EQ(g_lives.initialUpdates, 1);
    EXPECT_FALSE(g_lives.frameVisibleAtInitialUpdate) << "the frame shows after the update";
    EXPECT_EQ(g_lives.docs, 0);
    EXPECT_EQ(g_lives.frames, 0);
    EXPECT_EQ(g_lives.views, 0);
    EXPECT_EQ(FindWindow(nullptr, L"LoopFrame"), nullptr);
}

} // namespace
