#include "keypad/QWorkerThread.h"

#include <atomic>

#include <gtest/gtest.h>

#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/KernelThreads.h"
#include "testsupport/ClockModeGuard.h"
#include "testsupport/ThreadTestSupport.h"

namespace {

// Counts its loops and how often Run was entered and left.
class CountingWorker : public QWorkerThread {
public:
    std::atomic<int> runs{0};
    std::atomic<int> returns{0};
    std::atomic<long> loops{0};

    using QWorkerThread::m_hThread;

protected:
    DWORD Run() override {
        runs.fetch_add(1);
        while (!IsStopRequested(30))
            loops.fetch_add(1);
        returns.fetch_add(1);
        return 0;
    }
};

class QWorkerThreadTest : public ::testing::Test {
protected:
    void SetUp() override { ClockModeGuard::Clock().SetScaled(20.0); }
    ClockModeGuard m_guard;
};

TEST_F(QWorkerThreadTest, SecondStartKeepsTheRunningThread) {
    CountingWorker worker;
    ASSERT_TRUE(worker.Start());
    HANDLE first = worker.m_hThread;
    EXPECT_TRUE(worker.Start());
    EXPECT_EQ(first, worker.m_hThread);
    EXPECT_TRUE(worker.Stop());
    EXPECT_EQ(1, worker.runs.load());
}

TEST_F(QWorkerThreadTest, WithoutThreadEveryOperationIsHarmless) {
    CountingWorker worker;
    EXPECT_TRUE(worker.Stop());
    worker.Suspend();
    EXPECT_EQ(0u, worker.Resume());
    EXPECT_FALSE(worker.IsRunning(0));
    EXPECT_EQ(nullptr, worker.m_hThread);
}

TEST_F(QWorkerThreadTest, StopReturnsOnlyAfterRunReturned) {
    CountingWorker worker;
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(Eventually([&] { return worker.loops.load() > 2; }));
    EXPECT_TRUE(worker.Stop());
    EXPECT_EQ(1, worker.returns.load());
    EXPECT_EQ(nullptr, worker.m_hThread);
    EXPECT_FALSE(worker.IsRunning(0));
}

TEST_F(QWorkerThreadTest, StartAfterStopRunsANewThreadThatKeepsRunning) {
    CountingWorker worker;
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(worker.Stop());
    ASSERT_TRUE(worker.Start());
    // The stop request of the first Stop must not reach the second thread.
    const long before = worker.loops.load();
    ASSERT_TRUE(Eventually([&] { return worker.loops.load() > before + 3; }));
    EXPECT_TRUE(worker.IsRunning(0));
    EXPECT_EQ(1, worker.returns.load());
    EXPECT_TRUE(worker.Stop());
    EXPECT_EQ(2, worker.returns.load());
}

TEST_F(QWorkerThreadTest, SuspendNestsAndStopEndsASuspendedThread) {
    CountingWorker worker;
    ASSERT_TRUE(worker.Start());
    // It counts before it is suspended, so a count that stands still says something.
    ASSERT_TRUE(Eventually([&] { return worker.loops.load() > 0; }));
    worker.Suspend();
    worker.Suspend();
    const long frozen = worker.loops.load();
    HostPause();
    EXPECT_EQ(frozen, worker.loops.load());
    EXPECT_EQ(2u, worker.Resume());
    HostPause();
    EXPECT_EQ(frozen, worker.loops.load()) << "one resume of two must leave it suspended";
    worker.Suspend();
    // Suspended twice: Stop must resume it fully, or the wait for it would never end.
    EXPECT_TRUE(worker.Stop());
    EXPECT_EQ(1, worker.returns.load());
}

TEST_F(QWorkerThreadTest, IsStopRequestedWaitsItsTimeInDeviceTime) {
    ClockModeGuard::Clock().SetManual();
    CountingWorker worker;
    const auto t0 = ClockModeGuard::Clock().NowMs();
    EXPECT_FALSE(worker.IsStopRequested(30));
    EXPECT_EQ(t0 + 30, ClockModeGuard::Clock().NowMs());

    ClockModeGuard::Clock().SetScaled(20.0);
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(worker.Stop());
    ClockModeGuard::Clock().SetManual();
    const auto t1 = ClockModeGuard::Clock().NowMs();
    EXPECT_TRUE(worker.IsStopRequested(30)) << "the request stays signalled after Stop";
    EXPECT_EQ(t1, ClockModeGuard::Clock().NowMs());
}

} // namespace
