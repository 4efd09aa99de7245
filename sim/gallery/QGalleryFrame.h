// The gallery's main window: the screen-filling top-level window named "Gallery" that holds the
// pages, shows one of them at a time, keeps the last command for them to show, runs the keypad
// scanner and shows the message boxes that the simulator asks for (GalleryMessageBoxRequest).
#pragma once

#include <array>
#include <memory>

#include "keypad/QKeypadScanner.h"
#include "platform/user/CFrameWnd.h"
#include "sim/gallery/GalleryRequests.h"
#include "sim/gallery/QButtonsPage.h"
#include "sim/gallery/QLabelsPage.h"
#include "sim/gallery/QMenusPage.h"
#include "sim/gallery/QMessageBoxPage.h"

class QGalleryFrame : public CFrameWnd {
public:
    static constexpr const wchar_t* kWindowName = kGalleryWindowName;

    QGalleryFrame();

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The page after the one shown, the first after the last.
    void NextPage();
    // A command came from a button (source L"button") or a menu (L"menu"): recorded in the
    // device's event log as gallery.command and shown on the pages.
    void ShowCommand(LPCTSTR source, UINT id, const CString& text);
    // Runs the kit's message box (ShowMessageBox) and shows its result as the last command
    // (source L"msgbox", the result code and its name).
    int RunMessageBox(LPCTSTR text, LPCTSTR caption, UINT type);

private:
    int OnCreate(LPCREATESTRUCT cs);
    void ShowPage(int index);

    QLabelsPage m_labelsPage;
    QButtonsPage m_buttonsPage;
    QMenusPage m_menusPage;
    QMessageBoxPage m_messageBoxPage;
    std::array<QGalleryPage*, 4> m_pages;
    int m_nPage = -1;
    // Made once the pages are there, stopped before they go.
    std::unique_ptr<QKeypadScanner> m_pScanner;
};
