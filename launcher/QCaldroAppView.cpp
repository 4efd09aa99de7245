#include "launcher/QCaldroAppView.h"

#include <cstring>
#include <iterator>

#include "app/KeySound.h"
#include "app/Keypad.h"
#include "app/QLanguage.h"
#include "launcher/QIniFile.h"
#include "launcher/QLauncherItem.h"
#include "launcher/QLauncherStatus.h"
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
#include "platform/kernel/EventLog.h"
#include "platform/kernel/KernelSync.h"
#include "platform/kernel/KernelThreads.h"
#include "platform/kernel/KernelTime.h"
#include "platform/kernel/Process.h"
#include "platform/kernel/Registry.h"
#include "platform/user/CDataExchange.h"
#include "platform/user/CPaintDC.h"
#include "platform/user/ListView.h"
#include "res/resource.h"

namespace {

struct BuiltInProgram {
    const wchar_t* name;
    const wchar_t* program;
    const wchar_t* bin;
    UINT bitmap;
};

// The programs every list shows, in list order, whatever the card holds.
constexpr BuiltInProgram kBuiltIns[] = {
    {L"Zentra", L"\\Storage Card\\Norvane\\Zentra\\Zentra.exe",
     L"\\Storage Card\\Norvane\\Zentra\\Zentra.bin", IDB_ZENTRA},
    {L"Quilbar", L"\\Storage Card\\Norvane\\Quilbar\\QbRun.exe",
     L"\\Storage Card\\Norvane\\Quilbar\\QbRun.bin", IDB_QUILBAR},
    {L"Ovik", L"\\Storage Card\\Norvane\\Ovik\\Ovik.exe",
     L"\\Storage Card\\Norvane\\Ovik\\Ovik.bin", IDB_OVIK},
    {L"Marl Sweep", L"\\Storage Card\\Norvane\\MarlSweep\\MarlSweep.exe",
     L"\\Storage Card\\Norvane\\MarlSweep\\MarlSweep.bin", IDB_MARL_SWEEP},
    {L"Pell Gather", L"\\Storage Card\\Norvane\\PellGather\\PellGather.exe",
     L"\\Storage Card\\Norvane\\PellGather\\PellGather.bin", IDB_PELL_GATHER},
    {L"Tersen", L"\\Storage Card\\Norvane\\Tersen\\Tersen.exe",
     L"\\Storage Card\\Norvane\\Tersen\\Tersen.bin", IDB_TERSEN},
    {L"Roundel Probe", L"\\Storage Card\\Norvane\\RoundelProbe\\RoundelProbe.exe",
     L"\\Storage Card\\Norvane\\RoundelProbe\\RoundelProbe.bin", IDB_ROUNDEL_PROBE},
    {L"Kest", L"\\Storage Card\\Norvane\\Kest\\Kest.exe",
     L"\\Storage Card\\Norvane\\Kest\\Kest.bin", IDB_KEST},
    {L"Pell Tape", L"\\Storage Card\\Norvane\\PellTape\\PellTape.exe",
     L"\\Storage Card\\Norvane\\PellTape\\PellTape.bin", IDB_PELL_TAPE},
    {L"Varnet", L"\\Storage Card\\Norvane\\Varnet\\Varnet.exe",
     L"\\Storage Card\\Norvane\\Varnet\\Varnet.bin", IDB_VARNET},
};

// Catalogue sections that never become extra programs. The third built-in row goes by its long
// name here, so sections "Ovik" and "Varnet" are listed as extra programs.
constexpr const wchar_t* kBuiltInSectionNames[] = {
    L"Zentra", L"Quilbar",       L"Ovikon", L"Marl Sweep", L"Pell Gather",
    L"Tersen", L"Roundel Probe", L"Kest",   L"Pell Tape",
};
constexpr const wchar_t* kReservedSection = L"System";

constexpr DWORD kProgressStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTER;
constexpr UINT kProgressId = 0xFFFF;
constexpr UINT kProgressFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr COLORREF kProgressText = 0x00FF0000;
constexpr COLORREF kProgressBack = 0x00FFFFFF;
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

constexpr WORD kProductNorvane = 5;
constexpr WORD kProductCaldro = 6;
// The size of the buffer that "Product" is read into; a longer value counts as missing.
constexpr DWORD kProductBufferBytes = 260;
// The shell's structure size on the device.
constexpr DWORD kShellExecuteInfoSize = 60;
// While the destructor waits for the start-up thread it handles what that thread sends.
constexpr DWORD kStartupPollMs = 10;

QLauncherStatus& Status() {
    return QLauncherStatus::Instance();
}

DWORD Le32(const BYTE* p) {
    return DWORD(p[0]) | DWORD(p[1]) << 8 | DWORD(p[2]) << 16 | DWORD(p[3]) << 24;
}

bool Failed(DWORD status) {
    return LOWORD(status) != 0;
}

bool IsBuiltInSection(const CString& name) {
    for (const wchar_t* builtIn : kBuiltInSectionNames)
        if (name == builtIn)
            return true;
    return false;
}

// The string of a remote request: UTF-16 code units (the device's WCHAR) from lpData, ending at
// the first zero unit or after cbData bytes, whichever comes first. No data is an empty string.
// A surrogate that is not part of a pair becomes U+FFFD.
CString RequestText(const COPYDATASTRUCT& data) {
    std::wstring text;
    if (!data.lpData)
        return CString(text);
    const auto* bytes = static_cast<const BYTE*>(data.lpData);
    const DWORD units = data.cbData / 2;
    auto unitAt = [bytes](DWORD i) { return char32_t(bytes[2 * i] | bytes[2 * i + 1] << 8); };
    for (DWORD i = 0; i < units; ++i) {
        const char32_t unit = unitAt(i);
        if (unit == 0)
            break;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units && unitAt(i + 1) >= 0xDC00 &&
            unitAt(i + 1) <= 0xDFFF) {
            text.push_back(wchar_t(0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00)));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            text.push_back(wchar_t(0xFFFD));
        } else {
            text.push_back(wchar_t(unit));
        }
    }
    return CString(text);
}

CString LocalText(UINT id) {
    return LoadLocalString(GetLanguage(), id);
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
    Status().Close();
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
    Status().Open(caption);
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
    CBitmap background;
    background.LoadBitmap(IDB_BACKGROUND);
    CDC memory;
    memory.CreateCompatibleDC(screen);
    CBitmap* old = memory.SelectObject(&background);

    screen->FillSolidRect(&client, RGB(0, 0, 0));
    for (int y = kSlideStartY; y >= 0; y -= kSlideStep) {
        screen->BitBlt(0, y, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
        Sleep(kSlideFrameMs);
    }

    memory.SelectObject(old);
    memory.DeleteDC();
    background.DeleteObject();
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
    Status().SetStartupDone();
    return 0;
}

void QCaldroAppView::UpdateBattery(bool redraw) {
    BYTE reply[COPROC_REPLY_BATTERY] = {};
    if (Failed(QCoprocLink::Instance().GetBatteryStatus(reply)))
        return;
    const DWORD levelBits = Le32(reply + 8);
    float level = 0.0f;
    std::memcpy(&level, &levelBits, sizeof level);
    m_batteryGauge.SetWarning(BOOL(reply[6]), FALSE);
    // The gauge clamps the level to 0..1 and takes a level that is not a number as 0.
    m_batteryGauge.SetLevel(level, FALSE);
    m_batteryGauge.SetCharging(BOOL(reply[7]), redraw ? TRUE : FALSE);
}

void QCaldroAppView::SyncCurrentTime() {
    BYTE reply[COPROC_REPLY_CLOCK] = {};
    if (Failed(QCoprocLink::Instance().GetClock(reply)))
        return;
    SYSTEMTIME time{};
    time.wYear = LOWORD(Le32(reply + 28));
    time.wMonth = LOWORD(Le32(reply + 24));
    time.wDay = LOWORD(Le32(reply + 20));
    time.wHour = LOWORD(Le32(reply + 16));
    time.wMinute = LOWORD(Le32(reply + 12));
    time.wSecond = LOWORD(Le32(reply + 8));
    time.wMilliseconds = 0;
    // The platform refuses a date that cannot exist (month 13, 31 February, hour 24, ...) and
    // leaves the clock as it was.
    SetLocalTime(&time);
}

void QCaldroAppView::RecordProductType() {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, L"HARDWARE", 0, nullptr, REG_OPTION_NON_VOLATILE,
                       KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS)
        return;
    BYTE existing[kProductBufferBytes];
    DWORD size = sizeof existing;
    DWORD type = REG_NONE;
    if (RegQueryValueEx(key, L"Product", nullptr, &type, existing, &size) == ERROR_SUCCESS) {
        RegCloseKey(key);
        return;
    }
    BYTE reply[COPROC_REPLY_IDENTITY] = {};
    if (Failed(QCoprocLink::Instance().GetIdentity(reply))) {
        RegCloseKey(key);
        return;
    }
    const wchar_t* product = nullptr;
    if (reply[6] == kProductCaldro)
        product = L"Caldro";
    else if (reply[6] == kProductNorvane)
        product = L"Norvane";
    if (product)
        RegSetValueEx(key, L"Product", 0, REG_SZ, reinterpret_cast<const BYTE*>(product),
                      DWORD((std::wcslen(product) + 1) * sizeof(wchar_t)));
    RegFlushKey(HKEY_LOCAL_MACHINE);
    RegCloseKey(key);
}

void QCaldroAppView::BuildCatalogue() {
    m_appList.SetRedraw(FALSE);
    m_appList.DeleteAllItems();
    Status().ClearItems();

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

    // Only the first built-in program takes parameters, from the catalogue.
    const CString zentraPara = ini.GetValue(L"Zentra", L"Para");
    for (std::size_t row = 0; row < std::size(kBuiltIns); ++row) {
        const BuiltInProgram& p = kBuiltIns[row];
        AddProgramItem(p.name, p.program, p.bin, row == 0 ? zentraPara.GetString() : L"", p.bitmap);
    }
    if (ini.GetSectionCount() != 0) {
        for (QIniFile::POSITION pos = ini.GetStartPosition(); pos;) {
            const CString name = ini.GetNextSection(pos);
            if (name == kReservedSection || IsBuiltInSection(name))
                continue;
            AddProgramItem(name, ini.GetValue(name, L"Program"), ini.GetValue(name, L"Bin"),
                           ini.GetValue(name, L"Para"), IDB_EXTRA_PROGRAM);
        }
    }
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
        Status().AddItem({name, record->m_strProgram, record->m_strBin, record->m_strPara});
    }
    bitmap.DeleteObject();
}

void QCaldroAppView::OnDeleteitemAppList(NMHDR* header, LRESULT*) {
    const auto* note = reinterpret_cast<const NMLISTVIEW*>(header);
    if (auto* record = reinterpret_cast<QLauncherItem*>(note->lParam))
        delete record;
}

void QCaldroAppView::ShowProgress(const CString& text, DWORD waitMs) {
    QProgressPopup popup;
    popup.Create(text, kProgressStyle, kProgressRect, this, kProgressId);
    popup.SetWindowPos(&wndTopMost, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);

    CDC* dc = popup.GetDC();
    CRect rect;
    popup.GetClientRect(&rect);
    dc->Rectangle(&rect);
    rect.DeflateRect(2, 2);
    dc->SetBkMode(OPAQUE);
    dc->SetTextColor(kProgressText);
    dc->SetBkColor(kProgressBack);
    dc->DrawText(text, &rect, kProgressFormat);
    Status().SetProgress(text);
    EventLog::Instance().Record("progress.shown", {{"text", text.ToUtf8()}});

    if (waitMs > 0)
        Sleep(waitMs);
    popup.ReleaseDC(dc);
    popup.DestroyWindow();
}

void QCaldroAppView::OnDblclkAppList(NMHDR*, LRESULT*) {
    const int focused = m_appList.GetNextItem(-1, LVNI_FOCUSED);
    if (focused < 0)
        return;
    const auto* item = reinterpret_cast<const QLauncherItem*>(m_appList.GetItemData(focused));
    if (!item)
        return;

    Status().SetLaunching(true);
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
    Status().SetLaunching(false);
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
    Status().SetRunning(item.m_strProgram, item.m_strPara);
    WaitForSingleObject(info.hProcess, INFINITE);
    CloseHandle(info.hProcess);
    Status().ClearRunning();
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
    Status().SetRemote(true);
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
    Status().SetRemote(false);
    EventLog::Instance().Record("remote.request", {{"code", kRemoteClose}, {"result", "closed"}});
}

bool QCaldroAppView::DownloadImage(const CString& path) {
    nlohmann::json size = nullptr;
    CFile file;
    if (file.Open(path, CFile::modeRead))
        size = file.GetLength();
    file.Close();
    const bool ok = QCoprocLink::Instance().DownloadImage(path);
    EventLog::Instance().Record("image.download",
                                {{"path", path.ToUtf8()}, {"size", size}, {"ok", ok}});
    return ok;
}

void QCaldroAppView::SetCaptionText(const CString& text) {
    m_captionLabel.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.GetString()));
    Status().SetCaption(text);
}

void QCaldroAppView::OpenAboutBox() {
    // The About box of the launcher opens here.
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
    CBitmap background;
    background.LoadBitmap(IDB_BACKGROUND);
    CDC memory;
    memory.CreateCompatibleDC(&dc);
    CBitmap* old = memory.SelectObject(&background);
    dc.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
    memory.DeleteDC();
    background.DeleteObject();

    // A progress text left on screen is gone once the background is painted over its place.
    CRect covered;
    if (covered.IntersectRect(&dc.m_ps.rcPaint, &kProgressRect))
        Status().ClearProgress();
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
    default:
        return FALSE;
    }
}

BOOL QCaldroAppView::PreTranslateMessage(MSG* msg) {
    if (m_appList.GetSafeHwnd())
        Status().SetFocusedItem(m_appList.GetNextItem(-1, LVNI_FOCUSED));
    return CFormView::PreTranslateMessage(msg);
}
