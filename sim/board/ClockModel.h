// Model of the PXA25x clock manager's unit clock enables (CKEN): which peripheral units get
// their clock. The NSSP moves data only while its bit is set.
#pragma once

#include <optional>

#include "platform/kernel/WinTypes.h"
#include "sim/board/RegisterMap.h"

class ClockModel {
public:
    ClockModel();

    std::optional<DWORD> Read(DWORD offset) { return m_map.Read(offset); }
    bool Write(DWORD offset, DWORD value) { return m_map.Write(offset, value); }
    nlohmann::json Snapshot() const { return m_map.Snapshot(); }

    bool NsspClockOn() const;

private:
    // The value this board starts with: the running system's unit clocks on, the NSSP's off.
    DWORD m_cken = 0x00017DEF;
    RegisterMap m_map;
};
