// Popup menus: building them, and TrackPopupMenuEx's modal loop choosing the tapped item, with
// the taps coming through the loop's own dispatching or from another thread.
#include "UserTest.h"
#include "device/Input.h"

using namespace usertest;

namespace {

std::function<void()> onApp;

LRESULT CALLBACK tapperProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_APP && onApp)
        onApp();
    return recordingProc(hwnd, msg, wParam, lParam);
}

HMENU editMenu() {
    HMENU m = CreatePopupMenu();
    AppendMenuW(m, MF_STRING, 1, u"Cut");
    AppendMenuW(m, MF_STRING, 2, u"Copy");
    AppendMenuW(m, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(m, MF_STRING | MF_GRAYED, 3, u"Paste");
    AppendMenuW(m, MF_STRING, 4, u"Select all");
    return m;
}

HWND menuWindow() {
    return FindWindowW(u"#32768", nullptr);
}

// The screen point in the middle of item `index` of the edit menu on the screen.
POINT itemPoint(int index, int lines = 4) {
    RECT r;
    GetWindowRect(menuWindow(), &r);
    int line = (r.bottom - r.top - 2 - 7) / lines;  // the lines and one separator inside a border
    int y = 1 + index * line + line / 2;
    if (index >= 3)
        y = 1 + (index - 1) * line + 7 + line / 2;
    return POINT{r.left + 10, r.top + y};
}

void tapAt(POINT p) {
    device::stylusDown(p.x, p.y);
    device::stylusUp(p.x, p.y);
}

class MenuTest : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        WNDCLASSW wc{};
        wc.lpfnWndProc = tapperProc;
        wc.lpszClassName = u"Tapper";
        RegisterClassW(&wc);
        owner = CreateWindowExW(0, u"Tapper", u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr,
                                nullptr, nullptr, nullptr);
        pump();
    }
    void TearDown() override { onApp = nullptr; }
    HWND owner = nullptr;
};

}  // namespace

TEST_F(MenuTest, ItemsAreAddedInsertedAndChangedByPositionOrCommand) {
    HMENU m = editMenu();
    EXPECT_EQ(GetMenuItemCount(m), 5);
    EXPECT_EQ(GetMenuItemID(m, 1), 2u);
    EXPECT_EQ(EnableMenuItem(m, 3, MF_ENABLED), MF_GRAYED);
    EXPECT_EQ(GetMenuState(m, 3, MF_BYCOMMAND), 0u);
    EXPECT_EQ(CheckMenuItem(m, 4, MF_CHECKED), 0u);
    EXPECT_EQ(GetMenuState(m, 4, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(CheckMenuItem(m, 9, MF_CHECKED), 0xFFFFFFFFu);
    EXPECT_TRUE(InsertMenuW(m, 2, MF_BYCOMMAND | MF_STRING, 5, u"Delete"));  // before "Copy"
    EXPECT_EQ(GetMenuItemID(m, 1), 5u);
    HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, 6, u"Deep");
    EXPECT_TRUE(AppendMenuW(m, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), u"More"));
    EXPECT_EQ(GetSubMenu(m, 6), sub);
    EXPECT_EQ(GetMenuItemID(m, 6), 0xFFFFFFFFu);
    EXPECT_EQ(EnableMenuItem(m, 6, MF_GRAYED), MF_ENABLED);  // found inside the submenu
    EXPECT_TRUE(DeleteMenu(m, 0, MF_BYPOSITION));
    EXPECT_EQ(GetMenuItemCount(m), 6);
    EXPECT_FALSE(AppendMenuW(m, MF_POPUP, 0x4444, u"Bad"));
    EXPECT_TRUE(DestroyMenu(m));
    EXPECT_FALSE(IsMenu(m));
    EXPECT_FALSE(IsMenu(sub));  // destroyed with its parent
    EXPECT_EQ(GetMenuItemCount(m), -1);
    EXPECT_FALSE(AppendMenuW(m, MF_STRING, 1, u"x"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
}

TEST_F(MenuTest, TappingAnItemReturnsItsCommandAndTappingOutsideReturnsZero) {
    HMENU m = editMenu();
    onApp = [] {
        // A stylus up left over from before the menu opened chooses nothing.
        POINT copy = itemPoint(1);
        device::stylusUp(copy.x, copy.y);
        tapAt(itemPoint(0));
    };
    PostMessageW(owner, WM_APP, 0, 0);
    EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 30, 40, owner, nullptr), 1);
    EXPECT_EQ(menuWindow(), nullptr);

    onApp = [] {
        tapAt(itemPoint(3));  // grayed: the menu stays
        tapAt(POINT{230, 310});
    };
    PostMessageW(owner, WM_APP, 0, 0);
    EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 30, 40, owner, nullptr), 0);

    // Without TPM_RETURNCMD the command arrives as WM_COMMAND.
    recorder().clear();
    onApp = [] { tapAt(itemPoint(4)); };
    PostMessageW(owner, WM_APP, 0, 0);
    EXPECT_EQ(TrackPopupMenuEx(m, 0, 200, 300, owner, nullptr), TRUE);  // placed inside the screen
    pump();
    auto commands = recorder().with(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, 4u);
    EXPECT_EQ(recorder().with(WM_INITMENUPOPUP).size(), 1u);
    DestroyMenu(m);
    EXPECT_FALSE(TrackPopupMenuEx(m, TPM_RETURNCMD, 0, 0, owner, nullptr));
}

TEST_F(MenuTest, AnotherThreadCanTapTheMenuWhileTheLoopWaits) {
    HMENU m = editMenu();
    std::atomic<bool> tapped{false};
    Worker tapper([&] {
        if (!eventually([] { return menuWindow() != nullptr && IsWindowVisible(menuWindow()); }))
            return;
        tapAt(itemPoint(1));
        tapped = true;
    });
    EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD | TPM_LEFTALIGN, 10, 10, owner, nullptr), 2);
    tapper.join();
    EXPECT_TRUE(tapped.load());
    DestroyMenu(m);
}

TEST_F(MenuTest, TheMenuLoopPassesOtherMessagesThroughThePreTranslateHook) {
    HMENU m = editMenu();
    std::vector<UINT> hooked;
    platform::setPreTranslateHook(GetCurrentThreadId(), [&](MSG& msg) {
        hooked.push_back(msg.message);
        return msg.message == WM_APP + 3;  // handled by the hook: never dispatched
    });
    onApp = [] { tapAt(itemPoint(4)); };
    PostMessageW(owner, WM_APP + 3, 0, 0);
    PostMessageW(owner, WM_APP, 0, 0);
    EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 0, 0, owner, nullptr), 4);
    EXPECT_NE(std::find(hooked.begin(), hooked.end(), static_cast<UINT>(WM_APP + 3)), hooked.end());
    EXPECT_NE(std::find(hooked.begin(), hooked.end(), static_cast<UINT>(WM_APP)), hooked.end());
    EXPECT_TRUE(recorder().with(WM_APP + 3).empty());
    EXPECT_EQ(recorder().with(WM_APP).size(), 1u);
    platform::setPreTranslateHook(GetCurrentThreadId(), nullptr);
    MSG msg{owner, WM_APP + 3, 0, 0, 0, {}};
    EXPECT_FALSE(platform::preTranslateMessage(msg));
    DestroyMenu(m);
}

TEST_F(MenuTest, APopupItemOpensItsSubmenuBesideItAndItsChoiceEndsBothMenus) {
    HMENU m = editMenu();
    HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, 6, u"Deep");
    InsertMenuW(m, 4, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), u"More");
    auto menuCount = [] {
        int n = 0;
        EnumWindows(
            [](HWND h, LPARAM p) {
                WCHAR name[16];
                if (GetClassNameW(h, name, 16) && std::u16string(name) == u"#32768")
                    ++*reinterpret_cast<int*>(p);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&n));
        return n;
    };
    Worker tapper([&] {
        if (!eventually([&] { return menuCount() == 1 && IsWindowVisible(menuWindow()); }))
            return;
        HWND first = menuWindow();
        RECT outer;
        GetWindowRect(first, &outer);
        tapAt(itemPoint(4, 5));  // "More", before "Select all"
        // The submenu counts once it exists; it is tapped only once it is in front and shown.
        if (!eventually([&] {
                return menuCount() == 2 && menuWindow() != first && IsWindowVisible(menuWindow());
            }))
            return;
        RECT inner;
        GetWindowRect(menuWindow(), &inner);  // the submenu is in front
        EXPECT_EQ(inner.left, outer.right - 1);
        tapAt(POINT{inner.left + 5, (inner.top + inner.bottom) / 2});
    });
    EXPECT_EQ(TrackPopupMenuEx(m, TPM_RETURNCMD, 10, 10, owner, nullptr), 6);
    tapper.join();
    EXPECT_EQ(menuCount(), 0);
    DestroyMenu(m);
}
