// Resource ids of the gallery's resource script, Gallery.rc; also included by the code.
#pragma once

// The pages, one dialog template each, in the order the gallery shows them.
#define IDD_GALLERY_LABELS 200
#define IDD_GALLERY_BUTTONS 201
#define IDD_GALLERY_MENUS 202
#define IDD_GALLERY_MSGBOX 203

// On every page: its title line, the button to the next page and the last command line.
#define IDC_PAGE_TITLE 1000
#define IDC_NEXT_PAGE 1001
#define IDC_LAST_COMMAND 1002

// The labels page.
#define IDC_RED_LABEL 1100
#define IDC_NAVY_LABEL 1101
#define IDC_PLAIN_LABEL 1102
#define IDC_ICON_LABEL 1103
#define IDC_CLOCK 1104
#define IDC_GAUGE 1105
#define IDC_GAUGE_TEXT 1106
#define IDC_LEVEL_DOWN 1107
#define IDC_LEVEL_UP 1108
#define IDC_CHARGING 1109
#define IDC_WARNING 1110

// The buttons page.
#define IDC_PUSH 1200
#define IDC_DEFAULT 1201
#define IDC_DISABLED 1202
#define IDC_IMAGE 1203
#define IDC_ROUNDED 1204
#define IDC_CHECK 1205
#define IDC_RADIO_A 1206
#define IDC_RADIO_B 1207

// The menus page.
#define IDC_MENU_DOWN 1300
#define IDC_MENU_UP 1301

// The message boxes page: a button for each button set, the icon and first-focus choices, and
// the caption and long-text check boxes.
#define IDC_BOX_OK 1400
#define IDC_BOX_OKCANCEL 1401
#define IDC_BOX_ABORTRETRYIGNORE 1402
#define IDC_BOX_YESNOCANCEL 1403
#define IDC_BOX_YESNO 1404
#define IDC_BOX_RETRYCANCEL 1405
#define IDC_BOX_ICON 1406
#define IDC_BOX_DEFAULT 1407
#define IDC_BOX_CAPTION 1408
#define IDC_BOX_LONG 1409

// The menus' commands.
#define ID_MENU_PLAIN 2000
#define ID_MENU_CHECKED 2001
#define ID_MENU_GRAYED 2002
#define ID_MENU_IMAGE 2003
#define ID_MENU_SUB_FIRST 2004
#define ID_MENU_SUB_SECOND 2005
// The item that opens the submenu: an id of its own, since items are looked up by id.
#define ID_MENU_SUBMENU 2006

// Icons: the kit's four message-box icons, for the icon label and the image buttons.
#define IDI_GALLERY_INFO 300
#define IDI_GALLERY_QUESTION 301
#define IDI_GALLERY_WARNING 302
#define IDI_GALLERY_ERROR 303

// The key click that the keypad scanner plays from the program's resources.
#define IDR_GALLERY_CLICK 143
