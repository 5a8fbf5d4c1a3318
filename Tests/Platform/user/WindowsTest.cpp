// Windows and classes: the messages of creation, sizing and destruction, handle validation,
// class registration per instance, window longs and extra bytes, the tree and enumeration.
#include "UserTest.h"
#include "device/Input.h"

using namespace usertest;

namespace {

using Trace = std::vector<std::pair<HWND, UINT>>;

Trace trace(const std::vector<UINT>& interesting) {
    Trace out;
    for (const Seen& s : recorder().all()) {
        if (std::find(interesting.begin(), interesting.end(), s.msg) != interesting.end())
            out.emplace_back(s.hwnd, s.msg);
    }
    return out;
}

const std::vector<UINT> kLifeMessages = {
    WM_NCCREATE,          WM_CREATE,           WM_SIZE,     WM_MOVE,     WM_SHOWWINDOW,
    WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS,
    WM_DESTROY,           WM_NCDESTROY};

LRESULT CALLBACK failingCreateProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    recorder().add(Seen{hwnd, msg, wParam, lParam, 0});
    if (msg == WM_CREATE)
        return -1;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

int subclassCalls = 0;
WNDPROC originalProc = nullptr;
LRESULT CALLBACK subclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_APP) {
        ++subclassCalls;
        return 7 + CallWindowProcW(originalProc, hwnd, msg, wParam, lParam);
    }
    return CallWindowProcW(originalProc, hwnd, msg, wParam, lParam);
}

BOOL CALLBACK collect(HWND hwnd, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

}  // namespace

TEST_F(UserTest, CreationSizingAndDestructionSendTheirMessagesInOrder) {
    HWND top = makeWindow(WS_POPUP | WS_VISIBLE, 10, 20, 100, 50);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(trace(kLifeMessages), (Trace{{top, WM_NCCREATE},
                                           {top, WM_CREATE},
                                           {top, WM_SIZE},
                                           {top, WM_MOVE},
                                           {top, WM_SHOWWINDOW},
                                           {top, WM_WINDOWPOSCHANGING},
                                           {top, WM_WINDOWPOSCHANGED},
                                           {top, WM_ACTIVATE},
                                           {top, WM_SETFOCUS}}));
    auto sizes = recorder().with(WM_SIZE);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].wParam, static_cast<WPARAM>(SIZE_RESTORED));
    EXPECT_EQ(sizes[0].lParam, MAKELPARAM(100, 50));
    EXPECT_EQ(recorder().with(WM_MOVE)[0].lParam, MAKELPARAM(10, 20));

    recorder().clear();
    HWND child = makeWindow(WS_CHILD | WS_VISIBLE, 5, 5, 20, 20, top, 0, 7);
    EXPECT_EQ(trace(kLifeMessages), (Trace{{child, WM_NCCREATE},
                                           {child, WM_CREATE},
                                           {child, WM_SIZE},
                                           {child, WM_MOVE},
                                           {child, WM_SHOWWINDOW},
                                           {child, WM_WINDOWPOSCHANGING},
                                           {child, WM_WINDOWPOSCHANGED}}));

    // A new size without a move gives WM_SIZE alone; a move without a new size WM_MOVE alone.
    recorder().clear();
    SetWindowPos(top, nullptr, 0, 0, 200, 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(trace(kLifeMessages),
              (Trace{{top, WM_WINDOWPOSCHANGING}, {top, WM_WINDOWPOSCHANGED}, {top, WM_SIZE}}));
    EXPECT_EQ(recorder().with(WM_SIZE)[0].lParam, MAKELPARAM(200, 80));
    recorder().clear();
    MoveWindow(top, 3, 4, 200, 80, TRUE);
    EXPECT_EQ(trace(kLifeMessages),
              (Trace{{top, WM_WINDOWPOSCHANGING}, {top, WM_WINDOWPOSCHANGED}, {top, WM_MOVE}}));
    RECT r;
    GetWindowRect(child, &r);
    EXPECT_EQ(r.left, 8);
    EXPECT_EQ(r.top, 9);

    // Destruction: hidden, deactivated, focus taken away, then WM_DESTROY from the window down
    // and WM_NCDESTROY from the leaves up.
    recorder().clear();
    EXPECT_TRUE(DestroyWindow(top));
    EXPECT_EQ(trace(kLifeMessages), (Trace{{top, WM_WINDOWPOSCHANGING},
                                           {top, WM_ACTIVATE},
                                           {top, WM_WINDOWPOSCHANGED},
                                           {top, WM_KILLFOCUS},
                                           {top, WM_DESTROY},
                                           {child, WM_DESTROY},
                                           {child, WM_NCDESTROY},
                                           {top, WM_NCDESTROY}}));
    EXPECT_FALSE(IsWindow(top));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(GetActiveWindow(), nullptr);
}

TEST_F(UserTest, CreateReturningMinusOneFailsAndDestroysTheWindow) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = failingCreateProc;
    wc.lpszClassName = u"Failing";
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND h = CreateWindowExW(0, u"Failing", u"x", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                             nullptr, nullptr, nullptr);
    EXPECT_EQ(h, nullptr);
    auto seen = recorder().all();
    ASSERT_GE(seen.size(), 4u);
    HWND made = seen[0].hwnd;
    EXPECT_EQ(
        trace({WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY, WM_SHOWWINDOW}),
        (Trace{{made, WM_NCCREATE}, {made, WM_CREATE}, {made, WM_DESTROY}, {made, WM_NCDESTROY}}));
    EXPECT_FALSE(IsWindow(made));
    // The class has no windows left, so it can go.
    EXPECT_TRUE(UnregisterClassW(u"Failing", nullptr));
}

TEST_F(UserTest, StaleAndGarbageHandlesFailCleanlyAndAreNeverReused) {
    HWND a = makeWindow(WS_POPUP, 0, 0, 10, 10);
    ASSERT_TRUE(DestroyWindow(a));
    HWND b = makeWindow(WS_POPUP, 0, 0, 10, 10);
    EXPECT_NE(a, b);
    for (HWND bad :
         {a, reinterpret_cast<HWND>(0x1234), reinterpret_cast<HWND>(~uintptr_t{0} - 5)}) {
        SetLastError(0);
        EXPECT_FALSE(IsWindow(bad));
        EXPECT_EQ(GetWindowLongW(bad, GWL_STYLE), 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
        EXPECT_EQ(SendMessageW(bad, WM_APP, 0, 0), 0);
        EXPECT_FALSE(PostMessageW(bad, WM_APP, 0, 0));
        EXPECT_FALSE(DestroyWindow(bad));
        EXPECT_FALSE(SetWindowPos(bad, nullptr, 0, 0, 1, 1, 0));
        RECT r;
        EXPECT_FALSE(GetWindowRect(bad, &r));
        WCHAR text[8];
        EXPECT_EQ(GetWindowTextW(bad, text, 8), 0);
    }
}

TEST_F(UserTest, ClassesAreRegisteredPerInstanceAndCannotGoWhileWindowsExist) {
    auto instanceA = reinterpret_cast<HINSTANCE>(0x1000);
    auto instanceB = reinterpret_cast<HINSTANCE>(0x2000);
    WNDCLASSW wc{};
    wc.lpfnWndProc = recordingProc;
    wc.lpszClassName = u"KvPanelCls";
    wc.hInstance = instanceA;
    wc.cbWndExtra = 8;
    ASSERT_NE(RegisterClassW(&wc), 0);
    EXPECT_EQ(RegisterClassW(&wc), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
    wc.lpszClassName = u"kvpanelcls";  // names compare without case
    EXPECT_EQ(RegisterClassW(&wc), 0);
    wc.hInstance = instanceB;
    EXPECT_NE(RegisterClassW(&wc), 0);

    WNDCLASSW info{};
    ASSERT_TRUE(GetClassInfoW(instanceA, u"KvPanelCls", &info));
    EXPECT_EQ(info.cbWndExtra, 8);
    EXPECT_EQ(info.lpfnWndProc, &recordingProc);
    EXPECT_FALSE(GetClassInfoW(reinterpret_cast<HINSTANCE>(0x3000), u"KvPanelCls", &info));

    HWND h = CreateWindowExW(0, u"KvPanelCls", u"Kelvo", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr,
                             instanceA, nullptr);
    ASSERT_NE(h, nullptr);
    WCHAR name[32];
    EXPECT_EQ(GetClassNameW(h, name, 32), 10);
    EXPECT_EQ(std::u16string(name), u"KvPanelCls");
    EXPECT_EQ(GetClassNameW(h, name, 4), 3);  // truncated, still terminated
    EXPECT_EQ(std::u16string(name), u"KvP");
    EXPECT_FALSE(UnregisterClassW(u"KvPanelCls", instanceA));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));
    DestroyWindow(h);
    EXPECT_TRUE(UnregisterClassW(u"KvPanelCls", instanceA));
    EXPECT_FALSE(UnregisterClassW(u"KvPanelCls", instanceA));
    EXPECT_EQ(CreateWindowExW(0, u"NoSuchClass", u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                              nullptr, nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
}

TEST_F(UserTest, WindowLongsHoldFullPointersAndExtraBytesAreBounded) {
    subclassCalls = 0;
    originalProc = nullptr;
    WNDCLASSW wc{};
    wc.lpfnWndProc = recordingProc;
    wc.lpszClassName = u"Extra";
    wc.cbWndExtra = 12;
    RegisterClassW(&wc);
    HWND h = CreateWindowExW(WS_EX_TOOLWINDOW, u"Extra", u"", WS_POPUP | WS_TABSTOP, 0, 0, 5, 5,
                             nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(h, nullptr);
    int local = 0;
    auto pointer = reinterpret_cast<LONG_PTR>(&local);
    SetWindowLongPtrW(h, GWLP_USERDATA, pointer);
    EXPECT_EQ(GetWindowLongPtrW(h, GWLP_USERDATA), pointer);
    EXPECT_EQ(GetWindowLongW(h, GWL_EXSTYLE), WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetWindowLongW(h, GWL_STYLE) & WS_TABSTOP, WS_TABSTOP);

    EXPECT_EQ(SetWindowLongPtrW(h, 4, pointer), 0);  // bytes 4..11 exist
    EXPECT_EQ(GetWindowLongPtrW(h, 4), pointer);
    EXPECT_EQ(SetWindowLongW(h, 8, 77), static_cast<LONG>(pointer >> 32));
    EXPECT_EQ(GetWindowLongW(h, 8), 77);
    SetLastError(0);
    EXPECT_EQ(GetWindowLongPtrW(h, 5), 0);  // 5..12 runs past the end
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
    EXPECT_EQ(SetWindowLongW(h, 9, 1), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
    EXPECT_EQ(GetWindowLongW(h, -1000), 0);

    // Subclassing through GWLP_WNDPROC, calling on to the original procedure.
    originalProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&subclassProc)));
    EXPECT_EQ(originalProc, &recordingProc);
    EXPECT_EQ(SendMessageW(h, WM_APP, 0, 0), 7);
    EXPECT_EQ(subclassCalls, 1);
    EXPECT_EQ(recorder().with(WM_APP).size(), 1u);
}

TEST_F(UserTest, TitlesChildrenAndTheTreeAreFoundAsOnWindows) {
    HWND top = CreateWindowExW(0, u"Rec", u"Notes", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                               nullptr, nullptr, nullptr);
    HWND first = makeWindow(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top, 0, 101);
    HWND second = makeWindow(WS_CHILD | WS_VISIBLE, 20, 0, 10, 10, top, 0, 102);
    HWND grandchild = makeWindow(WS_CHILD, 0, 0, 5, 5, second, 0, 103);
    EXPECT_EQ(GetWindow(top, GW_CHILD), first);  // the first child created is on top
    EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
    EXPECT_EQ(GetWindow(second, GW_HWNDPREV), first);
    EXPECT_EQ(GetWindow(second, GW_HWNDNEXT), nullptr);
    EXPECT_EQ(GetWindow(second, GW_HWNDFIRST), first);
    EXPECT_EQ(GetWindow(first, GW_HWNDLAST), second);
    EXPECT_EQ(GetParent(grandchild), second);
    EXPECT_EQ(GetDlgItem(top, 102), second);
    EXPECT_EQ(GetDlgItem(top, 103), nullptr);  // not a direct child
    EXPECT_EQ(GetDlgCtrlID(first), 101);
    EXPECT_TRUE(IsChild(top, grandchild));
    EXPECT_FALSE(IsWindowVisible(grandchild));
    ShowWindow(grandchild, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(grandchild));
    ShowWindow(top, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(grandchild));  // visible only with all its parents

    std::vector<HWND> children;
    EnumChildWindows(top, collect, reinterpret_cast<LPARAM>(&children));
    EXPECT_EQ(children, (std::vector<HWND>{first, second, grandchild}));

    EXPECT_TRUE(SetDlgItemTextW(top, 101, u"Hello"));
    WCHAR text[16];
    EXPECT_EQ(GetDlgItemTextW(top, 101, text, 16), 5u);
    EXPECT_EQ(std::u16string(text), u"Hello");
    EXPECT_EQ(GetWindowTextLengthW(first), 5);
    EXPECT_EQ(GetWindowTextW(first, text, 3), 2);
    EXPECT_EQ(std::u16string(text), u"He");
    EXPECT_EQ(FindWindowW(u"rec", u"Notes"), top);
    EXPECT_EQ(FindWindowW(nullptr, u"Notes"), top);
    EXPECT_EQ(FindWindowW(u"Rec", u"Other"), nullptr);
    DWORD process = 0;
    EXPECT_EQ(GetWindowThreadProcessId(top, &process), GetCurrentThreadId());
    EXPECT_EQ(process, GetCurrentProcessId());
}

TEST_F(UserTest, EnumWindowsReportsTopLevelWindowsTopmostFirst) {
    HWND a = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    HWND topmost =
        makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, WS_EX_TOPMOST | WS_EX_NOACTIVATE);
    HWND b = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
    makeWindow(WS_CHILD, 0, 0, 5, 5, a);
    std::vector<HWND> order;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&order));
    EXPECT_EQ(order, (std::vector<HWND>{topmost, b, a}));
    SetForegroundWindow(a);
    order.clear();
    EnumWindows(collect, reinterpret_cast<LPARAM>(&order));
    EXPECT_EQ(order, (std::vector<HWND>{topmost, a, b}));
    EXPECT_EQ(GetForegroundWindow(), a);
    SetWindowPos(b, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    order.clear();
    EnumWindows(collect, reinterpret_cast<LPARAM>(&order));
    EXPECT_EQ(order, (std::vector<HWND>{b, topmost, a}));
    SetWindowPos(b, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(b, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    order.clear();
    EnumWindows(collect, reinterpret_cast<LPARAM>(&order));
    EXPECT_EQ(order, (std::vector<HWND>{topmost, a, b}));
}

TEST_F(UserTest, CoordinatesMapBetweenWindowsAndTheScreen) {
    HWND top = makeWindow(WS_POPUP | WS_VISIBLE | WS_BORDER, 30, 40, 100, 100);
    HWND child = makeWindow(WS_CHILD | WS_VISIBLE, 5, 6, 50, 50, top);
    RECT client;
    GetClientRect(top, &client);  // no non-client area, even with WS_BORDER
    EXPECT_EQ(client.right, 100);
    EXPECT_EQ(client.bottom, 100);
    POINT p{1, 2};
    ClientToScreen(child, &p);
    EXPECT_EQ(p.x, 36);
    EXPECT_EQ(p.y, 48);
    ScreenToClient(top, &p);
    EXPECT_EQ(p.x, 6);
    EXPECT_EQ(p.y, 8);
    POINT pts[2] = {{0, 0}, {10, 10}};
    MapWindowPoints(child, nullptr, pts, 2);
    EXPECT_EQ(pts[1].x, 45);
    EXPECT_EQ(pts[1].y, 56);
    EXPECT_EQ(WindowFromPoint(POINT{36, 48}), child);
    EXPECT_EQ(WindowFromPoint(POINT{31, 41}), top);
    EXPECT_EQ(WindowFromPoint(POINT{0, 0}), nullptr);
    EnableWindow(child, FALSE);
    EXPECT_EQ(WindowFromPoint(POINT{36, 48}), top);  // disabled windows take no stylus input
}

TEST_F(UserTest, ExtremeCoordinatesAreKeptInRangeWithoutOverflow) {
    HWND top = makeWindow(WS_POPUP | WS_VISIBLE, 0x7FFFFFF0, -0x7FFFFFF0, 0x7FFFFFFF, 0x7FFFFFFF);
    ASSERT_NE(top, nullptr);
    HWND child = makeWindow(WS_CHILD | WS_VISIBLE, 0x7FFFFFF0, 0x7FFFFFF0, 100, 100, top);
    RECT r;
    ASSERT_TRUE(GetWindowRect(child, &r));
    EXPECT_GT(r.left, 0);
    EXPECT_LE(r.right, 1 << 28);
    POINT p{INT32_MAX, INT32_MIN};
    EXPECT_TRUE(ClientToScreen(child, &p));
    EXPECT_TRUE(ScreenToClient(top, &p));
    POINT pts[1] = {{INT32_MIN, INT32_MAX}};
    MapWindowPoints(child, top, pts, 1);
    EXPECT_TRUE(
        SetWindowPos(child, nullptr, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX, SWP_NOZORDER));
    EXPECT_TRUE(CreateCaret(child, nullptr, INT32_MAX, INT32_MAX));
    EXPECT_TRUE(SetCaretPos(INT32_MAX, INT32_MIN));
    EXPECT_TRUE(ShowCaret(child));
    InvalidateRect(child, nullptr, TRUE);
    pump();
    EXPECT_FALSE(device::stylusDown(INT32_MAX, INT32_MIN));
}

namespace {

WNDPROC hookedOriginal = nullptr;
std::vector<UINT> hookedSaw;
bool refuseNext = false;
std::vector<std::pair<int, HWND>> hookCalls;

LRESULT CALLBACK attachedProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    hookedSaw.push_back(msg);
    return CallWindowProcW(hookedOriginal, hwnd, msg, wParam, lParam);
}

// Attaches to each new window as a framework does: by subclassing it before its first message.
LRESULT CALLBACK cbtHook(int code, WPARAM wParam, LPARAM lParam) {
    auto hwnd = reinterpret_cast<HWND>(wParam);
    hookCalls.emplace_back(code, hwnd);
    if (code == HCBT_CREATEWND) {
        if (refuseNext)
            return 1;
        auto* cbt = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
        EXPECT_EQ(std::u16string(cbt->lpcs->lpszName), u"Attached");
        hookedOriginal = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&attachedProc)));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

int outerCalls = 0;
LRESULT CALLBACK outerHook(int code, WPARAM wParam, LPARAM lParam) {
    ++outerCalls;
    return CallNextHookEx(reinterpret_cast<HHOOK>(0x1), code, wParam, lParam);
}

}  // namespace

TEST_F(UserTest, CreationHooksAttachBeforeTheFirstMessageAndMayRefuseAWindow) {
    hookedOriginal = nullptr;
    hookedSaw.clear();
    refuseNext = false;
    hookCalls.clear();
    outerCalls = 0;
    HHOOK hook = SetWindowsHookExW(WH_CBT, cbtHook, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    HHOOK outer = SetWindowsHookExW(WH_CBT, outerHook, nullptr, 0);  // newer: called first
    HWND h = CreateWindowExW(0, u"Rec", u"Attached", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             nullptr, nullptr);
    ASSERT_NE(h, nullptr);
    ASSERT_GE(hookedSaw.size(), 2u);
    EXPECT_EQ(hookedSaw[0], static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(hookedSaw[1], static_cast<UINT>(WM_CREATE));
    EXPECT_EQ(recorder().with(WM_CREATE).size(), 1u);  // passed on to the class procedure

    DestroyWindow(h);
    EXPECT_EQ(hookCalls.back(), (std::pair<int, HWND>{HCBT_DESTROYWND, h}));

    refuseNext = true;
    recorder().clear();
    EXPECT_EQ(CreateWindowExW(0, u"Rec", u"Refused", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              nullptr, nullptr),
              nullptr);
    EXPECT_TRUE(recorder().all().empty());
    EXPECT_EQ(outerCalls, 3);  // each call passed on to the older hook
    EXPECT_EQ(hookCalls.size(), 3u);
    EXPECT_TRUE(UnhookWindowsHookEx(hook));
    EXPECT_FALSE(UnhookWindowsHookEx(hook));
    EXPECT_TRUE(UnhookWindowsHookEx(outer));
    EXPECT_NE(makeWindow(WS_POPUP, 0, 0, 5, 5), nullptr);           // no hook refuses it now
    EXPECT_EQ(SetWindowsHookExW(2, cbtHook, nullptr, 0), nullptr);  // only WH_CBT exists
}

TEST_F(UserTest, ReparentedAndOwnedWindowsKeepTheirRelations) {
    HWND a = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND b = makeWindow(WS_POPUP | WS_VISIBLE, 100, 0, 100, 100);
    HWND child = makeWindow(WS_CHILD | WS_VISIBLE, 10, 10, 10, 10, a);
    EXPECT_EQ(SetParent(child, b), a);
    EXPECT_EQ(GetParent(child), b);
    EXPECT_EQ(GetWindow(a, GW_CHILD), nullptr);
    RECT r;
    GetWindowRect(child, &r);
    EXPECT_EQ(r.left, 110);
    EXPECT_EQ(SetParent(b, child), nullptr);  // a window cannot go inside its own child
    HWND popup =
        CreateWindowExW(0, u"Rec", u"", WS_POPUP, 0, 0, 10, 10, child, nullptr, nullptr, nullptr);
    EXPECT_EQ(GetWindow(popup, GW_OWNER), b);  // owned by the top-level window
    EXPECT_EQ(GetParent(popup), b);
    DestroyWindow(b);  // owned windows go first, children with it
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_TRUE(IsWindow(a));
}
