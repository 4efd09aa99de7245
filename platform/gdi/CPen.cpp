#include "platform/gdi/CPen.h"

#include "platform/gdi/HandleWrappers.h"

CPen* CPen::FromHandle(HPEN pen) {
    return HandleWrappers::FromHandle<CGdiObject, CPen>(pen);
}
