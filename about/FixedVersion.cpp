#include "about/FixedVersion.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/kernel/Resources.h"

namespace {
constexpr DWORD kPathChars = 260;
} // namespace

bool GetFileFixedVersion(VS_FIXEDFILEINFO& out, LPCTSTR path) {
    out = VS_FIXEDFILEINFO{};
    const DWORD size = GetFileVersionInfoSize(path, nullptr);
    if (size == 0)
        return false;
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfo(path, 0, size, block.data()))
        return false;
    LPVOID fixed = nullptr;
    UINT length = 0;
    // A block whose root holds no fixed part gives no version: the caller shows zeros then,
    // and is told so.
    if (!VerQueryValue(block.data(), L"\\", &fixed, &length) || length == 0)
        return false;
    std::memcpy(&out, fixed, std::min<std::size_t>(length, sizeof out));
    return true;
}

bool GetExeFixedVersion(VS_FIXEDFILEINFO& out, HMODULE module) {
    TCHAR path[kPathChars];
    if (GetModuleFileName(module, path, kPathChars) == 0) {
        out = VS_FIXEDFILEINFO{};
        return false;
    }
    return GetFileFixedVersion(out, path);
}
