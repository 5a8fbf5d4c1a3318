// The device clock: virtual time moves only when told to, Sleep moves it, advanceClock lets
// other threads see each of their deadlines, and the wall clock runs on from a set time.
#include <device/Clock.h>
#include <device/Scheduler.h>
#include <winbase.h>

#include <thread>
#include <vector>

#include "DeviceTest.h"

namespace {

using Clock = DeviceTest;

TEST_F(Clock, VirtualTimeMovesOnlyWhenAdvancedOrSlept) {
    EXPECT_EQ(GetTickCount(), 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(GetTickCount(), 0u);
    Sleep(250);
    EXPECT_EQ(GetTickCount(), 250u);
    device::advanceClock(1000);
    EXPECT_EQ(GetTickCount(), 1250u);
}

TEST_F(Clock, AdvanceStopsAtEveryDeadlineOfAWaitingThread) {
    // A thread that wakes at every 100 ms deadline and notes the time it woke at.
    std::vector<uint64_t> wakes;
    std::atomic<bool> ready{false};
    std::thread ticker([&] {
        std::unique_lock lock(device::deviceMutex());
        ready = true;
        uint64_t next = 100;
        std::function<bool()> never = [] { return false; };
        std::function<uint64_t()> deadline = [&] { return next; };
        while (next <= 500) {
            device::waitUntil(lock, never, deadline, device::WaitKind::FollowsClock);
            wakes.push_back(device::nowMs());
            next += 100;
        }
    });
    while (!ready)
        std::this_thread::yield();
    device::advanceClock(450);
    {
        std::lock_guard lock(device::deviceMutex());
        EXPECT_EQ(wakes, (std::vector<uint64_t>{100, 200, 300, 400}));
    }
    device::advanceClock(100);
    ticker.join();
    EXPECT_EQ(wakes, (std::vector<uint64_t>{100, 200, 300, 400, 500}));
    EXPECT_EQ(device::nowMs(), 550u);
}

TEST_F(Clock, LocalTimeRunsOnFromTheTimeSet) {
    SYSTEMTIME set{2026, 12, 0, 8, 23, 59, 59, 500};
    device::setDeviceLocalTime(set);
    device::advanceClock(600);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    EXPECT_EQ(now.wYear, 2026);
    EXPECT_EQ(now.wMonth, 12);
    EXPECT_EQ(now.wDay, 9);
    EXPECT_EQ(now.wDayOfWeek, 3);  // Wednesday
    EXPECT_EQ(now.wHour, 0);
    EXPECT_EQ(now.wMinute, 0);
    EXPECT_EQ(now.wSecond, 0);
    EXPECT_EQ(now.wMilliseconds, 100);
}

}  // namespace
