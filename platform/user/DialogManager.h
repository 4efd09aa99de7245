// The dialog manager: windows of class "Dialog" built from dialog templates, with their
// controls, in dialog units of 7 x 14 pixels (so the 137 x 183 unit launcher form fills the
// 240 x 320 screen).
#pragma once

#include "platform/kernel/ResourceModuleData.h"
#include "platform/user/WinUser.h"

inline constexpr int kDialogBaseUnitX = 7;
inline constexpr int kDialogBaseUnitY = 14;

// Creates the dialog window (hidden), its controls in template order, then sends
// WM_INITDIALOG (wParam: the first enabled tab-stop control, lParam: initParam); a non-zero
// answer gives that control the focus. The window is shown afterwards when the template has
// WS_VISIBLE. The window's WM_CREATE receives initParam as lpCreateParams. NULL when the
// window or one of its controls cannot be created (unless DS_NOFAILCREATE).
HWND CreateDialogFromTemplate(HINSTANCE module, const DialogTemplate& tmpl, HWND parent,
                              LPARAM initParam);

// The window procedure of class "Dialog".
LRESULT DefDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

LONG GetDialogBaseUnits();
// Dialog units to pixels, as the dialog manager lays out controls.
BOOL MapDialogRect(HWND dialog, LPRECT rect);
int DialogUnitsToPixelsX(int units);
int DialogUnitsToPixelsY(int units);
