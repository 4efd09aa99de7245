#include "platform/gdi/GdiRegistry.h"

#include <cstdint>
#include <map>

#include "platform/gdi/DeviceContext.h"

namespace {

// Stock objects take the handles below kFirstHandle; created objects count up from it.
constexpr std::uintptr_t kStockBase = 0x100;
constexpr std::uintptr_t kFirstHandle = 0x10000;
constexpr std::uintptr_t kHandleStep = 4;

struct Tables {
    std::map<std::uintptr_t, std::shared_ptr<GdiObject>> objects;
    std::map<const GdiObject*, std::uintptr_t> handles;
    std::map<std::uintptr_t, std::shared_ptr<DeviceContext>> dcs;
    std::uintptr_t next = kFirstHandle;
};

Tables& TheTables() {
    static Tables tables;
    return tables;
}

std::shared_ptr<GdiObject> MakeStock(int index) {
    switch (index) {
    case WHITE_BRUSH:
        return std::make_shared<BrushObject>(false, RGB(255, 255, 255));
    case LTGRAY_BRUSH:
        return std::make_shared<BrushObject>(false, RGB(192, 192, 192));
    case GRAY_BRUSH:
        return std::make_shared<BrushObject>(false, RGB(128, 128, 128));
    case DKGRAY_BRUSH:
        return std::make_shared<BrushObject>(false, RGB(64, 64, 64));
    case BLACK_BRUSH:
        return std::make_shared<BrushObject>(false, RGB(0, 0, 0));
    case NULL_BRUSH:
        return std::make_shared<BrushObject>(true, 0);
    case WHITE_PEN:
        return std::make_shared<PenObject>(PS_SOLID, 1, RGB(255, 255, 255));
    case BLACK_PEN:
        return std::make_shared<PenObject>(PS_SOLID, 1, RGB(0, 0, 0));
    case NULL_PEN:
        return std::make_shared<PenObject>(PS_NULL, 1, 0);
    case SYSTEM_FONT:
    case DEFAULT_GUI_FONT: {
        LOGFONT font;
        font.lfHeight = 13;
        font.lfWeight = FW_NORMAL;
        const wchar_t face[] = L"System";
        std::copy(std::begin(face), std::end(face), font.lfFaceName);
        return std::make_shared<FontObject>(font);
    }
    case GdiRegistry::kDefaultBitmap:
        return std::make_shared<BitmapObject>(1, 1, 1);
    default:
        return nullptr;
    }
}

} // namespace

std::mutex& GdiRegistry::Lock() {
    static std::mutex mutex;
    return mutex;
}

void* GdiRegistry::Insert(std::shared_ptr<GdiObject> object) {
    Tables& t = TheTables();
    const std::uintptr_t handle = t.next;
    t.next += kHandleStep;
    t.handles[object.get()] = handle;
    t.objects.emplace(handle, std::move(object));
    return reinterpret_cast<void*>(handle);
}

std::shared_ptr<GdiObject> GdiRegistry::Get(const void* handle) {
    Tables& t = TheTables();
    const auto value = reinterpret_cast<std::uintptr_t>(handle);
    if (value >= kStockBase && value < kFirstHandle) {
        return Stock(int(value - kStockBase));
    }
    const auto it = t.objects.find(value);
    return it == t.objects.end() ? nullptr : it->second;
}

void* GdiRegistry::HandleOf(const GdiObject* object) {
    const auto it = TheTables().handles.find(object);
    return it == TheTables().handles.end() ? nullptr : reinterpret_cast<void*>(it->second);
}

bool GdiRegistry::Erase(const void* handle) {
    Tables& t = TheTables();
    const auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == t.objects.end()) {
        return false;
    }
    t.handles.erase(it->second.get());
    t.objects.erase(it);
    return true;
}

HDC GdiRegistry::InsertDC(std::shared_ptr<DeviceContext> dc) {
    Tables& t = TheTables();
    const std::uintptr_t handle = t.next;
    t.next += kHandleStep;
    t.dcs.emplace(handle, std::move(dc));
    return reinterpret_cast<HDC>(handle);
}

std::shared_ptr<DeviceContext> GdiRegistry::GetDC(HDC hdc) {
    Tables& t = TheTables();
    const auto it = t.dcs.find(reinterpret_cast<std::uintptr_t>(hdc));
    return it == t.dcs.end() ? nullptr : it->second;
}

bool GdiRegistry::EraseDC(HDC hdc) {
    return TheTables().dcs.erase(reinterpret_cast<std::uintptr_t>(hdc)) > 0;
}

std::shared_ptr<GdiObject> GdiRegistry::Stock(int index) {
    static std::map<int, std::shared_ptr<GdiObject>> stock;
    const auto it = stock.find(index);
    if (it != stock.end()) {
        return it->second;
    }
    auto object = MakeStock(index);
    if (!object) {
        return nullptr;
    }
    object->stock = true;
    TheTables().handles[object.get()] = kStockBase + std::uintptr_t(index);
    stock.emplace(index, object);
    return object;
}
