// The device's system colours: Windows CE's classic scheme.
#include <array>
#include <memory>

#include "platform/gdi/GdiRegistry.h"
#include "platform/kernel/ThreadControl.h"

namespace {

constexpr std::array<COLORREF, 27> kSysColors = {
    RGB(192, 192, 192), // COLOR_SCROLLBAR
    RGB(0, 128, 128),   // COLOR_BACKGROUND
    RGB(0, 0, 128),     // COLOR_ACTIVECAPTION
    RGB(128, 128, 128), // COLOR_INACTIVECAPTION
    RGB(192, 192, 192), // COLOR_MENU
    RGB(255, 255, 255), // COLOR_WINDOW
    RGB(0, 0, 0),       // COLOR_WINDOWFRAME
    RGB(0, 0, 0),       // COLOR_MENUTEXT
    RGB(0, 0, 0),       // COLOR_WINDOWTEXT
    RGB(255, 255, 255), // COLOR_CAPTIONTEXT
    RGB(192, 192, 192), // COLOR_ACTIVEBORDER
    RGB(192, 192, 192), // COLOR_INACTIVEBORDER
    RGB(128, 128, 128), // COLOR_APPWORKSPACE
    RGB(0, 0, 128),     // COLOR_HIGHLIGHT
    RGB(255, 255, 255), // COLOR_HIGHLIGHTTEXT
    RGB(192, 192, 192), // COLOR_BTNFACE
    RGB(128, 128, 128), // COLOR_BTNSHADOW
    RGB(128, 128, 128), // COLOR_GRAYTEXT
    RGB(0, 0, 0),       // COLOR_BTNTEXT
    RGB(192, 192, 192), // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255), // COLOR_BTNHIGHLIGHT
    RGB(0, 0, 0),       // COLOR_3DDKSHADOW
    RGB(192, 192, 192), // COLOR_3DLIGHT
    RGB(0, 0, 0),       // COLOR_INFOTEXT
    RGB(255, 255, 225), // COLOR_INFOBK
    RGB(192, 192, 192), // COLOR_STATIC
    RGB(0, 0, 0),       // COLOR_STATICTEXT
};

int Index(int index) {
    return index & ~SYS_COLOR_INDEX_FLAG;
}

} // namespace

COLORREF SystemColour(int index) {
    const int i = Index(index);
    return i >= 0 && i < int(kSysColors.size()) ? kSysColors[std::size_t(i)] : 0;
}

COLORREF GetSysColor(int index) {
    PlatformCheckpoint();
    return SystemColour(index);
}

HBRUSH GetSysColorBrush(int index) {
    PlatformCheckpoint();
    const int i = Index(index);
    if (i < 0 || i >= int(kSysColors.size())) {
        return nullptr;
    }
    // One brush per colour for the whole run; like stock objects, deleting it does nothing.
    std::lock_guard lock(GdiRegistry::Lock());
    static std::array<void*, kSysColors.size()> brushes{};
    if (!brushes[std::size_t(i)]) {
        auto brush = std::make_shared<BrushObject>(false, kSysColors[std::size_t(i)]);
        brush->stock = true;
        brushes[std::size_t(i)] = GdiRegistry::Insert(std::move(brush));
    }
    return reinterpret_cast<HBRUSH>(brushes[std::size_t(i)]);
}
