// Hardware waits poll with Sleep(1); in manual time such a poll must cost next to nothing, so
// that a unit test running thousands of them stays instant.
#include <benchmark/benchmark.h>

#include "platform/kernel/CEvent.h"
#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/KernelSync.h"
#include "platform/kernel/KernelTime.h"

namespace {

void ManualSleepPolls(benchmark::State& state) {
    DeviceClock::Instance().SetManual();
    for (auto _ : state) {
        for (int poll = 0; poll < 1000; ++poll)
            Sleep(1);
    }
    state.SetLabel("1000 x Sleep(1), manual time");
}
BENCHMARK(ManualSleepPolls)->Unit(benchmark::kMicrosecond);

void ManualTimedWaitPolls(benchmark::State& state) {
    DeviceClock::Instance().SetManual();
    CEvent event;
    for (auto _ : state) {
        for (int poll = 0; poll < 1000; ++poll)
            benchmark::DoNotOptimize(WaitForSingleObject(event, 1));
    }
    state.SetLabel("1000 x WaitForSingleObject(1 ms), manual time");
}
BENCHMARK(ManualTimedWaitPolls)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
