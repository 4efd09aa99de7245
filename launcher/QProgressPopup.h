// The transient popup of the launch sequence: a bordered static over the launcher view that
// carries one progress or failure text, centred in blue on white, while the sequence works on the
// UI thread.
#pragma once

#include "platform/gdi/CDC.h"
#include "platform/kernel/CString.h"
#include "platform/user/CStatic.h"

class QProgressPopup : public CStatic {
public:
    QProgressPopup() = default;
    // The window, if it is still there, goes with the object.
    ~QProgressPopup() override;

    // Creates the popup at rect in the parent's client area, top-most and shown, and draws its
    // frame and the text straight onto the screen.
    void Show(const CString& text, const RECT& rect, CWnd* parent);
    // Removes the window; what it drew stays on the screen until the parent paints there.
    void Hide();

private:
    CDC* m_dc = nullptr;
};
