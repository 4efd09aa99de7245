#include "platform/user/CCommandLineInfo.h"

void CCommandLineInfo::ParseParam(LPCTSTR param, BOOL flag, BOOL) {
    if (flag || !param)
        return;
    if (m_strFileName.IsEmpty()) {
        m_strFileName = param;
        m_nShellCommand = FileOpen;
    }
}
