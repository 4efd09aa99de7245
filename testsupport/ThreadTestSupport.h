// Helpers for tests that run real device threads: waiting for another thread's progress, and a
// worker that bumps a counter through platform calls until it is told to stop.
#pragma once

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/kernel/KernelTime.h"
#include "platform/kernel/WinTypes.h"

// Waits (in host time, only so that a broken build fails instead of hanging) until pred holds.
template <class Pred> bool Eventually(Pred pred) {
    for (int i = 0; i < 20000; ++i) {
        if (pred())
            return true;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return pred();
}

// A real-time pause, long enough for a thread that is not stopped to make visible progress.
inline void HostPause() {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
}

struct Counter {
    std::atomic<long> count{0};
    std::atomic<bool> stop{false};

    // Thread procedure: counts until stop, each step a platform call.
    static UINT Run(LPVOID param) {
        auto* self = static_cast<Counter*>(param);
        while (!self->stop.load()) {
            GetTickCount();
            self->count.fetch_add(1);
        }
        return 0;
    }
};
