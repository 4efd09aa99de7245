// The gallery's application object: a small program of the widget kit's own that shows every
// kit control in its states on pages of dialogs, worked by the keypad and the stylus. It routes
// the keypad like the launcher does, and while a menu is tracked turns keypad keys into the
// keyboard keys that the menu loop understands.
#pragma once

#include "platform/user/CWinApp.h"

class QGalleryApp : public CWinApp {
public:
    QGalleryApp();

    // The frame with the pages, shown.
    BOOL InitInstance() override;
    // A window-less WM_KEYPAD goes to the focused window, or, while a menu is tracked, becomes
    // the matching WM_KEYDOWN for the menu loop; then the standard pre-translation.
    BOOL PreTranslateMessage(MSG* msg) override;

    // Told by the menu's owner between WM_ENTERMENULOOP and WM_EXITMENULOOP.
    void SetMenuTracking(BOOL tracking) { m_bMenuTracking = tracking; }

    // The virtual key that a keypad key means inside a menu: the arrows, enter to choose,
    // select and about to close; 0 for the keys without a meaning there.
    static UINT MenuKey(WPARAM key);

private:
    BOOL m_bMenuTracking = FALSE;
};
