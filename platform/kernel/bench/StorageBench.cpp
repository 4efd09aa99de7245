// A registry flush of 1000 values: the text is built and the file written, synced and renamed
// into place as on every RegFlushKey.
#include <cstdlib>
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

#include "platform/kernel/Registry.h"

namespace {

void BM_RegistryFlush1000Values(benchmark::State& state) {
    std::string pattern = (std::filesystem::temp_directory_path() / "norvane-bench-XXXXXX");
    if (!::mkdtemp(pattern.data())) {
        state.SkipWithError("mkdtemp failed");
        return;
    }
    const std::filesystem::path dir = pattern;
    Registry::Instance().Load(dir / "registry.reg");
    HKEY key = nullptr;
    RegCreateKeyEx(HKEY_LOCAL_MACHINE, L"Bench\\Values", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                   &key, nullptr);
    for (DWORD i = 0; i < 1000; ++i) {
        const std::wstring name = L"Value" + std::to_wstring(i);
        if (i % 2) {
            RegSetValueEx(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&i),
                          sizeof i);
        } else {
            const std::wstring text = L"Text \"" + std::to_wstring(i) + L"\" of the device";
            RegSetValueEx(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          DWORD((text.size() + 1) * sizeof(TCHAR)));
        }
    }
    for (auto _ : state) {
        if (RegFlushKey(key) != ERROR_SUCCESS) {
            state.SkipWithError("flush failed");
            break;
        }
    }
    RegCloseKey(key);
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_RegistryFlush1000Values)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
