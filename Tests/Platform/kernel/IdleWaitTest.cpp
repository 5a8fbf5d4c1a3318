// Waiting until the other device threads have handled what was queued for them, and what the
// event log and the program table tell about processes that ran.
#include <device/Clock.h>
#include <device/EventLog.h>
#include <device/Programs.h>
#include <device/Scheduler.h>
#include <winbase.h>

#include <atomic>
#include <thread>

#include "DeviceTest.h"

namespace {

using IdleWait = DeviceTest;

HANDLE g_go = nullptr;
std::atomic<int> g_steps{0};

int stepperMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    for (int i = 0; i < 3; ++i) {
        WaitForSingleObject(g_go, INFINITE);
        ++g_steps;
    }
    return 5;
}

TEST_F(IdleWait, ReturnsOnlyOnceTheOtherThreadHasDoneItsWorkAndWaitsAgain) {
    g_go = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    g_steps = 0;
    device::registerProgram(u"Stepper.exe", stepperMain);
    PROCESS_INFORMATION info{};
    WCHAR line[] = u"now";
    ASSERT_TRUE(CreateProcessW(u"Stepper.exe", line, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               nullptr, &info));
    for (int i = 1; i <= 3; ++i) {
        SetEvent(g_go);
        ASSERT_TRUE(device::waitForOtherThreadsIdle(10000));
        EXPECT_EQ(g_steps.load(), i);
    }
    // The clock never moved while the caller waited.
    EXPECT_EQ(device::nowMs(), 0u);
    EXPECT_EQ(WaitForSingleObject(info.hProcess, INFINITE), WAIT_OBJECT_0);

    EXPECT_EQ(device::processImagePath(info.dwProcessId), u"\\Windows\\Stepper.exe");
    EXPECT_EQ(device::processImagePath(GetCurrentProcessId()), u"\\Windows\\explorer.exe");
    EXPECT_EQ(device::processImagePath(0xDEAD), u"");
    auto exits = device::eventsOfKind(u"exit");
    ASSERT_EQ(exits.size(), 1u);
    EXPECT_EQ(exits[0].text, u"Stepper.exe now, code 5");
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    CloseHandle(g_go);
}

TEST_F(IdleWait, TimesOutWhileAnotherThreadStaysBusy) {
    std::atomic<bool> stop{false};
    std::thread busy([&] {
        device::enrolCurrentThread();
        while (!stop)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        device::leaveCurrentThread();
    });
    while (true) {
        // Until the busy thread has enrolled, the device may look idle.
        if (!device::waitForOtherThreadsIdle(50))
            break;
    }
    stop = true;
    busy.join();
    EXPECT_TRUE(device::waitForOtherThreadsIdle(1000));
}

}  // namespace
