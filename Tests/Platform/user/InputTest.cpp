// Injected input: stylus routing by hit test and capture, double taps, activation by a tap,
// keys to the foreground thread's focus window, focus messages, and accelerators.
#include "UserTest.h"
#include "device/Display.h"
#include "device/Input.h"

using namespace usertest;

namespace {

void tap(int x, int y) {
    device::stylusDown(x, y);
    device::stylusUp(x, y);
    pump();
}

std::vector<std::pair<HWND, UINT>> traceOf(const std::vector<UINT>& interesting) {
    std::vector<std::pair<HWND, UINT>> out;
    for (const Seen& s : recorder().all()) {
        if (std::find(interesting.begin(), interesting.end(), s.msg) != interesting.end())
            out.emplace_back(s.hwnd, s.msg);
    }
    return out;
}

}  // namespace

TEST_F(UserTest, StylusGoesToTheWindowUnderItOrToTheCapturingWindow) {
    HWND a = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND b = makeWindow(WS_POPUP | WS_VISIBLE, 100, 0, 100, 100);
    HWND child = makeWindow(WS_CHILD | WS_VISIBLE, 10, 50, 20, 20, b);
    pump();
    ASSERT_EQ(GetForegroundWindow(), b);
    recorder().clear();

    device::stylusDown(10, 12);
    pump();
    auto downs = recorder().with(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].hwnd, a);
    EXPECT_EQ(downs[0].lParam, MAKELPARAM(10, 12));
    EXPECT_EQ(downs[0].wParam, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(GetForegroundWindow(), a);  // the tap activated it
    EXPECT_EQ(GetMessagePos(), static_cast<DWORD>(MAKELONG(10, 12)));

    SetCapture(a);
    EXPECT_EQ(GetCapture(), a);
    device::stylusMove(150, 20);
    device::stylusUp(150, 20);
    pump();
    auto moves = recorder().with(WM_MOUSEMOVE);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].hwnd, a);
    EXPECT_EQ(moves[0].lParam, MAKELPARAM(150, 20));
    EXPECT_EQ(recorder().with(WM_LBUTTONUP).at(0).hwnd, a);
    EXPECT_EQ(recorder().with(WM_LBUTTONUP).at(0).wParam, 0u);

    ReleaseCapture();
    pump();
    ASSERT_EQ(recorder().with(WM_CAPTURECHANGED).size(), 1u);
    EXPECT_EQ(recorder().with(WM_CAPTURECHANGED)[0].hwnd, a);
    EXPECT_EQ(GetCapture(), nullptr);

    // Without capture the deepest window under the point gets it, in its own coordinates.
    recorder().clear();
    tap(115, 55);
    EXPECT_EQ(recorder().with(WM_LBUTTONDOWN).at(0).hwnd, child);
    EXPECT_EQ(recorder().with(WM_LBUTTONDOWN).at(0).lParam, MAKELPARAM(5, 5));
    EnableWindow(child, FALSE);
    recorder().clear();
    tap(115, 55);
    EXPECT_EQ(recorder().with(WM_LBUTTONDOWN).at(0).hwnd, b);  // disabled: its parent gets it

    // Capture moves: the window that loses it is told who has it now.
    recorder().clear();
    SetCapture(b);
    SetCapture(a);
    pump();
    ASSERT_EQ(recorder().with(WM_CAPTURECHANGED).size(), 1u);
    EXPECT_EQ(recorder().with(WM_CAPTURECHANGED)[0].hwnd, b);
    EXPECT_EQ(recorder().with(WM_CAPTURECHANGED)[0].lParam, reinterpret_cast<LPARAM>(a));
    DestroyWindow(a);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(device::stylusDown(500, 500));  // nothing there
}

TEST_F(UserTest, QuickNearSecondTapIsADoubleClickOnlyForDoubleClickClasses) {
    registerRecordingClass(u"Dbl", CS_DBLCLKS);
    HWND d = CreateWindowExW(0, u"Dbl", u"", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                             nullptr, nullptr, nullptr);
    HWND plain = makeWindow(WS_POPUP | WS_VISIBLE, 100, 0, 100, 100);
    pump();
    recorder().clear();
    tap(10, 10);
    device::advanceClock(100);
    tap(12, 11);  // soon and near: a double click
    device::advanceClock(100);
    tap(12, 11);  // the third tap starts over
    device::advanceClock(501);
    tap(12, 11);  // too slow
    device::advanceClock(100);
    tap(30, 30);  // too far
    EXPECT_EQ(recorder().of(d, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN, WM_LBUTTONDOWN,
                                 WM_LBUTTONDOWN}));
    tap(110, 10);
    device::advanceClock(50);
    tap(110, 10);
    EXPECT_EQ(recorder().of(plain, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDOWN}));
}

TEST_F(UserTest, NoActivateWindowsTakeTapsWithoutTakingFocusAndKeysGoToTheFocus) {
    HWND app = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 240, 200);
    HWND edit = makeWindow(WS_CHILD | WS_VISIBLE, 10, 10, 100, 20, app);
    HWND sip = makeWindow(WS_POPUP | WS_VISIBLE, 0, 220, 240, 100, nullptr,
                          WS_EX_TOPMOST | WS_EX_NOACTIVATE);
    HWND key = makeWindow(WS_CHILD | WS_VISIBLE, 0, 0, 240, 100, sip);
    SetFocus(edit);
    pump();
    ASSERT_EQ(GetForegroundWindow(), app);
    recorder().clear();
    tap(5, 230);
    EXPECT_EQ(recorder().with(WM_LBUTTONDOWN).at(0).hwnd, key);
    EXPECT_EQ(GetForegroundWindow(), app);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(device::foregroundFocusWindow(), edit);
    device::typeChar(u'a');
    device::keyDown(VK_BACK);
    pump();
    EXPECT_EQ(recorder().with(WM_CHAR).at(0).hwnd, edit);
    EXPECT_EQ(recorder().with(WM_KEYDOWN).at(0).hwnd, edit);
}

TEST_F(UserTest, FocusMovesWithKillFocusThenSetFocusNamingEachOther) {
    HWND p = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND c1 = makeWindow(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, p);
    HWND c2 = makeWindow(WS_CHILD | WS_VISIBLE, 20, 0, 10, 10, p);
    ASSERT_EQ(GetFocus(), p);
    recorder().clear();
    EXPECT_EQ(SetFocus(c1), p);
    EXPECT_EQ(SetFocus(c2), c1);
    auto seen = recorder().all();
    std::vector<std::tuple<HWND, UINT, WPARAM>> focus;
    for (const Seen& s : seen) {
        if (s.msg == WM_SETFOCUS || s.msg == WM_KILLFOCUS)
            focus.emplace_back(s.hwnd, s.msg, s.wParam);
    }
    auto w = [](HWND h) { return reinterpret_cast<WPARAM>(h); };
    EXPECT_EQ(focus, (std::vector<std::tuple<HWND, UINT, WPARAM>>{{p, WM_KILLFOCUS, w(c1)},
                                                                  {c1, WM_SETFOCUS, w(p)},
                                                                  {c1, WM_KILLFOCUS, w(c2)},
                                                                  {c2, WM_SETFOCUS, w(c1)}}));
    EXPECT_EQ(GetFocus(), c2);

    // Another top-level window in front: deactivation, activation, then the focus moves.
    HWND q = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    SetForegroundWindow(p);
    SetFocus(c2);
    recorder().clear();
    SetForegroundWindow(q);
    EXPECT_EQ(traceOf({WM_ACTIVATE, WM_KILLFOCUS, WM_SETFOCUS}),
              (std::vector<std::pair<HWND, UINT>>{
                  {p, WM_ACTIVATE}, {q, WM_ACTIVATE}, {c2, WM_KILLFOCUS}, {q, WM_SETFOCUS}}));
    auto activations = recorder().with(WM_ACTIVATE);
    EXPECT_EQ(LOWORD(activations[0].wParam), WA_INACTIVE);
    EXPECT_EQ(activations[0].lParam, reinterpret_cast<LPARAM>(q));
    EXPECT_EQ(LOWORD(activations[1].wParam), WA_ACTIVE);
    EXPECT_EQ(activations[1].lParam, reinterpret_cast<LPARAM>(p));
    EXPECT_EQ(GetActiveWindow(), q);

    // A window that goes takes the focus with it, and the next window is activated.
    DestroyWindow(q);
    EXPECT_EQ(GetForegroundWindow(), p);
    EXPECT_EQ(GetFocus(), p);
    EXPECT_EQ(SetFocus(reinterpret_cast<HWND>(0x999)), nullptr);
    EXPECT_EQ(GetFocus(), p);
}

TEST_F(UserTest, AcceleratorsSendCommandsForTheirKeysAndModifiersOnly) {
    HWND a = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    ACCEL table[] = {{FVIRTKEY | FCONTROL, 'S', 100}, {FVIRTKEY, VK_F1, 101}, {0, 'x', 102}};
    HACCEL accel = CreateAcceleratorTableW(table, 3);
    ASSERT_NE(accel, nullptr);
    auto loop = [&] {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (TranslateAcceleratorW(a, accel, &m))
                continue;
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    };
    device::keyDown(VK_CONTROL);
    device::keyDown('S');
    device::keyUp('S');
    device::keyUp(VK_CONTROL);
    device::keyDown('S');  // no Control: not the accelerator, an 's' instead
    device::keyUp('S');
    device::typeChar(u'x');
    device::keyDown(VK_SHIFT);
    device::keyDown(VK_F1);  // Shift is not part of the entry: no match
    device::keyUp(VK_SHIFT);
    device::keyDown(VK_F1);
    loop();
    std::vector<WPARAM> commands;
    for (const Seen& s : recorder().with(WM_COMMAND))
        commands.push_back(s.wParam);
    EXPECT_EQ(commands,
              (std::vector<WPARAM>{MAKEWPARAM(100, 1), MAKEWPARAM(102, 1), MAKEWPARAM(101, 1)}));
    EXPECT_EQ(recorder().with(WM_CHAR).at(0).wParam, static_cast<WPARAM>(u's'));

    ACCEL copy[3];
    EXPECT_EQ(CopyAcceleratorTableW(accel, nullptr, 0), 3);
    EXPECT_EQ(CopyAcceleratorTableW(accel, copy, 2), 2);
    EXPECT_EQ(copy[1].cmd, 101);
    EXPECT_TRUE(DestroyAcceleratorTable(accel));
    EXPECT_FALSE(DestroyAcceleratorTable(accel));
    MSG m{a, WM_CHAR, u'x', 0, 0, {}};
    EXPECT_EQ(TranslateAcceleratorW(a, accel, &m), 0);
    EXPECT_EQ(CreateAcceleratorTableW(table, 0), nullptr);
}

TEST_F(UserTest, AnActivationHandledLateDoesNotTakeBackTheForeground) {
    HWND mine = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<HWND> theirs{nullptr};
    std::atomic<DWORD> theirThread{0};
    Worker worker([&] {
        theirs = makeWindow(WS_POPUP | WS_VISIBLE, 60, 0, 50, 50);
        theirThread = GetCurrentThreadId();
        pump();
        WaitForSingleObject(go, INFINITE);  // what is told meanwhile waits in the queue
        MSG msg{};
        while (GetMessageW(&msg, nullptr, 0, 0) > 0)
            DispatchMessageW(&msg);
    });
    ASSERT_TRUE(eventually([&] { return theirThread != 0; }));
    SetForegroundWindow(mine);
    ASSERT_TRUE(device::waitForOtherThreadsIdle(10000));
    // Another program comes to the front and, before it has seen that, this one comes back.
    SetForegroundWindow(theirs);
    SetForegroundWindow(mine);
    SetEvent(go);
    ASSERT_TRUE(device::waitForOtherThreadsIdle(10000));
    EXPECT_EQ(GetForegroundWindow(), mine);
    PostThreadMessageW(theirThread, WM_QUIT, 0, 0);
    worker.join();
    CloseHandle(go);
}
