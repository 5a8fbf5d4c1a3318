// Timers on the device clock: due timers fire at their due times in order as the clock
// advances, periods are clamped, setting again re-arms, killed timers stay quiet, and a
// thread timer calls its procedure through DispatchMessage.
#include "UserTest.h"

using namespace usertest;

namespace {

struct Fired {
    UINT_PTR id;
    uint64_t at;
    bool operator==(const Fired&) const = default;
};

std::mutex firedMutex;
std::vector<Fired> fired;

void record(UINT_PTR id) {
    std::lock_guard lock(firedMutex);
    fired.push_back(Fired{id, device::nowMs()});
}

std::vector<Fired> firedSoFar() {
    std::lock_guard lock(firedMutex);
    return fired;
}

void pumpTimers() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_TIMER && m.lParam == 0)
            record(m.wParam);
        DispatchMessageW(&m);
    }
}

VOID CALLBACK timerProc(HWND, UINT msg, UINT_PTR id, DWORD) {
    if (msg == WM_TIMER)
        record(id + 1000);
}

// Each case records its own timers.
class Timers : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        std::lock_guard lock(firedMutex);
        fired.clear();
    }
};

}  // namespace

TEST_F(Timers, DueTimersFireInOrderAtTheirDueTimesAsAnotherThreadAdvancesTheClock) {
    std::atomic<bool> ready{false};
    std::atomic<DWORD> workerId{0};
    Worker worker([&] {
        HWND h = makeWindow(WS_POPUP, 0, 0, 10, 10);
        SetTimer(h, 1, 30, nullptr);
        SetTimer(h, 2, 50, nullptr);
        workerId = GetCurrentThreadId();
        ready = true;
        MSG m;
        while (GetMessageW(&m, nullptr, 0, 0) > 0) {
            if (m.message == WM_TIMER)
                record(m.wParam);
            DispatchMessageW(&m);
        }
    });
    ASSERT_TRUE(eventually([&] { return ready.load(); }));
    device::advanceClock(1);  // returns once the worker waits in GetMessage
    device::advanceClock(119);
    EXPECT_EQ(firedSoFar(),
              (std::vector<Fired>{{1, 30}, {2, 50}, {1, 60}, {1, 90}, {2, 100}, {1, 120}}));
    PostThreadMessageW(workerId, WM_QUIT, 0, 0);
}

TEST_F(Timers, PeriodsAreClampedResetRearmsAndKilledTimersStayQuiet) {
    HWND h = makeWindow(WS_POPUP, 0, 0, 10, 10);
    EXPECT_EQ(SetTimer(h, 7, 0, nullptr), 7u);  // 0 becomes USER_TIMER_MINIMUM: no spinning
    for (int step = 0; step < 3; ++step) {
        device::advanceClock(5);
        pumpTimers();
    }
    EXPECT_EQ(firedSoFar(), (std::vector<Fired>{{7, 10}}));
    // Setting it again with another period re-arms it from now.
    SetTimer(h, 7, 40, nullptr);  // at 15: due at 55
    for (int step = 0; step < 10; ++step) {
        device::advanceClock(5);
        pumpTimers();
    }
    EXPECT_EQ(firedSoFar(), (std::vector<Fired>{{7, 10}, {7, 55}}));
    EXPECT_TRUE(KillTimer(h, 7));
    EXPECT_FALSE(KillTimer(h, 7));
    device::advanceClock(100);
    pumpTimers();
    EXPECT_EQ(firedSoFar().size(), 2u);

    // A thread that is late gets one WM_TIMER, and the next period counts from its delivery.
    SetTimer(h, 8, 20, nullptr);  // at 165: due at 185
    device::advanceClock(70);     // 235
    pumpTimers();
    device::advanceClock(19);  // 254: not yet due (235 + 20)
    pumpTimers();
    device::advanceClock(1);
    pumpTimers();
    EXPECT_EQ(firedSoFar(), (std::vector<Fired>{{7, 10}, {7, 55}, {8, 235}, {8, 255}}));

    // A destroyed window's timers go with it.
    DestroyWindow(h);
    device::advanceClock(100);
    pumpTimers();
    EXPECT_EQ(firedSoFar().size(), 4u);
}

TEST_F(Timers, ThreadTimersCallTheirProcedureThroughDispatchMessage) {
    UINT_PTR id = SetTimer(nullptr, 0, 25, timerProc);
    ASSERT_NE(id, 0u);
    UINT_PTR other = SetTimer(nullptr, 0, 40, timerProc);
    EXPECT_NE(other, id);
    for (int step = 0; step < 10; ++step) {
        device::advanceClock(5);
        pumpTimers();
    }
    EXPECT_EQ(firedSoFar(),
              (std::vector<Fired>{{id + 1000, 25}, {other + 1000, 40}, {id + 1000, 50}}));
    // Re-arming by the returned id keeps one timer, not two.
    EXPECT_EQ(SetTimer(nullptr, id, 100, timerProc), id);
    EXPECT_TRUE(KillTimer(nullptr, other));
    for (int step = 0; step < 20; ++step) {
        device::advanceClock(5);
        pumpTimers();
    }
    EXPECT_EQ(firedSoFar().back(), (Fired{id + 1000, 150}));
    EXPECT_EQ(firedSoFar().size(), 4u);
    // A forged WM_TIMER naming a procedure that is no timer's is not called.
    MSG forged{};
    forged.message = WM_TIMER;
    forged.wParam = 99;
    forged.lParam = reinterpret_cast<LPARAM>(&timerProc);
    DispatchMessageW(&forged);
    EXPECT_EQ(firedSoFar().size(), 4u);
}

TEST_F(Timers, WaitMessageReturnsWhenATimerFallsDueOrAMessageArrives) {
    std::atomic<bool> ready{false};
    std::atomic<uint64_t> wokeAt{0};
    std::atomic<uint64_t> wokeAgainAt{0};
    std::atomic<DWORD> workerId{0};
    Worker worker([&] {
        workerId = GetCurrentThreadId();
        SetTimer(nullptr, 0, 40, nullptr);
        ready = true;
        WaitMessage();
        wokeAt = device::nowMs();
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        }
        WaitMessage();  // the next timer is 40 ms away; the posted message comes first
        wokeAgainAt = device::nowMs();
    });
    ASSERT_TRUE(eventually([&] { return ready.load(); }));
    device::advanceClock(1);
    device::advanceClock(59);
    ASSERT_TRUE(eventually([&] { return wokeAt.load() != 0; }));
    EXPECT_EQ(wokeAt.load(), 40u);
    PostThreadMessageW(workerId, WM_APP, 0, 0);
    worker.join();
    EXPECT_EQ(wokeAgainAt.load(), 60u);
}
