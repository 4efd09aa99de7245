#include "platform/kernel/VersionInfo.h"

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <system_error>

#include "platform/kernel/DeviceStorage.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/Resources.h"
#include "platform/kernel/ThreadControl.h"

// The caller's buffer is laid out as
//   [block: L bytes, root length L][padding to 4][tag: 4 bytes][wide copies: (R / 2 + 1) wchar_t]
// where R is the stored block's size. The wide area has one host wide character per UTF-16 unit
// of the block, so a text value that starts at byte offset o of the block is decoded to index
// o / 2; the block's text stays as stored, and the caller gets host text that lives as long as
// the buffer. The tag says the wide copies were written (a cut buffer has a zero tag).

namespace {

constexpr DWORD kWideCopiesTag = 0x54584557; // "WEXT"
constexpr std::size_t kNodeHeader = 6;       // wLength, wValueLength, wType
constexpr WORD kTextType = 1;

std::size_t Align4(std::size_t n) {
    return (n + 3) & ~std::size_t(3);
}

// The block's words are little-endian whatever the host.
WORD ReadWord(const BYTE* p) {
    return WORD(p[0] | (p[1] << 8));
}

void WriteWord(BYTE* p, WORD value) {
    p[0] = BYTE(value & 0xFF);
    p[1] = BYTE(value >> 8);
}

std::size_t WideOffset(std::size_t rootLength) {
    return Align4(rootLength) + 4;
}

std::size_t BufferSize(std::size_t storedSize) {
    return WideOffset(storedSize) + (storedSize / 2 + 1) * sizeof(wchar_t);
}

// One node of the block: {wLength, wValueLength, wType, key, padding, value, padding, children},
// every offset counted from the block's start.
struct Node {
    std::size_t end = 0;
    WORD type = 0;
    std::size_t keyAt = 0, keyUnits = 0; // without the null
    std::size_t valueAt = 0, valueBytes = 0;
    std::size_t childrenAt = 0;
};

// The node at `at`, or nothing when it does not fit inside limit or is malformed.
std::optional<Node> ReadNode(const BYTE* block, std::size_t at, std::size_t limit) {
    if (at + kNodeHeader > limit)
        return std::nullopt;
    const WORD length = ReadWord(block + at);
    if (length < kNodeHeader || at + length > limit)
        return std::nullopt;
    Node node;
    node.end = at + length;
    const WORD valueLength = ReadWord(block + at + 2);
    node.type = ReadWord(block + at + 4);
    node.keyAt = at + kNodeHeader;
    std::size_t p = node.keyAt;
    while (p + 2 <= node.end && ReadWord(block + p) != 0)
        p += 2;
    if (p + 2 > node.end)
        return std::nullopt; // the key has no terminating null
    node.keyUnits = (p - node.keyAt) / 2;
    node.valueAt = Align4(p + 2);
    node.valueBytes = node.type == kTextType ? std::size_t(valueLength) * 2 : valueLength;
    if (node.valueBytes > 0 && node.valueAt + node.valueBytes > node.end)
        return std::nullopt;
    node.childrenAt = Align4(node.valueAt + node.valueBytes);
    return node;
}

bool KeyIs(const BYTE* block, const Node& node, std::wstring_view name) {
    if (node.keyUnits != name.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const wchar_t unit = wchar_t(ReadWord(block + node.keyAt + 2 * i));
        if (std::towupper(wint_t(unit)) != std::towupper(wint_t(name[i])))
            return false;
    }
    return true;
}

// Calls visit on every child of parent in order.
template <typename Visit> void ForEachChild(const BYTE* block, const Node& parent, Visit&& visit) {
    std::size_t at = parent.childrenAt;
    while (at + kNodeHeader <= parent.end) {
        const std::optional<Node> child = ReadNode(block, at, parent.end);
        if (!child)
            return;
        if (!visit(*child))
            return;
        at = Align4(child->end);
    }
}

// Decodes the UTF-16 text value of node into the wide copies, ending it with a null. A lone
// surrogate becomes U+FFFD.
void DecodeText(const BYTE* block, const Node& node, wchar_t* wide) {
    wchar_t* out = wide + node.valueAt / 2;
    const std::size_t units = node.valueBytes / 2;
    for (std::size_t i = 0; i < units; ++i) {
        const char32_t unit = ReadWord(block + node.valueAt + 2 * i);
        if (unit == 0)
            break;
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units) {
            const char32_t low = ReadWord(block + node.valueAt + 2 * (i + 1));
            if (low >= 0xDC00 && low < 0xE000) {
                *out++ = wchar_t(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        *out++ = (unit >= 0xD800 && unit < 0xE000) ? wchar_t(0xFFFD) : wchar_t(unit);
    }
    *out = L'\0';
}

void DecodeAllText(const BYTE* block, const Node& node, wchar_t* wide) {
    if (node.type == kTextType && node.valueBytes > 0)
        DecodeText(block, node, wide);
    ForEachChild(block, node, [&](const Node& child) {
        DecodeAllText(block, child, wide);
        return true;
    });
}

// The stored version block of the file, or nothing with the last error set.
std::optional<std::span<const BYTE>> StoredBlock(LPCTSTR fileName) {
    if (fileName == nullptr || *fileName == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return std::nullopt;
    }
    if (HMODULE module = GetModuleHandle(fileName)) {
        HRSRC found = FindResource(module, MAKEINTRESOURCE(1), RT_VERSION);
        const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
        if (!found || !bytes) {
            SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
            return std::nullopt;
        }
        return std::span<const BYTE>(bytes, SizeofResource(module, found));
    }
    std::error_code error;
    DWORD refusal = 0;
    const auto host = DeviceStorage::Resolve(fileName, &refusal);
    if (!host) {
        SetLastError(refusal);
        return std::nullopt;
    }
    const bool exists = std::filesystem::is_regular_file(*host, error);
    SetLastError(exists ? ERROR_RESOURCE_DATA_NOT_FOUND : ERROR_FILE_NOT_FOUND);
    return std::nullopt;
}

} // namespace

DWORD GetFileVersionInfoSize(LPCTSTR fileName, LPDWORD handle) {
    PlatformCheckpoint();
    if (handle)
        *handle = 0;
    const auto stored = StoredBlock(fileName);
    return stored ? DWORD(BufferSize(stored->size())) : 0;
}

BOOL GetFileVersionInfo(LPCTSTR fileName, DWORD, DWORD size, LPVOID data) {
    PlatformCheckpoint();
    const auto stored = StoredBlock(fileName);
    if (!stored)
        return FALSE;
    if (data == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto* out = static_cast<BYTE*>(data);
    const std::size_t storedSize = stored->size();
    // The root's own length, never more than the bytes stored.
    std::size_t length = storedSize & ~std::size_t(1);
    if (storedSize >= 2)
        length = std::min<std::size_t>(length, ReadWord(stored->data()));
    const bool whole = size >= BufferSize(storedSize);
    if (!whole) {
        if (size < kNodeHeader + 2 + 4) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return FALSE;
        }
        length = std::min<std::size_t>(length, (size - 4) & ~std::size_t(3));
    }
    std::memcpy(out, stored->data(), length);
    if (length >= 2)
        WriteWord(out, WORD(length));
    std::memset(out + length, 0, WideOffset(length) - length);
    const DWORD tag = whole ? kWideCopiesTag : 0;
    std::memcpy(out + WideOffset(length) - 4, &tag, 4);
    if (whole) {
        auto* wide = reinterpret_cast<wchar_t*>(out + WideOffset(length));
        std::fill_n(wide, storedSize / 2 + 1, L'\0');
        if (const std::optional<Node> root = ReadNode(out, 0, length))
            DecodeAllText(out, *root, wide);
    }
    return TRUE;
}

BOOL VerQueryValue(LPCVOID block, LPCTSTR subBlock, LPVOID* buffer, UINT* length) {
    PlatformCheckpoint();
    if (block == nullptr || subBlock == nullptr || buffer == nullptr || length == nullptr)
        return FALSE;
    const auto* bytes = static_cast<const BYTE*>(block);
    const std::size_t rootLength = ReadWord(bytes);
    std::optional<Node> node = ReadNode(bytes, 0, rootLength);
    if (!node)
        return FALSE;
    std::wstring_view path = subBlock;
    while (!path.empty()) {
        const std::size_t start = path.find_first_not_of(L'\\');
        if (start == std::wstring_view::npos)
            break;
        path.remove_prefix(start);
        const std::wstring_view name = path.substr(0, path.find(L'\\'));
        path.remove_prefix(name.size());
        std::optional<Node> found;
        ForEachChild(bytes, *node, [&](const Node& child) {
            if (KeyIs(bytes, child, name))
                found = child;
            return !found;
        });
        if (!found)
            return FALSE;
        node = found;
    }
    if (node->type == kTextType && node->valueBytes > 0) {
        DWORD tag = 0;
        std::memcpy(&tag, bytes + WideOffset(rootLength) - 4, 4);
        if (tag != kWideCopiesTag)
            return FALSE;
        const auto* wide = reinterpret_cast<const wchar_t*>(bytes + WideOffset(rootLength));
        const wchar_t* text = wide + node->valueAt / 2;
        *buffer = const_cast<wchar_t*>(text);
        *length = UINT(std::wcslen(text) + 1);
        return TRUE;
    }
    *buffer = const_cast<BYTE*>(bytes + node->valueAt);
    *length = UINT(node->valueBytes);
    return TRUE;
}
