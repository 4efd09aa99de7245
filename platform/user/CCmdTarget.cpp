#include "platform/user/CCmdTarget.h"

BOOL CCmdTarget::OnCmdMsg(UINT, int) {
    return FALSE;
}
