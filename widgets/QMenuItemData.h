// The record every item of an owner-drawn menu (QOwnerDrawMenu) carries as its item data,
// separators included: made with new by whoever adds the item, freed by ReleaseItemData.
#pragma once

#include "platform/kernel/CString.h"

struct QMenuItemData {
    int m_image = -1; // index into the menu's image list; negative: no image
    CString m_text;
};
