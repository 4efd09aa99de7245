#include <gtest/gtest.h>

#include <atomic>

#include "platform/kernel/CEvent.h"
#include "platform/kernel/CWinThread.h"
#include "platform/kernel/DeviceClock.h"
#include "platform/kernel/KernelSync.h"
#include "platform/kernel/KernelTime.h"
#include "testsupport/ClockModeGuard.h"
#include "testsupport/ThreadTestSupport.h"

namespace {

class WaitTest : public ::testing::Test {
protected:
    ClockModeGuard m_guard;
};

TEST_F(WaitTest, TimeoutsInManualTimeTakeExactlyTheirDeviceTime) {
    ClockModeGuard::Clock().SetManual();
    CEvent event;
    for (const DWORD timeout : {0u, 1u, 30u, 250u, 60000u}) {
        const DWORD start = GetTickCount();
        EXPECT_EQ(WaitForSingleObject(event, timeout), WAIT_TIMEOUT) << timeout;
        EXPECT_EQ(GetTickCount() - start, timeout);
    }
}

TEST_F(WaitTest, TimeoutsInScaledTimeLetTheirDeviceTimePass) {
    DeviceClock& clock = ClockModeGuard::Clock();
    clock.SetScaled(50);
    CEvent event;
    for (const DWORD timeout : {1u, 30u, 100u}) {
        const std::uint64_t start = clock.NowUs();
        EXPECT_EQ(WaitForSingleObject(event, timeout), WAIT_TIMEOUT) << timeout;
        EXPECT_GE(clock.NowUs() - start, std::uint64_t(timeout) * 1000) << timeout;
        const std::uint64_t sleepStart = clock.NowUs();
        Sleep(timeout);
        EXPECT_GE(clock.NowUs() - sleepStart, std::uint64_t(timeout) * 1000) << timeout;
    }
}

TEST_F(WaitTest, SignalledObjectsReturnAtOnceWithoutTime) {
    ClockModeGuard::Clock().SetManual();
    CEvent event(TRUE, TRUE);
    const DWORD start = GetTickCount();
    EXPECT_EQ(WaitForSingleObject(event, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(GetTickCount(), start);
}

TEST_F(WaitTest, AutoResetEventReleasesOneWaitManualResetStaysSet) {
    ClockModeGuard::Clock().SetManual();
    struct Case {
        BOOL manualReset;
        BOOL initialState;
        DWORD first;
        DWORD second;
    };
    const Case cases[] = {
        {FALSE, FALSE, WAIT_TIMEOUT, WAIT_TIMEOUT},
        {FALSE, TRUE, WAIT_OBJECT_0, WAIT_TIMEOUT},
        {TRUE, FALSE, WAIT_TIMEOUT, WAIT_TIMEOUT},
        {TRUE, TRUE, WAIT_OBJECT_0, WAIT_OBJECT_0},
    };
    for (const Case& c : cases) {
        const HANDLE h = CreateEvent(nullptr, c.manualReset, c.initialState, nullptr);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(WaitForSingleObject(h, 0), c.first) << c.manualReset << c.initialState;
        EXPECT_EQ(WaitForSingleObject(h, 0), c.second) << c.manualReset << c.initialState;

        EXPECT_TRUE(EventModify(h, EVENT_SET));
        EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_OBJECT_0);
        EXPECT_EQ(WaitForSingleObject(h, 0), c.manualReset ? WAIT_OBJECT_0 : WAIT_TIMEOUT);

        EXPECT_TRUE(SetEvent(h));
        EXPECT_TRUE(EventModify(h, EVENT_RESET));
        EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_TIMEOUT);

        // A pulse with nobody waiting leaves the event reset, whatever its state was.
        EXPECT_TRUE(SetEvent(h));
        EXPECT_TRUE(EventModify(h, EVENT_PULSE));
        EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_TIMEOUT);

        EXPECT_FALSE(EventModify(h, 0));
        EXPECT_FALSE(EventModify(h, 4));
        EXPECT_TRUE(CloseHandle(h));
    }
}

TEST_F(WaitTest, CEventWrapsItsHandle) {
    ClockModeGuard::Clock().SetManual();
    HANDLE handle = nullptr;
    {
        CEvent event(FALSE, TRUE);
        handle = event;
        EXPECT_EQ(handle, event.m_hObject);
        EXPECT_FALSE(event.Lock(10));
        EXPECT_TRUE(event.SetEvent());
        EXPECT_TRUE(event.Lock(0));
        EXPECT_TRUE(event.Lock(0)); // manual reset
        EXPECT_TRUE(event.ResetEvent());
        EXPECT_FALSE(event.Lock(0));
    }
    EXPECT_EQ(WaitForSingleObject(handle, 0), WAIT_FAILED); // closed with the object
}

TEST_F(WaitTest, NamedEventIsSharedWhileOpen) {
    ClockModeGuard::Clock().SetManual();
    const HANDLE a = CreateEvent(nullptr, TRUE, FALSE, L"NorvaneWaitTest");
    const HANDLE b = CreateEvent(nullptr, FALSE, FALSE, L"NorvaneWaitTest");
    ASSERT_NE(a, b);
    EXPECT_TRUE(SetEvent(a));
    EXPECT_EQ(WaitForSingleObject(b, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(b, 0), WAIT_OBJECT_0); // the first creator's manual reset
    CloseHandle(a);
    CloseHandle(b);
    const HANDLE fresh = CreateEvent(nullptr, FALSE, FALSE, L"NorvaneWaitTest");
    EXPECT_EQ(WaitForSingleObject(fresh, 0), WAIT_TIMEOUT); // the old one is gone
    CloseHandle(fresh);
}

struct Sleeper {
    HANDLE event = nullptr;
    std::atomic<DWORD> result{0};

    static UINT Run(LPVOID param) {
        auto* self = static_cast<Sleeper*>(param);
        self->result = WaitForSingleObject(self->event, INFINITE);
        return 0;
    }
};

TEST_F(WaitTest, WaitersOnOtherThreadsWakeOnSetAndOnPulse) {
    ClockModeGuard::Clock().SetScaled(1.0);
    for (const DWORD func : {EVENT_SET, EVENT_PULSE}) {
        Sleeper sleeper;
        sleeper.event = CreateEvent(nullptr, TRUE, FALSE, nullptr);
        CWinThread* thread =
            AfxBeginThread(&Sleeper::Run, &sleeper, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
        ASSERT_NE(thread, nullptr);
        HANDLE h = nullptr;
        DuplicateHandle(GetCurrentProcess(), thread->m_hThread, GetCurrentProcess(), &h, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
        ResumeThread(h);
        EXPECT_EQ(WaitForSingleObject(h, 20), WAIT_TIMEOUT) << func;
        // A pulse releases only a wait under way: repeat it until the sleeper has begun waiting.
        ASSERT_TRUE(Eventually([&] {
            EventModify(sleeper.event, func);
            return WaitForSingleObject(h, 0) == WAIT_OBJECT_0;
        })) << func;
        EXPECT_EQ(sleeper.result.load(), WAIT_OBJECT_0) << func;
        EXPECT_EQ(WaitForSingleObject(sleeper.event, 0),
                  func == EVENT_SET ? WAIT_OBJECT_0 : WAIT_TIMEOUT)
            << func;
        CloseHandle(h);
        CloseHandle(sleeper.event);
    }
}

} // namespace
