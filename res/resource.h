// Resource ids of the launcher's resource script, NorvaneApp.rc; also included by the code.
#pragma once

// The widget kit's ids (the message box, its texts and icons, the Chinese offset) are shared
// with every program that uses the kit.
#include "WidgetKitResource.h"

#define IDS_LOAD_INI_FAILED 2000
#define IDS_CONNECTING 2001
#define IDS_DISCONNECTED 2002
#define IDS_LOADING_PROGRAM 2003
#define IDS_LOAD_PROGRAM_FAILED 2004
#define IDS_EXIT_PROGRAM 2005
#define IDS_ABOUT_TITLE 3000
#define IDS_SOFTWARE_VERSION 3001
#define IDS_FIRMWARE_VERSION 3002
#define IDS_REMOTE_CONNECTION 4000

// The launcher view's form and its controls.
#define IDD_NORVANEAPP_FORM 101
#define IDC_APP_LIST 1001
#define IDC_CLOCK 1002
#define IDC_BATTERY 1003
#define IDC_CAPTION 1004

// The Remote Connection notice and its icon.
#define IDD_REMOTE_DIALOG 140
#define IDC_REMOTE_TEXT 1005
#define IDI_REMOTE 141

// The About box and its controls.
#define IDD_ABOUTBOX 130
#define IDC_ABOUT_TITLE 1010
#define IDC_ABOUT_VERSION 1020
#define IDC_ABOUT_FIRMWARE 1021

// Pictures and sounds (res/art, drawn by tools/art/make_art.py).
#define IDR_MAINFRAME 128
#define IDB_BACKGROUND 130
#define IDB_ZENTRA 131
#define IDB_OVIK 132
#define IDB_MARL_SWEEP 134
#define IDB_ROUNDEL_PROBE 135
#define IDB_PELL_GATHER 136
#define IDB_TERSEN 137
#define IDB_QUILBAR 138
#define IDB_VARNET 139
#define IDB_KEST 146
#define IDB_PELL_TAPE 147
#define IDB_EXTRA_PROGRAM 154
#define IDR_KEY_CLICK 143
