#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "platform/kernel/CCriticalSection.h"
#include "platform/kernel/CEvent.h"
#include "platform/kernel/CWinThread.h"
#include "platform/kernel/KernelSync.h"
#include "platform/kernel/KernelThreads.h"
#include "platform/kernel/ThreadControl.h"
#include "testsupport/ClockModeGuard.h"
#include "testsupport/ThreadTestSupport.h"

namespace {

constexpr DWORD kBadCount = 0xFFFFFFFF;

// Threads really run here: scaled time at real speed.
class ThreadTest : public ::testing::Test {
protected:
    void SetUp() override { ClockModeGuard::Clock().SetScaled(1.0); }

    // Starts proc suspended and returns a handle of its own that outlives the thread object.
    static HANDLE StartSuspended(AFX_THREADPROC proc, LPVOID param, CWinThread** thread = nullptr) {
        CWinThread* t = AfxBeginThread(proc, param, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
        EXPECT_NE(t, nullptr);
        HANDLE own = nullptr;
        EXPECT_TRUE(DuplicateHandle(GetCurrentProcess(), t->m_hThread, GetCurrentProcess(), &own, 0,
                                    FALSE, DUPLICATE_SAME_ACCESS));
        if (thread != nullptr)
            *thread = t;
        return own;
    }

    ClockModeGuard m_guard;
};

TEST_F(ThreadTest, SuspendedThreadDoesNothingVisibleUntilResumed) {
    Counter counter;
    const HANDLE h = StartSuspended(&Counter::Run, &counter);
    HostPause();
    EXPECT_EQ(counter.count.load(), 0); // created suspended: proc has not begun
    EXPECT_EQ(ResumeThread(h), 1u);
    ASSERT_TRUE(Eventually([&] { return counter.count.load() > 0; }));

    EXPECT_EQ(SuspendThread(h), 0u);
    const long frozen = counter.count.load();
    HostPause();
    EXPECT_EQ(counter.count.load(), frozen);

    EXPECT_EQ(ResumeThread(h), 1u);
    ASSERT_TRUE(Eventually([&] { return counter.count.load() > frozen; }));

    counter.stop = true;
    EXPECT_EQ(WaitForSingleObject(h, INFINITE), WAIT_OBJECT_0);
    EXPECT_TRUE(CloseHandle(h));
}

TEST_F(ThreadTest, SuspensionsNest) {
    Counter counter;
    const HANDLE h = StartSuspended(&Counter::Run, &counter);
    EXPECT_EQ(ResumeThread(h), 1u);
    ASSERT_TRUE(Eventually([&] { return counter.count.load() > 0; }));

    EXPECT_EQ(SuspendThread(h), 0u);
    EXPECT_EQ(SuspendThread(h), 1u);
    const long frozen = counter.count.load();
    EXPECT_EQ(ResumeThread(h), 2u); // one resume is not enough
    HostPause();
    EXPECT_EQ(counter.count.load(), frozen);
    EXPECT_EQ(ResumeThread(h), 1u);
    ASSERT_TRUE(Eventually([&] { return counter.count.load() > frozen; }));
    EXPECT_EQ(ResumeThread(h), 0u); // not suspended: the count stays at zero

    counter.stop = true;
    EXPECT_EQ(WaitForSingleObject(h, INFINITE), WAIT_OBJECT_0);
    CloseHandle(h);
}

struct Waiter {
    HANDLE event = nullptr;
    std::atomic<int> wakeups{0};
    std::atomic<bool> stop{false};

    static UINT Run(LPVOID param) {
        auto* self = static_cast<Waiter*>(param);
        while (!self->stop.load()) {
            if (WaitForSingleObject(self->event, INFINITE) == WAIT_OBJECT_0)
                self->wakeups.fetch_add(1);
        }
        return 0;
    }
};

TEST_F(ThreadTest, ThreadBlockedInAWaitParksBeforeTheWaitReturns) {
    Waiter waiter;
    waiter.event = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    const HANDLE h = StartSuspended(&Waiter::Run, &waiter);
    ResumeThread(h);
    HostPause(); // lets the waiter block in its wait

    // Suspending a thread blocked in a wait returns at once.
    EXPECT_EQ(SuspendThread(h), 0u);
    EXPECT_TRUE(SetEvent(waiter.event));
    HostPause();
    EXPECT_EQ(waiter.wakeups.load(), 0);

    EXPECT_EQ(ResumeThread(h), 1u);
    ASSERT_TRUE(Eventually([&] { return waiter.wakeups.load() == 1; }));

    waiter.stop = true;
    SetEvent(waiter.event);
    EXPECT_EQ(WaitForSingleObject(h, INFINITE), WAIT_OBJECT_0);
    CloseHandle(h);
    CloseHandle(waiter.event);
}

struct Locker {
    CCriticalSection* section = nullptr;
    std::atomic<bool> owned{false};

    static UINT Run(LPVOID param) {
        auto* self = static_cast<Locker*>(param);
        self->section->Lock();
        self->owned = true;
        self->section->Unlock();
        return 0;
    }
};

TEST_F(ThreadTest, CriticalSectionIsRecursiveAndBlockingCountsAsAWait) {
    CCriticalSection section;
    EXPECT_TRUE(section.Lock());
    EXPECT_TRUE(section.Lock()); // the owner may enter again

    Locker locker;
    locker.section = &section;
    const HANDLE h = StartSuspended(&Locker::Run, &locker);
    ResumeThread(h);
    HostPause(); // lets the locker reach Lock and block there
    // Blocked in Lock, the locker counts as stopped: suspending it returns.
    EXPECT_EQ(SuspendThread(h), 0u);

    EXPECT_TRUE(section.Unlock());
    HostPause();
    EXPECT_FALSE(locker.owned.load()); // still held once
    EXPECT_TRUE(section.Unlock());
    HostPause();
    EXPECT_FALSE(locker.owned.load()); // free now, but the locker is suspended
    EXPECT_FALSE(section.Unlock());    // not the owner any more

    EXPECT_EQ(ResumeThread(h), 1u);
    EXPECT_EQ(WaitForSingleObject(h, INFINITE), WAIT_OBJECT_0);
    EXPECT_TRUE(locker.owned.load());
    CloseHandle(h);
}

// Runs without any platform call until released, then counts through platform calls.
struct Holdout {
    std::atomic<bool> running{false}; // past its start, where it makes no platform call
    std::atomic<bool> release{false};
    std::shared_ptr<ThreadControl> control; // its suspension count shows a suspender waiting
    Counter counter;

    static UINT Run(LPVOID param) {
        auto* self = static_cast<Holdout*>(param);
        self->control = ThreadControl::CurrentShared();
        self->running = true;
        while (!self->release.load())
            std::this_thread::yield();
        return Counter::Run(&self->counter);
    }
};

// Suspends another thread and notes when that call has returned.
struct Suspender {
    HANDLE target = nullptr;
    std::atomic<bool> returned{false};

    static UINT Run(LPVOID param) {
        auto* self = static_cast<Suspender*>(param);
        SuspendThread(self->target);
        self->returned = true;
        return 0;
    }
};

TEST_F(ThreadTest, ThreadWaitingInSuspendThreadCountsAsBlockedInAWait) {
    Holdout holdout;
    const HANDLE z = StartSuspended(&Holdout::Run, &holdout);
    ResumeThread(z);
    // On a busy host z may still be starting, at a checkpoint where y's suspension would stop it
    // at once; wait until it runs where it makes no platform call.
    ASSERT_TRUE(Eventually([&] { return holdout.running.load(); }));
    Suspender y;
    y.target = z;
    const HANDLE yh = StartSuspended(&Suspender::Run, &y);
    ResumeThread(yh);
    // y counts z's suspension before it waits in SuspendThread for z, which makes no platform
    // call.
    ASSERT_TRUE(Eventually([&] { return holdout.control->SuspendCount() == 1; }));

    // Suspending y must not wait for z: y is blocked in a platform call.
    std::atomic<bool> suspended{false};
    std::thread outside([&] {
        EXPECT_EQ(SuspendThread(yh), 0u);
        suspended = true;
    });
    const bool suspendReturned = Eventually([&] { return suspended.load(); });
    holdout.release = true; // z reaches a checkpoint and parks; y's call can now return
    outside.join();
    ASSERT_TRUE(suspendReturned);

    HostPause();
    EXPECT_FALSE(y.returned.load()); // y parked before its SuspendThread returned
    EXPECT_EQ(holdout.counter.count.load(), 0);
    EXPECT_EQ(ResumeThread(yh), 1u);
    ASSERT_TRUE(Eventually([&] { return y.returned.load(); }));
    EXPECT_EQ(holdout.counter.count.load(), 0); // z stays suspended by y
    EXPECT_EQ(ResumeThread(z), 1u);
    ASSERT_TRUE(Eventually([&] { return holdout.counter.count.load() > 0; }));

    holdout.counter.stop = true;
    EXPECT_EQ(WaitForSingleObject(yh, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(z, INFINITE), WAIT_OBJECT_0);
    CloseHandle(yh);
    CloseHandle(z);
}

// Ends its thread from a nested call; the local object shows that the stack unwound.
struct Ender {
    std::atomic<bool> unwound{false};
    std::atomic<bool> pastEnd{false};

    struct Sentinel {
        std::atomic<bool>* flag;
        ~Sentinel() { *flag = true; }
    };

    static void Nested(Ender* self) {
        Sentinel sentinel{&self->unwound};
        AfxEndThread(42);
    }
    static UINT Run(LPVOID param) {
        auto* self = static_cast<Ender*>(param);
        Nested(self);
        self->pastEnd = true;
        return 7;
    }
    static UINT Return7(LPVOID) { return 7; }
};

TEST_F(ThreadTest, ExitCodeComesFromReturnOrAfxEndThread) {
    struct Case {
        const char* what;
        AFX_THREADPROC proc;
        DWORD code;
    };
    const Case cases[] = {{"return", &Ender::Return7, 7}, {"AfxEndThread", &Ender::Run, 42}};
    for (const Case& c : cases) {
        Ender ender;
        const HANDLE h = StartSuspended(c.proc, &ender);
        DWORD code = 0;
        EXPECT_TRUE(GetExitCodeThread(h, &code)) << c.what;
        EXPECT_EQ(code, STILL_ACTIVE) << c.what;
        EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_TIMEOUT) << c.what;
        ResumeThread(h);
        EXPECT_EQ(WaitForSingleObject(h, INFINITE), WAIT_OBJECT_0) << c.what;
        EXPECT_TRUE(GetExitCodeThread(h, &code)) << c.what;
        EXPECT_EQ(code, c.code) << c.what;
        EXPECT_EQ(ender.unwound.load(), c.proc == &Ender::Run) << c.what;
        EXPECT_FALSE(ender.pastEnd.load()) << c.what;
        // A thread that has ended does not block its suspender.
        EXPECT_EQ(SuspendThread(h), 0u) << c.what;
        CloseHandle(h);
    }
}

TEST_F(ThreadTest, AutoDeleteClosesTheFrameworkHandleWhenTheThreadEnds) {
    for (const BOOL autoDelete : {TRUE, FALSE}) {
        CWinThread* thread = nullptr;
        const HANDLE own = StartSuspended(&Ender::Return7, nullptr, &thread);
        const HANDLE framework = thread->m_hThread;
        thread->m_bAutoDelete = autoDelete;
        ResumeThread(own);
        EXPECT_EQ(WaitForSingleObject(own, INFINITE), WAIT_OBJECT_0);
        if (autoDelete) {
            EXPECT_EQ(WaitForSingleObject(framework, 0), WAIT_FAILED);
        } else {
            EXPECT_EQ(WaitForSingleObject(framework, 0), WAIT_OBJECT_0);
            delete thread;
            EXPECT_EQ(WaitForSingleObject(framework, 0), WAIT_FAILED);
        }
        EXPECT_EQ(WaitForSingleObject(own, 0), WAIT_OBJECT_0); // the duplicate lives on
        CloseHandle(own);
    }
}

struct IdProbe {
    std::atomic<DWORD> id{0};
    std::atomic<int> priority{-1};

    static UINT Run(LPVOID param) {
        auto* self = static_cast<IdProbe*>(param);
        self->id = GetCurrentThreadId();
        self->priority = GetThreadPriority(GetCurrentThread());
        return 0;
    }
};

TEST_F(ThreadTest, ThreadIdsAndPriorities) {
    IdProbe probe;
    CWinThread* thread = nullptr;
    const HANDLE h = StartSuspended(&IdProbe::Run, &probe, &thread);
    const DWORD reported = thread->m_nThreadID;
    EXPECT_EQ(GetThreadPriority(h), THREAD_PRIORITY_NORMAL);
    EXPECT_TRUE(SetThreadPriority(h, THREAD_PRIORITY_HIGHEST));
    EXPECT_FALSE(SetThreadPriority(h, 8));
    EXPECT_FALSE(SetThreadPriority(h, -1));
    ResumeThread(h);
    WaitForSingleObject(h, INFINITE);
    EXPECT_EQ(probe.id.load(), reported);
    EXPECT_EQ(probe.priority.load(), THREAD_PRIORITY_HIGHEST);
    CloseHandle(h);

    const DWORD mine = GetCurrentThreadId();
    EXPECT_EQ(GetCurrentThreadId(), mine);
    DWORD other = 0;
    std::thread([&] { other = GetCurrentThreadId(); }).join();
    for (const DWORD id : {mine, other, reported}) {
        EXPECT_NE(id, 0u);
        EXPECT_NE(id, 0xFFFFFFFFu);
    }
    EXPECT_NE(mine, other);
    EXPECT_NE(mine, reported);
    EXPECT_NE(other, reported);
}

TEST_F(ThreadTest, HandleOfAThreadThePlatformDidNotStartSignalsWhenItExits) {
    std::atomic<HANDLE> shared{nullptr};
    std::atomic<bool> release{false};
    std::thread host([&] {
        HANDLE own = nullptr;
        DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &own, 0,
                        FALSE, DUPLICATE_SAME_ACCESS);
        shared = own;
        while (!release.load())
            Sleep(1);
    });
    ASSERT_TRUE(Eventually([&] { return shared.load() != nullptr; }));
    const HANDLE h = shared.load();
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_TIMEOUT);
    release = true;
    host.join();
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(CloseHandle(h));
}

TEST_F(ThreadTest, BadHandlesFail) {
    CEvent event;
    HANDLE closed = CreateEvent(nullptr, TRUE, TRUE, nullptr);
    ASSERT_TRUE(CloseHandle(closed));
    for (const HANDLE bad : {HANDLE(nullptr), closed, reinterpret_cast<HANDLE>(0x7FFF0001)}) {
        DWORD code = 0;
        EXPECT_EQ(SuspendThread(bad), kBadCount);
        EXPECT_EQ(ResumeThread(bad), kBadCount);
        EXPECT_EQ(WaitForSingleObject(bad, 0), WAIT_FAILED);
        EXPECT_FALSE(GetExitCodeThread(bad, &code));
        EXPECT_EQ(GetThreadPriority(bad), THREAD_PRIORITY_ERROR_RETURN);
        EXPECT_FALSE(SetEvent(bad));
        EXPECT_FALSE(CloseHandle(bad));
    }
    // An event is not a thread, and a thread is not an event.
    EXPECT_EQ(SuspendThread(event), kBadCount);
    HANDLE self = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self,
                                0, FALSE, DUPLICATE_SAME_ACCESS));
    EXPECT_FALSE(SetEvent(self));
    EXPECT_TRUE(CloseHandle(self));
}

} // namespace
