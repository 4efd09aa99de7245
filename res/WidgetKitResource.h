// Resource ids of the widget kit's own resources, WidgetKit.rc: the themed message box's dialog
// and controls, the texts of its buttons and its icons; also included by the code.
#pragma once

// Every text has an English id; its Traditional Chinese twin is the id plus this offset.
#define IDS_CHINESE_OFFSET 10000

// The button texts of the message box (and the platform's two others).
#define IDS_OK 1000
#define IDS_CANCEL 1001
#define IDS_ABORT 1002
#define IDS_RETRY 1003
#define IDS_IGNORE 1004
#define IDS_YES 1005
#define IDS_NO 1006
#define IDS_CLOSE 1007
#define IDS_HELP 1008

// The themed message box. Its first two buttons are IDOK and IDCANCEL.
#define IDD_MESSAGEBOX 2100
#define IDC_MB_BUTTON3 1003
#define IDC_MB_TEXT 1004
#define IDC_MB_ICON 1007
#define IDC_MB_CAPTION 1029

// The message box's icons (res/art, drawn by tools/art/make_art.py).
#define IDI_MB_INFORMATION 2300
#define IDI_MB_ERROR 2301
#define IDI_MB_QUESTION 2302
#define IDI_MB_WARNING 2303
