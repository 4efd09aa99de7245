#include "launcher/QLauncherItem.h"

QLauncherItem::QLauncherItem(const CString& program, const CString& bin, const CString& para)
    : m_strProgram(program), m_strBin(bin), m_strPara(para) {}
