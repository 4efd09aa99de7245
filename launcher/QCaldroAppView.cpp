#include "launcher/QCaldroAppView.h"

#include "about/QAboutDlg.h"
#include "app/KeySound.h"
#include "app/QLanguage.h"
#include "keypad/Keypad.h"
#include "launcher/QDeviceQueries.h"
#include "launcher/QIniFile.h"
#include "launcher/QLauncherItem.h"
#include "launcher/QProgramCatalogue.h"
#include "launcher/QProgressPopup.h"
#include "launcher/QRemoteDlg.h"
#include "link/CoprocProtocol.h"
#include "link/QCoprocLink.h"
#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CRect.h"
#include "platform/gdi/ImageList.h"
#include "platform/gdi/WinGdi.h"
#include "platform/kernel/CFile.h"
#include "platform/kernel/CWinThread.h"
#include "platform/kernel/CodePage.h"
#include "platform/kernel/EventLog.h"
#include "platform/kernel/KernelSync.h"
#include "platform/kernel/KernelThreads.h"
#include "platform/kernel/KernelTime.h"
#include "platform/kernel/Process.h"
#include "platform/user/CDataExchange.h"
#include "platform/user/CPaintDC.h"
#include "platform/user/ListView.h"
#include "res/resource.h"

namespace {

// How long a failure text stays before the sequence goes on.
constexpr DWORD kFailureShowMs = 1000;

// The start-up's pauses: after holding the co-processor in reset, and after its download.
constexpr DWORD kStartupPauseMs = 200;

// The slide-in: the picture rises from this row to 0, one step per frame.
constexpr int kSlideStartY = 300;
constexpr int kSlideStep = 20;
constexpr DWORD kSlideFrameMs = 100;

// The gauge's place and size in the view, in pixels.
constexpr int kGaugeX = 164;
constexpr int kGaugeY = 305;
constexpr int kGaugeCx = 18;
constexpr int kGaugeCy = 9;
constexpr int kIconSize = 50;
constexpr int kIconsAtFirst = 10;

// The shell's structure size on the device.
constexpr DWORD kShellExecuteInfoSize = 60;
// While the destructor waits for the start-up thread it handles what that thread sends.
constexpr DWORD kStartupPollMs = 10;

bool Failed(DWORD status) {
    return LOWORD(status) != 0;
}

// The string of a remote request: the device's UTF-16 text in lpData, ending at the first zero
// unit or after cbData bytes, whichever comes first. No data is an empty string.
CString RequestText(const COPYDATASTRUCT& data) {
    return CString(Utf16LeToWide(static_cast<const BYTE*>(data.lpData), data.cbData));
}

CString LocalText(UINT id) {
    return LoadLocalString(GetLanguage(), id);
}

// Runs draw with a memory context that holds the background picture, bitmap 130.
template <typename Draw> void WithBackground(CDC* target, Draw draw) {
    CBitmap background;
    background.LoadBitmap(IDB_BACKGROUND);
    CDC memory;
    memory.CreateCompatibleDC(target);
    CBitmap* old = memory.SelectObject(&background);
    draw(memory);
    memory.SelectObject(old);
    memory.DeleteDC();
    background.DeleteObject();
}

} // namespace

QCaldroAppView::QCaldroAppView()
    : CFormView(IDD_NORVANEAPP_FORM), m_nTimerId(kBatteryTimerId), m_pRemoteDlg(nullptr) {}

QCaldroAppView::~QCaldroAppView() {
    if (m_hStartupThread) {
        while (WaitForSingleObject(m_hStartupThread, kStartupPollMs) == WAIT_TIMEOUT) {
            MSG msg;
            ::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE);
        }
        CloseHandle(m_hStartupThread);
    }
    delete m_pRemoteDlg;
    m_state.Close();
}

BOOL QCaldroAppView::PreCreateWindow(CREATESTRUCT& cs) {
    cs.style &= ~LONG(WS_BORDER);
    return CFormView::PreCreateWindow(cs);
}

void QCaldroAppView::DoDataExchange(CDataExchange* dx) {
    CFormView::DoDataExchange(dx);
    DDX_Control(dx, IDC_BATTERY, m_batteryGauge);
    DDX_Control(dx, IDC_CAPTION, m_captionLabel);
    DDX_Control(dx, IDC_CLOCK, m_clockLabel);
    DDX_Control(dx, IDC_APP_LIST, m_appList);
}

void QCaldroAppView::OnInitialUpdate() {
    CFormView::OnInitialUpdate();
    InitialiseForm();
    BeginStartup();
    m_keypadScanner.Start();
    SetTimer(m_nTimerId, kBatteryPeriodMs, nullptr);
}

void QCaldroAppView::InitialiseForm() {
    m_imageList.Create(kIconSize, kIconSize, ILC_MASK, kIconsAtFirst, 1);
    m_appList.SetImageList(&m_imageList, LVSIL_NORMAL);
    m_appList.SetBkColor(kListBackground);
    m_batteryGauge.SetWindowPos(nullptr, kGaugeX, kGaugeY, kGaugeCx, kGaugeCy, SWP_NOZORDER);
    m_clockLabel.SetColor(1, 0x000000FF, TRUE);
    m_clockLabel.SetColor(0, 0x00000000, TRUE);
    m_appList.SetFocus();
    CString caption;
    m_captionLabel.GetWindowText(caption);
    EventLog::Instance().Record("caption.shown", {{"text", caption.ToUtf8()}});
    m_state.Open();
}

void QCaldroAppView::BeginStartup() {
    // Started suspended only long enough to keep a handle of our own, then it runs at once.
    if (CWinThread* thread =
            AfxBeginThread(StartupThreadProc, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED)) {
        DuplicateHandle(GetCurrentProcess(), thread->m_hThread, GetCurrentProcess(),
                        &m_hStartupThread, 0, FALSE, DUPLICATE_SAME_ACCESS);
        ResumeThread(thread->m_hThread);
    }

    HDC screenDc = ::GetDC(nullptr);
    CDC* screen = CDC::FromHandle(screenDc);
    CRect client;
    GetClientRect(&client);
    screen->FillSolidRect(&client, RGB(0, 0, 0));
    WithBackground(screen, [&](CDC& memory) {
        for (int y = kSlideStartY; y >= 0; y -= kSlideStep) {
            screen->BitBlt(0, y, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
            Sleep(kSlideFrameMs);
        }
    });
    ::ReleaseDC(nullptr, screenDc);
}

UINT QCaldroAppView::StartupThreadProc(LPVOID param) {
    auto* view = static_cast<QCaldroAppView*>(param);
    QCoprocLink& link = QCoprocLink::Instance();
    link.HoldReset();
    Sleep(kStartupPauseMs);
    link.BootHandshake();
    view->DownloadImage(kLauncherImage);
    Sleep(kStartupPauseMs);
    view->UpdateBattery(true);
    view->SyncCurrentTime();
    view->BuildCatalogue();
    view->RecordProductType();
    view->m_state.SetStartupDone();
    return 0;
}

void QCaldroAppView::UpdateBattery(bool redraw) {
    QDeviceQueries::UpdateBattery(m_batteryGauge, redraw);
}

void QCaldroAppView::SyncCurrentTime() {
    QDeviceQueries::SyncCurrentTime();
}

void QCaldroAppView::RecordProductType() {
    QDeviceQueries::RecordProductType();
}

void QCaldroAppView::BuildCatalogue() {
    m_appList.SetRedraw(FALSE);
    m_appList.DeleteAllItems();
    EventLog::Instance().Record("list.cleared");

    QIniFile ini;
    CString failure;
    BYTE reply[COPROC_REPLY_IDENTITY] = {};
    if (!ini.Load(kCatalogue))
        failure = LocalText(IDS_LOAD_INI_FAILED);
    else if (Failed(QCoprocLink::Instance().GetIdentity(reply)))
        failure = LocalText(IDS_DISCONNECTED);

    if (!failure.IsEmpty()) {
        SetCaptionText(failure);
        m_appList.SetRedraw(TRUE);
        EventLog::Instance().Record("catalogue.built", {{"error", failure.ToUtf8()}});
        return;
    }

    for (const QProgramCatalogue::Program& p : QProgramCatalogue::Programs(ini))
        AddProgramItem(p.name, p.program, p.bin, p.para, p.bitmap);
    m_appList.SetRedraw(TRUE);
    EventLog::Instance().Record("catalogue.built", {{"items", m_appList.GetItemCount()}});
}

void QCaldroAppView::AddProgramItem(LPCTSTR name, LPCTSTR program, LPCTSTR bin, LPCTSTR para,
                                    UINT bitmapId) {
    CBitmap bitmap;
    bitmap.LoadBitmap(bitmapId);
    const int index = ImageList_AddMasked(m_imageList, bitmap, kListBackground);

    LVITEM item;
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = const_cast<LPWSTR>(name);
    item.iImage = index;
    item.state = 0;
    const int inserted = m_appList.InsertItem(&item);

    auto* record = new QLauncherItem(program, bin, para ? para : L"");
    LVITEM data;
    data.mask = LVIF_PARAM;
    data.iItem = index;
    data.lParam = reinterpret_cast<LPARAM>(record);
    if (inserted < 0 || !m_appList.SetItem(&data)) {
        // No item took the record, so no deletion note will ever free it.
        delete record;
    } else {
        EventLog::Instance().Record("list.item", {{"index", inserted},
                                                  {"text", CString(name).ToUtf8()},
                                                  {"program", record->m_strProgram.ToUtf8()},
                                                  {"image", record->m_strBin.ToUtf8()},
                                                  {"parameters", record->m_strPara.ToUtf8()}});
    }
    bitmap.DeleteObject();
}

void QCaldroAppView::OnDeleteitemAppList(NMHDR* header, LRESULT*) {
    const auto* note = reinterpret_cast<const NMLISTVIEW*>(header);
    if (auto* record = reinterpret_cast<QLauncherItem*>(note->lParam))
        delete record;
}

void QCaldroAppView::OnItemchangedAppList(NMHDR* header, LRESULT*) {
    const auto* note = reinterpret_cast<const NMLISTVIEW*>(header);
    if (!(note->uChanged & LVIF_STATE) || !((note->uNewState ^ note->uOldState) & LVIS_FOCUSED))
        return;
    EventLog::Instance().Record(
        "list.focus", {{"index", note->iItem}, {"focused", (note->uNewState & LVIS_FOCUSED) != 0}});
}

void QCaldroAppView::ShowProgress(const CString& text, DWORD waitMs) {
    QProgressPopup popup;
    popup.Show(text, kProgressRect, this);
    m_progressShown = true;
    EventLog::Instance().Record("progress.shown", {{"text", text.ToUtf8()}});
    if (waitMs > 0)
        Sleep(waitMs);
    popup.Hide();
}

void QCaldroAppView::OnDblclkAppList(NMHDR*, LRESULT*) {
    const int focused = m_appList.GetNextItem(-1, LVNI_FOCUSED);
    if (focused < 0)
        return;
    const auto* item = reinterpret_cast<const QLauncherItem*>(m_appList.GetItemData(focused));
    if (!item)
        return;

    m_state.SetLaunching(true);
    m_keypadScanner.Suspend();
    KillTimer(m_nTimerId);
    ShowProgress(LocalText(IDS_CONNECTING), 0);
    if (!QCoprocLink::Instance().ResetAndSync()) {
        ShowProgress(LocalText(IDS_DISCONNECTED), kFailureShowMs);
    } else {
        ShowProgress(LocalText(IDS_LOADING_PROGRAM), 0);
        if (!item->m_strBin.IsEmpty() && !DownloadImage(item->m_strBin))
            ShowProgress(LocalText(IDS_LOAD_PROGRAM_FAILED), kFailureShowMs);
        else
            RunProgram(*item);
    }
    RestoreAfterLaunch();
    m_state.SetLaunching(false);
}

void QCaldroAppView::RunProgram(const QLauncherItem& item) {
    SHELLEXECUTEINFO info{};
    info.cbSize = kShellExecuteInfoSize;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpFile = item.m_strProgram;
    info.lpParameters = item.m_strPara;
    // A program that cannot be started leaves no handle: nothing to wait for, nothing shown.
    if (!ShellExecuteEx(&info) || !info.hProcess)
        return;
    EventLog::Instance().Record("program.started", {{"program", item.m_strProgram.ToUtf8()},
                                                    {"parameters", item.m_strPara.ToUtf8()}});
    WaitForSingleObject(info.hProcess, INFINITE);
    CloseHandle(info.hProcess);
    EventLog::Instance().Record("program.ended");
}

void QCaldroAppView::RestoreAfterLaunch() {
    ReadLanguage(GetLanguage());
    ShowProgress(LocalText(IDS_EXIT_PROGRAM), 0);
    QCoprocLink::Instance().ResetAndSync();
    DownloadImage(kLauncherImage);
    SetTimer(m_nTimerId, kBatteryPeriodMs, nullptr);
    m_keypadScanner.Resume();
    ReadKeySoundSetting();
    m_appList.SetFocus();
    UpdateWindow();
}

BOOL QCaldroAppView::OnCopyData(CWnd*, COPYDATASTRUCT* data) {
    if (data && data->dwData == kRemoteOpen) {
        OpenRemoteConnection(RequestText(*data));
    } else if (data && data->dwData == kRemoteClose) {
        CloseRemoteConnection();
    } else {
        EventLog::Instance().Record("remote.request",
                                    {{"code", data ? data->dwData : 0}, {"result", "ignored"}});
    }
    return BOOL(Default());
}

void QCaldroAppView::OpenRemoteConnection(const CString& request) {
    if (m_pRemoteDlg) {
        EventLog::Instance().Record(
            "remote.request",
            {{"code", kRemoteOpen}, {"text", request.ToUtf8()}, {"result", "ignored"}});
        return;
    }
    m_pRemoteDlg = new QRemoteDlg;
    m_pRemoteDlg->Create(IDD_REMOTE_DIALOG, this);
    m_pRemoteDlg->ShowWindow(SW_SHOW);
    m_state.SetRemote(true);
    m_keypadScanner.Suspend();
    KillTimer(m_nTimerId);

    LVFINDINFO find;
    find.flags = LVFI_STRING;
    find.psz = request;
    CString image = request;
    const int found = m_appList.FindItem(&find, -1);
    if (found >= 0)
        if (const auto* item = reinterpret_cast<const QLauncherItem*>(m_appList.GetItemData(found)))
            image = item->m_strBin;
    QCoprocLink::Instance().ResetAndSync();
    DownloadImage(image);
    EventLog::Instance().Record(
        "remote.request",
        {{"code", kRemoteOpen}, {"text", request.ToUtf8()}, {"result", "opened"}});
}

void QCaldroAppView::CloseRemoteConnection() {
    if (!m_pRemoteDlg) {
        EventLog::Instance().Record("remote.request",
                                    {{"code", kRemoteClose}, {"result", "ignored"}});
        return;
    }
    delete m_pRemoteDlg;
    m_pRemoteDlg = nullptr;
    QCoprocLink::Instance().ResetAndSync();
    DownloadImage(kLauncherImage);
    m_keypadScanner.Resume();
    SetTimer(m_nTimerId, kBatteryPeriodMs, nullptr);
    m_state.SetRemote(false);
    EventLog::Instance().Record("remote.request", {{"code", kRemoteClose}, {"result", "closed"}});
}

bool QCaldroAppView::DownloadImage(const CString& path) {
    CFile file;
    const bool opened = file.Open(path, CFile::modeRead);
    const DWORD size = opened ? file.GetLength() : 0;
    file.Close();
    const bool ok = QCoprocLink::Instance().DownloadImage(path);
    // The size is null for a file that could not be opened.
    if (opened)
        EventLog::Instance().Record("image.download",
                                    {{"path", path.ToUtf8()}, {"size", size}, {"ok", ok}});
    else
        EventLog::Instance().Record("image.download",
                                    {{"path", path.ToUtf8()}, {"size", nullptr}, {"ok", ok}});
    return ok;
}

void QCaldroAppView::SetCaptionText(const CString& text) {
    m_captionLabel.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.GetString()));
    EventLog::Instance().Record("caption.shown", {{"text", text.ToUtf8()}});
}

void QCaldroAppView::OpenAboutBox() {
    // The box is modal: the UI thread stays here until it closes, and while it is open the
    // keypad's messages go to its focused OK button, so the repeats of a held about key never
    // reach this view.
    QAboutDlg about;
    about.DoModal();
}

LRESULT QCaldroAppView::OnKeypad(WPARAM key, LPARAM) {
    if (key == KEY_ABOUT)
        OpenAboutBox();
    return 0;
}

void QCaldroAppView::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    WithBackground(&dc, [&](CDC& memory) {
        dc.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
    });

    // A progress text left on screen is gone once the background is painted over its place.
    CRect covered;
    if (m_progressShown && covered.IntersectRect(&dc.m_ps.rcPaint, &kProgressRect)) {
        m_progressShown = false;
        EventLog::Instance().Record("progress.hidden");
    }
}

void QCaldroAppView::OnTimer(UINT_PTR id) {
    if (id == m_nTimerId)
        UpdateBattery(true);
    Default();
}

LRESULT QCaldroAppView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYPAD:
        return OnKeypad(wParam, lParam);
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_TIMER:
        OnTimer(UINT_PTR(wParam));
        return 0;
    case WM_COPYDATA:
        return OnCopyData(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)),
                          reinterpret_cast<COPYDATASTRUCT*>(lParam));
    default:
        return CFormView::WindowProc(message, wParam, lParam);
    }
}

BOOL QCaldroAppView::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (CFormView::OnNotify(wParam, lParam, result))
        return TRUE;
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header || header->idFrom != IDC_APP_LIST)
        return FALSE;
    switch (header->code) {
    case NM_DBLCLK:
        OnDblclkAppList(header, result);
        return TRUE;
    case LVN_DELETEITEM:
        OnDeleteitemAppList(header, result);
        return TRUE;
    case LVN_ITEMCHANGED:
        OnItemchangedAppList(header, result);
        return TRUE;
    default:
        return FALSE;
    }
}
