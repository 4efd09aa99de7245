// A posted message's round trip between two threads: the UI thread posts to a worker's queue
// and waits in GetMessage for the worker's reply.
#include <benchmark/benchmark.h>

#include <future>
#include <thread>

#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/KernelThreads.h"
#include "platform/user/WinUser.h"

namespace {

constexpr UINT kPing = WM_USER + 1;
constexpr UINT kPong = WM_USER + 2;

void PostedRoundTrip(benchmark::State& state) {
    DeviceClock::Instance().SetScaled(1.0);
    const DWORD self = GetCurrentThreadId();
    MSG msg;
    PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE); // this thread's queue exists from now on
    std::promise<DWORD> started;
    std::thread echo([&] {
        PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE);
        started.set_value(GetCurrentThreadId());
        MSG in;
        while (GetMessage(&in, nullptr, 0, 0))
            if (in.message == kPing)
                PostThreadMessage(self, kPong, in.wParam, 0);
    });
    const DWORD worker = started.get_future().get();
    WPARAM n = 0;
    for (auto _ : state) {
        PostThreadMessage(worker, kPing, ++n, 0);
        MSG reply;
        GetMessage(&reply, nullptr, 0, 0);
        benchmark::DoNotOptimize(reply.wParam);
    }
    PostThreadMessage(worker, WM_QUIT, 0, 0);
    echo.join();
}
BENCHMARK(PostedRoundTrip);

} // namespace

BENCHMARK_MAIN();
