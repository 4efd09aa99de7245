// The keypad scanner's cost on the simulated matrix: one scan with no key down (the most pin
// accesses a scan makes), and the processor share of the scanner thread polling every 30 ms at
// real-time speed. The device should spend well under 1 % of a core on it.
#include <benchmark/benchmark.h>

#include <ctime>

#include "keypad/QKeypadScanner.h"
#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/KernelTime.h"
#include "sim/keypad/KeypadMatrix.h"

namespace {

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

void ScanWithNoKeyDown(benchmark::State& state) {
    KeypadMatrix matrix;
    QKeypadScanner scanner;
    for (auto _ : state)
        benchmark::DoNotOptimize(scanner.ScanKeys());
    state.SetLabel("12 pin reads, 4 pin writes");
}
BENCHMARK(ScanWithNoKeyDown);

// The process does nothing else meanwhile: the main thread sleeps, so the CPU time counted is
// the scanner thread's.
void ScannerThreadAtRealTime(benchmark::State& state) {
    DeviceClock::Instance().SetScaled(1.0);
    KeypadMatrix matrix;
    QKeypadScanner scanner;
    scanner.Start();
    Sleep(100); // the thread is up
    for (auto _ : state) {
        const double cpuBefore = ProcessCpuSeconds();
        const std::uint64_t deviceBefore = DeviceClock::Instance().NowUs();
        Sleep(DWORD(state.range(0)));
        const double seconds = double(DeviceClock::Instance().NowUs() - deviceBefore) / 1e6;
        state.counters["cpu_percent"] = 100.0 * (ProcessCpuSeconds() - cpuBefore) / seconds;
    }
    scanner.Stop();
    state.SetLabel("scanner polling, no key down");
}
BENCHMARK(ScannerThreadAtRealTime)->Arg(3000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
