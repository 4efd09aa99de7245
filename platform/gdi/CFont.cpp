#include "platform/gdi/CFont.h"

#include "platform/gdi/HandleWrappers.h"

CFont* CFont::FromHandle(HFONT font) {
    return HandleWrappers::FromHandle<CGdiObject, CFont>(font);
}
