// Message queues: retrieval order, filters, quitting, character translation, and SendMessage
// between threads (handled by the owner's thread while the sender waits, without deadlock).
#include "UserTest.h"
#include "device/Display.h"
#include "device/Input.h"

using namespace usertest;

namespace {

std::vector<std::pair<HWND, UINT>> kinds(const std::vector<MSG>& msgs) {
    std::vector<std::pair<HWND, UINT>> out;
    for (const MSG& m : msgs)
        out.emplace_back(m.hwnd, m.message);
    return out;
}

std::atomic<DWORD> echoThread{0};
std::atomic<bool> echoSawSend{false};

// On WM_APP: asks the window in lParam (of the sending thread) for twice wParam, returns that + 1.
LRESULT CALLBACK echoProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_APP) {
        echoThread = GetCurrentThreadId();
        echoSawSend = InSendMessage() != FALSE;
        return SendMessageW(reinterpret_cast<HWND>(lParam), WM_APP + 1, wParam, 0) + 1;
    }
    if (msg == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

std::atomic<DWORD> doublerThread{0};
LRESULT CALLBACK doublerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_APP + 1) {
        doublerThread = GetCurrentThreadId();
        return static_cast<LRESULT>(wParam * 2);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void registerProc(LPCWSTR name, WNDPROC proc) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    RegisterClassW(&wc);
}

}  // namespace

TEST_F(UserTest, PostedThenInputThenPaintThenTimerAndPaintOnlyForInvalidVisibleWindows) {
    HWND a = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    HWND hidden = makeWindow(WS_POPUP, 60, 0, 50, 50);
    HWND other = makeWindow(WS_POPUP | WS_VISIBLE, 120, 0, 50, 50);
    drain();
    EXPECT_TRUE(drain().empty());  // validated windows get no WM_PAINT

    SetTimer(a, 1, 10, nullptr);
    device::advanceClock(10);
    InvalidateRect(a, nullptr, FALSE);
    InvalidateRect(hidden, nullptr, FALSE);
    device::stylusDown(5, 5);
    PostMessageW(a, WM_APP, 0, 0);
    auto got = kinds(drain());
    EXPECT_EQ(got, (std::vector<std::pair<HWND, UINT>>{
                       {a, WM_APP}, {a, WM_LBUTTONDOWN}, {a, WM_PAINT}, {a, WM_TIMER}}));
    EXPECT_TRUE(drain().empty());  // one WM_TIMER per period, and nothing for `hidden` or `other`

    // The hidden window is painted when it is shown, the other one never was invalid.
    ShowWindow(hidden, SW_SHOWNOACTIVATE);
    got = kinds(drain());
    EXPECT_EQ(got, (std::vector<std::pair<HWND, UINT>>{{hidden, WM_PAINT}}));
    (void)other;
}

TEST_F(UserTest, FiltersAndNoRemoveLeaveOtherMessagesQueued) {
    HWND a = makeWindow(WS_POPUP, 0, 0, 10, 10);
    HWND b = makeWindow(WS_POPUP, 0, 0, 10, 10);
    PostMessageW(a, WM_APP, 1, 0);
    PostMessageW(b, WM_USER, 2, 0);
    PostMessageW(a, WM_USER + 5, 3, 0);
    MSG m;
    ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_USER, WM_USER + 10, PM_NOREMOVE));
    EXPECT_EQ(m.wParam, 2u);
    ASSERT_TRUE(PeekMessageW(&m, a, WM_USER, WM_USER + 10, PM_REMOVE));
    EXPECT_EQ(m.wParam, 3u);
    EXPECT_FALSE(PeekMessageW(&m, a, WM_USER, WM_USER + 10, PM_REMOVE));
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.wParam, 1u);
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.wParam, 2u);
    EXPECT_EQ(GetMessageW(&m, reinterpret_cast<HWND>(0x777), 0, 0), -1);  // a garbage filter window

    // WM_QUIT comes after the posted messages and ends GetMessage with its exit code.
    PostThreadMessageW(GetCurrentThreadId(), WM_APP + 9, 0, 0);
    PostQuitMessage(3);
    ASSERT_TRUE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_APP + 9));
    EXPECT_EQ(m.hwnd, nullptr);
    EXPECT_FALSE(GetMessageW(&m, nullptr, 0, 0));
    EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(m.wParam, 3u);
    EXPECT_FALSE(PostThreadMessageW(0xFFFFFF, WM_APP, 0, 0));
}

TEST_F(UserTest, TranslateMessageMakesCharactersWithTheShiftState) {
    HWND a = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    ASSERT_EQ(device::foregroundFocusWindow(), a);
    std::u16string typed;
    auto run = [&] {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_CHAR)
                typed.push_back(static_cast<char16_t>(m.wParam));
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    };
    device::keyDown('K');
    device::keyUp('K');
    device::keyDown(VK_SHIFT);
    device::keyDown('K');
    device::keyDown('1');
    device::keyUp(VK_SHIFT);
    device::keyDown('1');
    device::keyDown(VK_RETURN);
    device::keyDown(VK_BACK);
    device::keyDown(VK_LEFT);  // no character
    device::keyDown(VK_CONTROL);
    device::keyDown('C');
    device::keyUp(VK_CONTROL);
    device::typeChar(u'\u0628');
    run();
    EXPECT_EQ(typed, std::u16string(u"kK!1\r\b") + char16_t{3} + u"\u0628");
    EXPECT_LT(GetKeyState('1'), 0);  // still down
    EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);
}

TEST_F(UserTest, HandleMessageTranslatesAndDispatchesWhatNoHookTakes) {
    HWND a = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    ASSERT_EQ(device::foregroundFocusWindow(), a);
    // A module's hook takes the Tab key; everything else goes on.
    int owner = 0;
    platform::addPreTranslateHook(
        &owner, [](MSG& msg) { return msg.message == WM_KEYDOWN && msg.wParam == VK_TAB; });
    device::keyDown(VK_TAB);
    device::keyDown('K');
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE))
        platform::handleMessage(m);
    platform::removePreTranslateHook(&owner);
    // The Tab key's down never reached the window, nor did its character; K's did, and its
    // character was made and dispatched too.
    EXPECT_EQ(recorder().of(a, {WM_KEYDOWN, WM_CHAR}), (std::vector<UINT>{WM_KEYDOWN, WM_CHAR}));
    const auto chars = recorder().with(WM_CHAR);
    ASSERT_EQ(chars.size(), 1u);
    EXPECT_EQ(chars[0].wParam, static_cast<WPARAM>('k'));
}

TEST_F(UserTest, SendMessageToAnotherThreadRunsThereWhileTheSenderWaitsAndServesItsOwnWindows) {
    registerProc(u"Echo", echoProc);
    registerProc(u"Doubler", doublerProc);
    HWND mine = CreateWindowExW(0, u"Doubler", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
    std::atomic<HWND> theirs{nullptr};
    std::atomic<DWORD> workerId{0};
    Worker worker([&] {
        workerId = GetCurrentThreadId();
        theirs = CreateWindowExW(0, u"Echo", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                 nullptr);
        MSG m;
        while (GetMessageW(&m, nullptr, 0, 0) > 0)
            DispatchMessageW(&m);
    });
    ASSERT_TRUE(eventually([&] { return theirs.load() != nullptr; }));

    EXPECT_FALSE(DestroyWindow(theirs));  // not this thread's window
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

    // The echo asks this (waiting) thread's window back before answering: 2 * 20 + 1.
    EXPECT_EQ(SendMessageW(theirs, WM_APP, 20, reinterpret_cast<LPARAM>(mine)), 41);
    EXPECT_EQ(echoThread.load(), workerId.load());
    EXPECT_TRUE(echoSawSend.load());
    EXPECT_EQ(doublerThread.load(), GetCurrentThreadId());
    EXPECT_FALSE(InSendMessage());

    // Titles of another thread's window are read without a message.
    EXPECT_TRUE(SetWindowTextW(theirs, u"Echo window"));
    WCHAR title[32];
    EXPECT_EQ(GetWindowTextW(theirs, title, 32), 11);
    EXPECT_EQ(FindWindowW(nullptr, u"Echo window"), theirs.load());

    PostMessageW(theirs, WM_CLOSE, 0, 0);
    worker.join();
    EXPECT_FALSE(IsWindow(theirs));
}

TEST_F(UserTest, WindowsOfAThreadThatEndsGoWithItAndTimedSendsGiveUp) {
    std::atomic<HWND> left{nullptr};
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<HWND> busy{nullptr};
    Worker stuck([&] {
        busy = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
        // Busy without looking at its queue until released.
        WaitForSingleObject(release, INFINITE);
    });
    ASSERT_TRUE(eventually([&] { return busy.load() != nullptr; }));
    DWORD_PTR result = 99;
    EXPECT_EQ(SendMessageTimeoutW(busy, WM_APP, 0, 0, SMTO_NORMAL, 100, &result), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TIMEOUT));
    EXPECT_EQ(result, 99u);
    EXPECT_GE(device::nowMs(), 100u);
    SetEvent(release);
    stuck.join();
    EXPECT_FALSE(IsWindow(busy));
    CloseHandle(release);

    Worker leaver([&] { left = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50); });
    leaver.join();
    EXPECT_NE(left.load(), nullptr);
    EXPECT_FALSE(IsWindow(left));
    EXPECT_EQ(WindowFromPoint(POINT{10, 10}), nullptr);
}

TEST_F(UserTest, BroadcastReachesEveryTopLevelWindowButNoChild) {
    HWND a = makeWindow(WS_POPUP, 0, 0, 10, 10);
    HWND b = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    HWND child = makeWindow(WS_CHILD, 0, 0, 5, 5, b);
    SendMessageW(HWND_BROADCAST, WM_SETTINGCHANGE, 7, 0);
    PostMessageW(HWND_BROADCAST, WM_APP, 1, 0);
    pump();
    auto seen = recorder().with(WM_SETTINGCHANGE);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(recorder().of(a, {WM_SETTINGCHANGE, WM_APP}),
              (std::vector<UINT>{WM_SETTINGCHANGE, WM_APP}));
    EXPECT_EQ(recorder().of(b, {WM_SETTINGCHANGE, WM_APP}),
              (std::vector<UINT>{WM_SETTINGCHANGE, WM_APP}));
    EXPECT_TRUE(recorder().of(child, {WM_SETTINGCHANGE, WM_APP}).empty());
}
