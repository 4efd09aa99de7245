// The device clock: the one source of time for Sleep, GetTickCount, timed waits, timers, the
// local time and the hardware models. It runs either as scaled real time (device time runs at
// a speed factor times the host's monotonic clock) or manually (time moves only when a thread
// sleeps or a timed wait runs out, so single-threaded tests are exact and instant).
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <set>

class DeviceClock {
public:
    static constexpr std::uint64_t kNoDeadline = UINT64_MAX;

    static DeviceClock& Instance();

    // Scaled real time at the given speed (1 = real time). Device time stays continuous.
    void SetScaled(double speed);
    // Manual time: Sleep and timed waits advance the clock at once instead of blocking.
    void SetManual();
    bool IsManual() const { return m_manual.load(std::memory_order_acquire); }
    double Speed() const;

    // Device time since the clock was created, in microseconds and milliseconds.
    std::uint64_t NowUs() const;
    std::uint64_t NowMs() const { return NowUs() / 1000; }

    // Blocks for ms of device time; in manual mode the clock advances by ms at once.
    void SleepUs(std::uint64_t us);
    // Gives up the processor once (Sleep(0)). In manual mode the clock jumps to the earliest
    // deadline a model has announced, so a thread polling a model for a state change that is
    // due at a later device time gets there.
    void Yield();
    // Manual mode only: moves device time forward (never backward).
    void AdvanceTo(std::uint64_t us);
    // A model announces that its state changes at device time us.
    void NoteDeadline(std::uint64_t us);

    // Waits on cv (with lock held) until pred() is true or device time reaches deadlineUs
    // (kNoDeadline: no time limit). Returns pred(). In manual mode a wait that would time out
    // advances the clock to its deadline instead of blocking.
    template <class Pred>
    bool WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                   std::uint64_t deadlineUs, Pred pred) {
        if (deadlineUs == kNoDeadline) {
            cv.wait(lock, pred);
            return true;
        }
        for (;;) {
            if (pred())
                return true;
            if (NowUs() >= deadlineUs)
                return false;
            if (IsManual()) {
                AdvanceTo(deadlineUs);
                return pred();
            }
            cv.wait_until(lock, HostTimeFor(deadlineUs));
        }
    }

    // Device local time, in milliseconds since 1970-01-01 00:00 counted as if local time
    // were UTC (the device knows no time zones). It starts as the host's local time when the
    // clock is created and runs with device time; SetLocalMs moves only the device's offset.
    std::int64_t LocalMs() const;
    void SetLocalMs(std::int64_t localMs);
    std::int64_t LocalOffsetMs() const { return m_localOffsetMs.load(); }
    void SetLocalOffsetMs(std::int64_t offset) { m_localOffsetMs.store(offset); }

    // Host steady-clock time at which device time reaches us (scaled mode).
    std::chrono::steady_clock::time_point HostTimeFor(std::uint64_t us) const;

private:
    DeviceClock();

    mutable std::mutex m_mutex;
    std::atomic<bool> m_manual{false};
    std::atomic<std::uint64_t> m_manualUs{0};
    // Scaled mode: device time = m_baseUs + (host now - m_hostBase) * m_speed.
    std::uint64_t m_baseUs = 0;
    std::chrono::steady_clock::time_point m_hostBase;
    double m_speed = 1.0;
    std::set<std::uint64_t> m_deadlines;
    std::int64_t m_localEpochMs = 0;
    std::atomic<std::int64_t> m_localOffsetMs{0};
};
