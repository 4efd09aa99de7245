#include "platform/gdi/CBrush.h"

#include "platform/gdi/HandleWrappers.h"

CBrush* CBrush::FromHandle(HBRUSH brush) {
    return HandleWrappers::FromHandle<CGdiObject, CBrush>(brush);
}
