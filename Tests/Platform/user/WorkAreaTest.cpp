// The work area: the whole screen until the shell sets one, refused when it leaves the screen,
// announced to the top-level windows when asked, and given up when the screen changes size.
#include "UserTest.h"
#include "device/Screen.h"

using namespace usertest;

namespace {

RECT workArea() {
    RECT r{-1, -1, -1, -1};
    EXPECT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0));
    return r;
}

bool same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST_F(UserTest, WorkAreaIsTheWholeScreenUntilSetAndKeepsWhatWasSet) {
    EXPECT_TRUE(same(workArea(), RECT{0, 0, 240, 320}));

    RECT shellArea{0, 26, 240, 294};
    EXPECT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &shellArea, 0));
    EXPECT_TRUE(same(workArea(), shellArea));

    // A null rectangle gives the whole screen back.
    EXPECT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, nullptr, 0));
    EXPECT_TRUE(same(workArea(), RECT{0, 0, 240, 320}));
}

TEST_F(UserTest, WorkAreaOutsideTheScreenOrEmptyIsRefusedAndTheOldOneKept) {
    RECT shellArea{0, 26, 240, 294};
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &shellArea, 0));
    const RECT bad[] = {
        {0, 0, 241, 320}, {-1, 0, 100, 100}, {10, 10, 10, 50}, {0, 50, 240, 40}, {0, 0, 240, 321}};
    for (RECT r : bad) {
        SetLastError(0);
        EXPECT_FALSE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &r, 0));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
    EXPECT_TRUE(same(workArea(), shellArea));

    SetLastError(0);
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETWORKAREA, 0, nullptr, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    RECT r{};
    EXPECT_FALSE(SystemParametersInfoW(0x1234, 0, &r, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(UserTest, SettingTheWorkAreaWithSendChangeTellsTopLevelWindowsOnly) {
    HWND top = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    makeWindow(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);  // a child is not told
    pump();
    recorder().clear();

    RECT quiet{0, 0, 240, 300};
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &quiet, 0));
    pump();
    EXPECT_TRUE(recorder().with(WM_SETTINGCHANGE).empty());

    RECT told{0, 26, 240, 294};
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &told, SPIF_SENDCHANGE));
    pump();
    auto changes = recorder().with(WM_SETTINGCHANGE);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].hwnd, top);
    EXPECT_EQ(changes[0].wParam, static_cast<WPARAM>(SPI_SETWORKAREA));
}

TEST_F(UserTest, WorkAreaSetForOneScreenSizeIsTheWholeScreenAfterARotation) {
    RECT shellArea{0, 26, 240, 294};
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &shellArea, 0));
    ASSERT_TRUE(device::setScreenSize(320, 240));
    EXPECT_TRUE(same(workArea(), RECT{0, 0, 320, 240}));

    RECT landscape{0, 26, 320, 214};
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &landscape, 0));
    EXPECT_TRUE(same(workArea(), landscape));
    ASSERT_TRUE(device::setScreenSize(240, 320));
    EXPECT_TRUE(same(workArea(), RECT{0, 0, 240, 320}));
}
