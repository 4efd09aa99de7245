// Downloads a 1 MiB image through QCoprocLink, the board-support API, the PXA25x models and
// the co-processor model. Reports the download's device time, its throughput against the
// wire's limit at the modelled bit rate (13 Mbit/s), and the host time it costs: in scaled
// time (the simulator's mode, waits included) and under the manual clock (the stack's own
// CPU cost, with no waiting at all).
#include <benchmark/benchmark.h>

#include "link/QCoprocLink.h"
#include "link/tests/TestCard.h"
#include "platform/kernel/DeviceClock.h"
#include "sim/board/Board.h"

namespace {

constexpr std::size_t kImageBytes = 1 << 20;
constexpr double kWireBytesPerSecond = 13e6 / 8;

void Download(benchmark::State& state, bool scaled) {
    DeviceClock& clock = DeviceClock::Instance();
    clock.SetManual();
    Board board;
    TestCard card;
    const std::wstring path = card.Write("image.bin", TestCard::Pattern(kImageBytes));
    QCoprocLink link;
    std::uint64_t deviceUs = 0;
    for (auto _ : state) {
        // The co-processor takes one image per reset; the reset is not part of the download.
        state.PauseTiming();
        clock.SetManual();
        if (!link.ResetAndSync())
            state.SkipWithError("co-processor did not boot");
        if (scaled)
            clock.SetScaled(double(state.range(0)));
        state.ResumeTiming();
        const std::uint64_t start = clock.NowUs();
        if (!link.DownloadImage(path.c_str()))
            state.SkipWithError("download failed");
        deviceUs += clock.NowUs() - start;
    }
    clock.SetManual();
    const double deviceSeconds = double(deviceUs) / 1e6 / double(state.iterations());
    state.counters["device_ms"] = deviceSeconds * 1e3;
    state.counters["device_MiB_per_s"] = double(kImageBytes) / deviceSeconds / (1 << 20);
    state.counters["wire_limit_MiB_per_s"] = kWireBytesPerSecond / (1 << 20);
    state.counters["share_of_wire_limit"] =
        double(kImageBytes) / deviceSeconds / kWireBytesPerSecond;
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kImageBytes));
}

void BM_Download1MiB_Scaled(benchmark::State& state) {
    Download(state, true);
}
void BM_Download1MiB_Manual(benchmark::State& state) {
    Download(state, false);
}

BENCHMARK(BM_Download1MiB_Scaled)
    ->Arg(10)
    ->ArgName("speed")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_Download1MiB_Manual)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
