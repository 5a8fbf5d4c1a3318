// The task switcher on a device running several programs: which windows are listed and in
// which order, the fold of one process's windows, the 20-slot limit, and what each task key
// does to the programs and to the list.
#include <device/EventLog.h>
#include <device/Scheduler.h>

#include "TaskPrograms.h"
#include "TypingLayouts.h"
#include "panel/TaskSwitcher.h"

using namespace skintest;

namespace {

using Slots = std::vector<HWND>;

// The task face: for slots 0 to 2 a close key and a title key; slot 19's title key; close
// all, desktop, refresh and an action beyond 4 on slot 0; a key for slot 25 and one for slot 5.
Layout taskFace() {
    Layout layout;
    layout.flags = LF_TASKS;
    layout.picture = bmpPicture(240, 80, 0xE0E0E0);
    auto task = [](BYTE action, WORD slot, RECT r) { return Key{KF_TASKS, slot, action, r}; };
    layout.rows = {
        {task(kTaskClose, 0, rect(0, 0, 40, 20)), task(kTaskActivate, 0, rect(40, 0, 120, 20)),
         task(kTaskClose, 1, rect(120, 0, 160, 20)), task(kTaskActivate, 1, rect(160, 0, 240, 20))},
        {task(kTaskClose, 2, rect(0, 20, 40, 40)), task(kTaskActivate, 2, rect(40, 20, 120, 40)),
         task(kTaskActivate, 19, rect(120, 20, 240, 40))},
        {task(kTaskCloseAll, 0, rect(0, 40, 60, 60)), task(kTaskDesktop, 0, rect(60, 40, 120, 60)),
         task(kTaskRefresh, 0, rect(120, 40, 180, 60)), task(7, 0, rect(180, 40, 240, 60))},
        {task(kTaskActivate, 25, rect(0, 60, 120, 80)),
         task(kTaskActivate, 5, rect(120, 60, 240, 80))},
    };
    return layout;
}

// Points on the face's keys.
constexpr POINT kClose0{20, 10}, kTitle0{80, 10}, kClose1{140, 10}, kTitle1{200, 10};
constexpr POINT kTitle2{80, 30};
constexpr POINT kCloseAll{30, 50}, kDesktop{90, 50}, kRefresh{150, 50}, kAction7{210, 50};
constexpr POINT kSlot25{60, 70}, kSlot5{180, 70};

class TaskSwitcher : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        tasktest::registerTaskPrograms();
        writePortraitSkin({taskFace()});
        createPanel();
    }
    void TearDown() override {
        tasktest::closeTaskPrograms();
        for (HWND window : m_ownWindows)
            DestroyWindow(window);
        PanelTest::TearDown();
    }

    void press(POINT point) { tap(point.x, point.y); }
    Slots listed() const {
        Slots slots;
        for (HWND window : panel->taskWnd) {
            if (window != nullptr)
                slots.push_back(window);
        }
        return slots;
    }
    size_t beeps() const { return device::eventsOfKind(u"beep").size(); }
    // A top-level tool window of the test's own, as the shell's windows are.
    HWND ownWindow(const WCHAR* className) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.lpszClassName = className;
        RegisterClassW(&wc);
        HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, className, u"Today", WS_POPUP | WS_VISIBLE,
                                      0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        m_ownWindows.push_back(window);
        return window;
    }
    static bool gone(HWND window) { return !IsWindow(window); }

    std::vector<HWND> m_ownWindows;
};

TEST_F(TaskSwitcher, VisibleTitledApplicationWindowsAreListedTopmostFirst) {
    auto alpha = tasktest::openWindows(u"Alpha");
    auto beta = tasktest::openWindows(u"Tool/t;Hidden/h;/;Styled/s;Beta");
    auto gamma = tasktest::openWindows(u"Gamma");
    ASSERT_EQ(beta.size(), 5u);
    RefreshTaskList(*panel);
    EXPECT_EQ(listed(), (Slots{gamma[0], beta[4], alpha[0]}));
    EXPECT_EQ(taskCount, 3);
    // The empty slots are null, and a refresh starts from nothing.
    EXPECT_EQ(panel->taskWnd[3], nullptr);
    panel->taskWnd.fill(alpha[0]);
    RefreshTaskList(*panel);
    EXPECT_EQ(listed(), (Slots{gamma[0], beta[4], alpha[0]}));
}

TEST_F(TaskSwitcher, OneProcessIsListedOnceForEachDifferentTitle) {
    auto mail = tasktest::openWindows(u"Inbox;Inbox;Outbox");
    auto other = tasktest::openWindows(u"Inbox");
    RefreshTaskList(*panel);
    // Another process's "Inbox" is a task of its own; the second "Inbox" of mail is not.
    EXPECT_EQ(listed(), (Slots{other[0], mail[2], mail[1]}));
}

TEST_F(TaskSwitcher, ADocumentListGivesItsSlotToTheNextWindowOfItsProcess) {
    auto alpha = tasktest::openWindows(u"Alpha");
    auto word = tasktest::openWindows(u"Letter;Word/d");
    auto beta = tasktest::openWindows(u"Beta");
    RefreshTaskList(*panel);
    EXPECT_EQ(listed(), (Slots{beta[0], word[0], alpha[0]}));
    EXPECT_EQ(taskCount, 3);

    // A document list below the process's first listed window takes nothing.
    tasktest::closeTaskPrograms();
    tasktest::registerTaskPrograms();
    auto files = tasktest::openWindows(u"List/d;Document");
    RefreshTaskList(*panel);
    EXPECT_EQ(listed(), (Slots{files[1], files[0]}));
}

TEST_F(TaskSwitcher, TwentyWindowsFillTheListAndTheEnumerationStops) {
    std::u16string many;
    for (int i = 0; i < 25; ++i)
        many += (i ? u";T" : u"T") + platform::fromUtf8(std::to_string(i));
    auto windows = tasktest::openWindows(many);
    ASSERT_EQ(windows.size(), 25u);
    RefreshTaskList(*panel);
    EXPECT_EQ(taskCount, 20);
    EXPECT_EQ(panel->taskWnd[0], windows[24]);
    EXPECT_EQ(panel->taskWnd[19], windows[5]);
    EXPECT_FALSE(TaskEnumProc(windows[0], reinterpret_cast<LPARAM>(panel.get())));
}

TEST_F(TaskSwitcher, ClosingATaskClosesEveryWindowOfItsProcessThenRefreshes) {
    auto alpha = tasktest::openWindows(u"Alpha");
    auto beta = tasktest::openWindows(u"Beta;Beta Two");
    press(kRefresh);
    ASSERT_EQ(listed(), (Slots{beta[1], beta[0], alpha[0]}));
    const DWORD before = GetTickCount();
    press(kClose0);
    EXPECT_TRUE(gone(beta[0]));
    EXPECT_TRUE(gone(beta[1]));
    EXPECT_FALSE(gone(alpha[0]));
    EXPECT_LT(GetTickCount() - before, 1000u);  // the process ended within the wait
    EXPECT_EQ(listed(), Slots{alpha[0]});
    EXPECT_EQ(beeps(), 0u);
}

TEST_F(TaskSwitcher, AProgramThatDoesNotEndIsWaitedForOneSecondAndStaysListed) {
    auto stubborn = tasktest::openWindows(u"!Stubborn");
    auto alpha = tasktest::openWindows(u"Alpha");
    press(kRefresh);
    ASSERT_EQ(listed(), (Slots{alpha[0], stubborn[0]}));
    const DWORD before = GetTickCount();
    press(kClose1);
    EXPECT_EQ(GetTickCount() - before, 1000u);
    EXPECT_EQ(listed(), (Slots{alpha[0], stubborn[0]}));
}

TEST_F(TaskSwitcher, CloseAllAsksEveryListedProcessPausesAndKeepsTheOldList) {
    auto tool = tasktest::openWindows(u"Palette/t");
    auto alpha = tasktest::openWindows(u"Alpha");
    auto beta = tasktest::openWindows(u"Beta;Beta Two");
    press(kRefresh);
    const Slots before = listed();
    ASSERT_EQ(before, (Slots{beta[1], beta[0], alpha[0]}));
    const DWORD start = GetTickCount();
    panel->pressedKey = panel->layout->keyAt(kCloseAll.x, kCloseAll.y);
    OnTaskKey(*panel);
    EXPECT_EQ(GetTickCount() - start, 1000u);
    EXPECT_EQ(listed(), before);
    ASSERT_TRUE(device::waitForOtherThreadsIdle(10000));
    EXPECT_TRUE(gone(alpha[0]));
    EXPECT_TRUE(gone(beta[0]));
    EXPECT_TRUE(gone(beta[1]));
    EXPECT_FALSE(gone(tool[0]));  // never listed, never asked
    // The next paint finds the vanished windows and brings the list up to date.
    panel->Invalidate(FALSE);
    UpdateWindow(panelWindow());
    EXPECT_TRUE(listed().empty());
}

TEST_F(TaskSwitcher, AnEmptySlotBeepsASlotBeyondTheListDoesNothing) {
    auto alpha = tasktest::openWindows(u"Alpha");
    press(kRefresh);
    press(kTitle2);
    EXPECT_EQ(beeps(), 1u);
    EXPECT_EQ(device::eventsOfKind(u"beep")[0].text, u"0x40");
    press(kSlot25);
    press(kSlot5);
    EXPECT_EQ(beeps(), 2u);  // slot 5 is empty; slot 25 is beyond the 20
    // An action above 4 closes, as action 0 does.
    press(kAction7);
    EXPECT_TRUE(gone(alpha[0]));
    EXPECT_TRUE(listed().empty());
}

TEST_F(TaskSwitcher, AVanishedWindowRebuildsTheListInsteadOfActing) {
    auto alpha = tasktest::openWindows(u"Alpha");
    auto beta = tasktest::openWindows(u"Beta");
    press(kRefresh);
    ASSERT_EQ(listed(), (Slots{beta[0], alpha[0]}));
    PostMessageW(beta[0], WM_CLOSE, 0, 0);
    ASSERT_TRUE(device::waitForOtherThreadsIdle(10000));
    ASSERT_TRUE(gone(beta[0]));
    HWND other = ownWindow(u"TaskTestOther");
    SetForegroundWindow(other);
    ASSERT_TRUE(device::waitForOtherThreadsIdle(10000));
    // The key acts before any paint has noticed the vanished window.
    panel->pressedKey = panel->layout->keyAt(kTitle0.x, kTitle0.y);
    OnTaskKey(*panel);
    EXPECT_EQ(listed(), Slots{alpha[0]});
    EXPECT_EQ(GetForegroundWindow(), other);  // nothing was brought to the front
    EXPECT_EQ(beeps(), 0u);
    // The face is painted again with the new list.
    EXPECT_TRUE(GetUpdateRect(panelWindow(), nullptr, FALSE));
}

TEST_F(TaskSwitcher, TitleKeyBringsItsTaskToTheFrontAndTheDesktopKeyTheDesktop) {
    auto alpha = tasktest::openWindows(u"Alpha");
    auto beta = tasktest::openWindows(u"Beta");
    press(kRefresh);
    press(kTitle1);
    EXPECT_EQ(GetForegroundWindow(), alpha[0]);
    press(kTitle0);
    EXPECT_EQ(GetForegroundWindow(), beta[0]);

    press(kDesktop);  // no desktop on this device yet
    EXPECT_EQ(GetForegroundWindow(), beta[0]);
    HWND desktop = ownWindow(u"DesktopExplorerWindow");
    press(kDesktop);
    EXPECT_EQ(GetForegroundWindow(), desktop);
    // The list is what it was: none of these keys refreshes it.
    EXPECT_EQ(listed(), (Slots{beta[0], alpha[0]}));
}

TEST_F(TaskSwitcher, EnteringTheFaceAndMovingThePanelRefreshTheList) {
    writePortraitSkin({typingLayout(), taskFace()});
    panel.reset();
    UnregisterClassW(kPanelClassName, GetModuleHandleW(nullptr));
    createPanel();
    auto alpha = tasktest::openWindows(u"Alpha");
    EXPECT_TRUE(listed().empty());
    tap(220, 20);  // the typing face's key to layout 1
    ASSERT_EQ(panel->layout->index, 1);
    EXPECT_EQ(listed(), Slots{alpha[0]});
    auto beta = tasktest::openWindows(u"Beta");
    SetWindowPos(panelWindow(), nullptr, 0, 1, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(listed(), (Slots{beta[0], alpha[0]}));
}

}  // namespace
