// What the program's command line asks the application to do at start. The launcher is
// started without arguments, which asks for a new document.
#pragma once

#include "platform/kernel/CString.h"

class CCommandLineInfo {
public:
    enum { FileNew, FileOpen, FileNothing };

    virtual ~CCommandLineInfo() = default;
    // One argument of the command line: a flag (after '-' or '/') or a file name.
    virtual void ParseParam(LPCTSTR param, BOOL flag, BOOL last);

    int m_nShellCommand = FileNew;
    CString m_strFileName;
};
