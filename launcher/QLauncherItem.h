// The launch record of one program-list item: the executable to start, the co-processor image
// to load before it (empty for none) and the program's parameters. The item owns it as its
// item data; it is freed when the list deletes the item.
#pragma once

#include "platform/kernel/CString.h"

class QLauncherItem {
public:
    QLauncherItem(const CString& program, const CString& bin, const CString& para);

    CString m_strProgram;
    CString m_strBin;
    CString m_strPara;
};
