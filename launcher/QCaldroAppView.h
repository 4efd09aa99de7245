// The launcher view: the form of dialog 101 that fills the main frame, with the program list, the
// caption line, the clock and the battery gauge over the background picture. At its initial
// update it slides the background in while its start-up thread boots the co-processor and fills
// the list; afterwards it launches the chosen program, lends the co-processor to other programs
// on request and refreshes the battery every 30 seconds.
#pragma once

#include "keypad/QAppList.h"
#include "keypad/QKeypadScanner.h"
#include "launcher/QLauncherState.h"
#include "platform/gdi/CImageList.h"
#include "platform/kernel/CString.h"
#include "platform/user/CFormView.h"
#include "widgets/QBatteryGauge.h"
#include "widgets/QClockLabel.h"
#include "widgets/QColorLabel.h"

class QLauncherItem;
class QRemoteDlg;

class QCaldroAppView : public CFormView {
public:
    static constexpr const char* kRuntimeClassName = "QCaldroAppView";

    // The launcher's own co-processor image and the program catalogue, on the storage card.
    static constexpr const wchar_t* kLauncherImage =
        L"\\Storage Card\\Norvane\\App\\NorvaneApp.bin";
    static constexpr const wchar_t* kCatalogue = L"\\Storage Card\\Norvane\\App\\NorvaneApp.ini";

    static constexpr UINT kBatteryTimerId = 100;
    static constexpr UINT kBatteryPeriodMs = 30000;
    // The icons' background, which the list's background matches so that it shows through.
    static constexpr COLORREF kListBackground = 0x00989898;
    // Where the progress popup stands, in view client coordinates.
    static constexpr RECT kProgressRect = {20, 140, 220, 180};
    // WM_COPYDATA request codes of other programs.
    static constexpr DWORD kRemoteOpen = 100;
    static constexpr DWORD kRemoteClose = 101;

    QCaldroAppView();
    // Waits for the start-up thread, which uses the members, then deletes an open Remote
    // Connection notice; the members go in reverse order, the scanner's thread stopped with it.
    ~QCaldroAppView() override;

    // The form has no border.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void DoDataExchange(CDataExchange* dx) override;
    // Sets up the form, starts the start-up thread with the slide-in, then the keypad scanner
    // and the battery timer.
    void OnInitialUpdate() override;

    // Starts the start-up thread and plays the slide-in of the background on the UI thread;
    // returns when the slide-in has ended.
    void BeginStartup();
    // The start-up thread: reset and boot of the co-processor, download of the launcher's
    // image, battery, clock, catalogue and product type. param is the view.
    static UINT StartupThreadProc(LPVOID param);

    // Battery state from the co-processor into the gauge; a failed query leaves the gauge.
    void UpdateBattery(bool redraw);
    // Sets the device's local time from the co-processor's clock. A date that cannot exist
    // leaves the clock untouched.
    void SyncCurrentTime();
    // Writes HKLM\HARDWARE "Product" from the co-processor's product code when it is missing.
    void RecordProductType();

    // Fills the program list: the ten built-in programs and the catalogue's extra programs, or a
    // failure text in the caption line. Runs on the start-up thread: it reaches the list and the
    // caption only through messages sent to their windows.
    void BuildCatalogue();
    // Adds one item with its icon and its launch record.
    void AddProgramItem(LPCTSTR name, LPCTSTR program, LPCTSTR bin, LPCTSTR para, UINT bitmapId);

    // Shows text in the progress popup, waits waitMs when above 0, and removes the popup. The
    // text stays on screen until the view next paints that area.
    void ShowProgress(const CString& text, DWORD waitMs);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // Steps of the initial update between the data exchange and the start-up: icon list, list
    // colour, gauge place, clock colours and the focus; the state is then Starting.
    void InitialiseForm();

    LRESULT OnKeypad(WPARAM key, LPARAM repeat);
    // The launch sequence of the focused item.
    void OnDblclkAppList(NMHDR* header, LRESULT* result);
    void OnPaint();
    // Frees the launch record of an item the list deletes.
    void OnDeleteitemAppList(NMHDR* header, LRESULT* result);
    // Records in the event log which item gained or lost the focus.
    void OnItemchangedAppList(NMHDR* header, LRESULT* result);
    void OnTimer(UINT_PTR id);
    // Requests 100 (open a remote connection) and 101 (close it) of other programs; 0 always.
    BOOL OnCopyData(CWnd* sender, COPYDATASTRUCT* data);

private:
    void OpenAboutBox();
    // Starts the item's program and waits until its process ends.
    void RunProgram(const QLauncherItem& item);
    // The end of every launch: language, "Exit Program", the launcher's image, timer, keypad,
    // key-click setting, focus and repaint.
    void RestoreAfterLaunch();
    void OpenRemoteConnection(const CString& request);
    void CloseRemoteConnection();
    // Downloads an image into the co-processor and records it as "image.download".
    bool DownloadImage(const CString& path);
    void SetCaptionText(const CString& text);

    QBatteryGauge m_batteryGauge;
    QColorLabel m_captionLabel;
    QClockLabel m_clockLabel;
    QAppList m_appList;
    QKeypadScanner m_keypadScanner;
    CImageList m_imageList;
    UINT m_nTimerId;
    QRemoteDlg* m_pRemoteDlg;
    // A handle of the start-up thread of our own, so that the destructor can wait for it.
    HANDLE m_hStartupThread = nullptr;
    QLauncherState m_state;
    // A progress text is on screen until the view paints over its place.
    bool m_progressShown = false;
};
