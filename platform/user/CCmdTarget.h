// A framework object that handles commands: WM_COMMAND from menus, buttons and controls, routed
// to the most derived class first.
#pragma once

#include "platform/user/CObject.h"
#include "platform/user/WinUser.h"

class CCmdTarget : public CObject {
public:
    // Handles command nID with notification code nCode (0 or BN_CLICKED for a button click);
    // TRUE when handled. A derived class handles its own commands and passes the others to
    // its base class.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);
};
