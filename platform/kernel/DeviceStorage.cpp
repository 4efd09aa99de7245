#include "platform/kernel/DeviceStorage.h"

#include <mutex>
#include <string>
#include <system_error>
#include <vector>

#include "platform/kernel/AsciiFold.h"
#include "platform/kernel/CString.h"
#include "platform/kernel/CardSlot.h"

namespace fs = std::filesystem;

namespace {

struct Roots {
    std::mutex mutex;
    fs::path state;
    fs::path card;
};

Roots& TheRoots() {
    static Roots roots;
    return roots;
}

// Characters a FAT name cannot hold; '/' is no separator on the device but would be one on
// the host, so it is refused too.
bool IsValidComponent(std::wstring_view name) {
    for (wchar_t c : name) {
        if (c < 0x20 || c == 0x7F)
            return false;
        switch (c) {
        case L'<':
        case L'>':
        case L':':
        case L'"':
        case L'|':
        case L'?':
        case L'*':
        case L'/':
            return false;
        default:
            break;
        }
    }
    return true;
}

// The components of an absolute device path with "." and ".." applied, or nothing when the
// path is not an absolute device path or climbs above "\".
std::optional<std::vector<std::wstring>> Components(std::wstring_view path) {
    if (path.empty() || path[0] != L'\\')
        return std::nullopt;
    if (path.size() > 1 && path[1] == L'\\')
        return std::nullopt; // a network path
    std::vector<std::wstring> out;
    std::size_t pos = 1;
    while (pos <= path.size()) {
        std::size_t end = path.find(L'\\', pos);
        if (end == std::wstring_view::npos)
            end = path.size();
        const std::wstring_view part = path.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty() || part == L".")
            continue;
        if (part == L"..") {
            if (out.empty())
                return std::nullopt;
            out.pop_back();
            continue;
        }
        if (!IsValidComponent(part))
            return std::nullopt;
        out.emplace_back(part);
    }
    return out;
}

// The entry of dir whose name matches name case-insensitively: the exact spelling when it
// exists, otherwise the first match in name order so the choice never depends on the host's
// directory order.
std::optional<std::string> MatchEntry(const fs::path& dir, const std::wstring& name) {
    const std::string exact = CString(name).ToUtf8();
    std::error_code ec;
    if (fs::exists(dir / exact, ec))
        return exact;
    const std::wstring folded = FoldAscii(name);
    std::optional<std::string> best;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (FoldAscii(CString::FromUtf8(entry).Str()) == folded && (!best || entry < *best))
            best = entry;
    }
    return best;
}

bool IsCardFolder(const std::vector<std::wstring>& components) {
    return !components.empty() && FoldAscii(components.front()) == L"storage card";
}

bool IsWithin(const fs::path& root, const fs::path& path) {
    auto r = root.begin();
    auto p = path.begin();
    for (; r != root.end(); ++r, ++p) {
        if (p == path.end() || *r != *p)
            return false;
    }
    return true;
}

} // namespace

void DeviceStorage::Configure(const fs::path& stateDir, const fs::path& cardDir) {
    Roots& roots = TheRoots();
    std::lock_guard<std::mutex> lock(roots.mutex);
    roots.state = stateDir;
    roots.card = cardDir;
}

fs::path DeviceStorage::StateDir() {
    Roots& roots = TheRoots();
    std::lock_guard<std::mutex> lock(roots.mutex);
    return roots.state;
}

fs::path DeviceStorage::CardDir() {
    Roots& roots = TheRoots();
    std::lock_guard<std::mutex> lock(roots.mutex);
    return roots.card;
}

std::optional<fs::path> DeviceStorage::Resolve(LPCTSTR devicePath, DWORD* refusal) {
    if (refusal)
        *refusal = ERROR_FILE_NOT_FOUND;
    if (!devicePath)
        return std::nullopt;
    auto components = Components(devicePath);
    if (!components)
        return std::nullopt;

    fs::path root;
    std::size_t first = 0;
    if (IsCardFolder(*components)) {
        // Nothing of the host is looked at for a card that is out.
        if (!CardSlot::Inserted()) {
            if (refusal && components->size() > 1)
                *refusal = ERROR_PATH_NOT_FOUND;
            return std::nullopt;
        }
        root = CardDir();
        first = 1;
    } else {
        const fs::path state = StateDir();
        if (!state.empty())
            root = state / "root";
    }
    if (root.empty())
        return std::nullopt;

    std::error_code ec;
    const fs::path canonicalRoot = fs::weakly_canonical(root, ec);
    if (ec)
        return std::nullopt;
    fs::path host = canonicalRoot;
    for (std::size_t i = first; i < components->size(); ++i) {
        const std::wstring& name = (*components)[i];
        auto match = fs::is_directory(host, ec) ? MatchEntry(host, name) : std::nullopt;
        host /= match ? *match : CString(name).ToUtf8();
    }
    // Symbolic links are followed here: wherever they point, the result must stay in the root.
    const fs::path resolved = fs::weakly_canonical(host, ec);
    if (ec || !IsWithin(canonicalRoot, resolved))
        return std::nullopt;
    return resolved;
}

bool DeviceStorage::IsOnCard(LPCTSTR devicePath) {
    if (!devicePath)
        return false;
    const auto components = Components(devicePath);
    return components && IsCardFolder(*components);
}
