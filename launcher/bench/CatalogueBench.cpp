// For the record: what the catalogue parser costs on a catalogue at its size limit (1 MiB),
// against the plainest possible reader of the same file (std::getline over lines, no parsing),
// so the price of the code-page conversion and the section maps can be seen.
#include <filesystem>
#include <fstream>
#include <string>

#include <benchmark/benchmark.h>

#include "launcher/QIniFile.h"
#include "platform/kernel/DeviceStorage.h"
#include "testsupport/StorageTempDir.h"

namespace {

// A card holding a catalogue of just under 1 MiB: many program sections of four lines each.
class LargeCatalogue {
public:
    LargeCatalogue() {
        std::string text = "# a large catalogue\n[System]\nVersion = 1\n";
        for (int i = 0; text.size() < QIniFile::kMaxFileSize - 200; ++i)
            text += "[Program " + std::to_string(i) + "]\nProgram = \\Storage Card\\P" +
                    std::to_string(i) + ".exe\nBin = \\Storage Card\\P" + std::to_string(i) +
                    ".bin\nPara = -n " + std::to_string(i) + "\n";
        m_file = m_card.Write("Norvane/App/NorvaneApp.ini", text);
        DeviceStorage::Configure(m_state.Path(), m_card.Path());
    }
    const std::filesystem::path& HostPath() const { return m_file; }
    std::size_t Size() const { return std::filesystem::file_size(m_file); }

private:
    StorageTempDir m_state;
    StorageTempDir m_card;
    std::filesystem::path m_file;
};

void LoadCatalogue(benchmark::State& state) {
    LargeCatalogue catalogue;
    for (auto _ : state) {
        QIniFile ini;
        benchmark::DoNotOptimize(ini.Load(L"\\Storage Card\\Norvane\\App\\NorvaneApp.ini"));
        benchmark::DoNotOptimize(ini.GetSectionCount());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(catalogue.Size()));
}
BENCHMARK(LoadCatalogue)->Unit(benchmark::kMillisecond);

void PlainLineReader(benchmark::State& state) {
    LargeCatalogue catalogue;
    for (auto _ : state) {
        std::ifstream in(catalogue.HostPath(), std::ios::binary);
        std::string line;
        std::size_t lines = 0;
        while (std::getline(in, line))
            ++lines;
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(catalogue.Size()));
}
BENCHMARK(PlainLineReader)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
