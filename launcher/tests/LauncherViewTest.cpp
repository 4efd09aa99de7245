#include "launcher/tests/LauncherViewTest.h"

#include <algorithm>

#include "launcher/QLauncherItem.h"
#include "platform/kernel/KernelTime.h"
#include "platform/user/CListCtrl.h"
#include "platform/user/CWnd.h"
#include "res/resource.h"

void LauncherViewTest::SetUp() {
    ManualClock::SetUp();
    LauncherTestDevice::TheBoard().AddObserver(&recorder);
    frame = CreateWindowEx(0, AfxFrameOrViewClassName(), L"LauncherTest", WS_POPUP | WS_VISIBLE, 0,
                           0, 240, 320, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    view = new ViewProbe;
    ASSERT_TRUE(view->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, RECT{0, 0, 240, 320},
                             CWnd::FromHandle(frame), AFX_IDW_PANE_FIRST));
    view->SendMessage(WM_INITIALUPDATE);
    recorder.exchanges.clear();
    recorder.edges.clear();
}

void LauncherViewTest::TearDown() {
    if (view && IsWindow(view->GetSafeHwnd()))
        view->DestroyWindow();
    view = nullptr;
    if (frame)
        DestroyWindow(frame);
    LauncherTestDevice::TheBoard().RemoveObserver(&recorder);
}

HWND LauncherViewTest::List() const {
    return GetDlgItem(view->GetSafeHwnd(), IDC_APP_LIST);
}

HWND LauncherViewTest::Caption() const {
    return GetDlgItem(view->GetSafeHwnd(), IDC_CAPTION);
}

std::vector<LauncherViewTest::Listed> LauncherViewTest::ReadList() const {
    auto* list = dynamic_cast<CListCtrl*>(CWnd::FromHandlePermanent(List()));
    std::vector<Listed> items;
    if (!list)
        return items;
    for (int i = 0; i < list->GetItemCount(); ++i) {
        Listed entry;
        entry.text = list->GetItemText(i, 0).Str();
        LVITEM item;
        item.mask = LVIF_IMAGE | LVIF_PARAM;
        item.iItem = i;
        list->GetItem(&item);
        entry.image = item.iImage;
        if (const auto* record = reinterpret_cast<const QLauncherItem*>(item.lParam)) {
            entry.program = record->m_strProgram.Str();
            entry.bin = record->m_strBin.Str();
            entry.para = record->m_strPara.Str();
        }
        items.push_back(entry);
    }
    return items;
}

void LauncherViewTest::FocusItem(int index) {
    LVITEM state;
    state.state = LVIS_FOCUSED | LVIS_SELECTED;
    state.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    SendMessage(List(), LVM_SETITEMSTATE, WPARAM(index), reinterpret_cast<LPARAM>(&state));
}

LRESULT LauncherViewTest::DoubleClick(int tappedItem) {
    NMITEMACTIVATE note;
    note.hdr = {List(), IDC_APP_LIST, NM_DBLCLK};
    note.iItem = tappedItem;
    return SendMessage(view->GetSafeHwnd(), WM_NOTIFY, IDC_APP_LIST,
                       reinterpret_cast<LPARAM>(&note));
}

LRESULT LauncherViewTest::CopyData(DWORD code, const void* data, DWORD bytes) {
    COPYDATASTRUCT request;
    request.dwData = code;
    request.cbData = bytes;
    request.lpData = const_cast<void*>(data);
    return SendMessage(view->GetSafeHwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&request));
}

std::vector<std::string> LauncherViewTest::ProgressTexts() const {
    std::vector<std::string> texts;
    for (const EventLog::Entry& e : Events("progress.shown"))
        texts.push_back(e.fields["text"].get<std::string>());
    return texts;
}

void LauncherViewTest::PumpFor(DWORD ms) {
    PumpUntil(NowUs() + std::uint64_t(ms) * 1000);
}

void LauncherViewTest::PumpUntil(std::uint64_t endUs) {
    for (;;) {
        MSG msg;
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!view->PreTranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessage(&msg);
            }
        }
        if (NowUs() >= endUs)
            return;
        Sleep(DWORD(std::min<std::uint64_t>(20, (endUs - NowUs() + 999) / 1000)));
    }
}

bool LauncherViewTest::BatteryReadAtThirtySeconds(std::uint64_t armedUs) {
    recorder.exchanges.clear();
    if (NowUs() >= armedUs + 29900000) {
        ADD_FAILURE() << "the timer's period was already nearly over";
        return false;
    }
    PumpUntil(armedUs + 29900000);
    if (Exchanges("GET_BATTERY") != 0)
        return false;
    PumpUntil(armedUs + 30000000);
    return Exchanges("GET_BATTERY") == 1;
}

int LauncherViewTest::Exchanges(const std::string& command) const {
    int n = 0;
    for (const std::string& name : recorder.Commands())
        n += name == command ? 1 : 0;
    return n;
}

std::wstring LauncherViewTest::WindowText(HWND hwnd) {
    wchar_t text[256] = {};
    GetWindowText(hwnd, text, 256);
    return text;
}
