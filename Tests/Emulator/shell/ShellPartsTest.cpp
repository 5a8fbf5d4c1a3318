// The shell's layout for a screen, the Today screen's date, owner and shortcuts, the title
// bar's clock, and the runner's reports of windows and controls.
#include <DeviceTest.h>
#include <gmock/gmock.h>
#include <shellapi.h>
#include <windows.h>

#include "device/DeviceNames.h"
#include "device/ProvisionSteps.h"
#include "headless/Reports.h"
#include "shell/ShellLayout.h"
#include "shell/TitleBar.h"
#include "shell/TodayScreen.h"

namespace {

using ::testing::HasSubstr;

bool same(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

TEST(ShellLayoutOf, BarsAlongTopAndBottomAndTheWorkAreaBetween) {
    ShellLayout portrait = shellLayout(240, 320);
    EXPECT_TRUE(same(portrait.titleBar, RECT{0, 0, 240, 26}));
    EXPECT_TRUE(same(portrait.menuBar, RECT{0, 294, 240, 320}));
    EXPECT_TRUE(same(portrait.workArea, RECT{0, 26, 240, 294}));
    EXPECT_TRUE(same(portrait.inputPanelButton, RECT{200, 0, 240, 26}));
    ShellLayout landscape = shellLayout(320, 240);
    EXPECT_TRUE(same(landscape.workArea, RECT{0, 26, 320, 214}));
    // A tiny screen keeps a work area of at least one row.
    ShellLayout tiny = shellLayout(20, 10);
    EXPECT_GT(tiny.workArea.bottom, tiny.workArea.top);
    EXPECT_LE(tiny.inputPanelButton.right, 20);
    EXPECT_GE(tiny.inputPanelButton.left, 0);
}

TEST(TodayTexts, DateAndClockAreWrittenOut) {
    SYSTEMTIME time{};
    time.wYear = 2026;
    time.wMonth = 12;
    time.wDayOfWeek = 2;
    time.wDay = 8;
    time.wHour = 7;
    time.wMinute = 5;
    EXPECT_EQ(longDateText(time), u"Tuesday, 8 December 2026");
    EXPECT_EQ(clockText(time), u"07:05");
    time.wMonth = 13;
    time.wDayOfWeek = 9;
    EXPECT_EQ(longDateText(time), u", 8  2026");
}

using Today = DeviceTest;

TEST_F(Today, OwnerNameAndShortcutsComeFromTheDevice) {
    EXPECT_EQ(ownerName(), u"");
    HKEY key = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, kOwnerKey, 0, nullptr, 0, 0, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    // A name that fills its field without a terminator still ends where the company starts.
    std::vector<unsigned char> unterminated(80, 'x');
    RegSetValueExW(key, u"Owner", 0, REG_BINARY, unterminated.data(), 80);
    EXPECT_EQ(ownerName(), std::u16string(36, u'\u7878'));
    auto block = ownerBlock(u"Sara", u"Tirvan", u"Tehran", u"0100");
    RegSetValueExW(key, u"Owner", 0, REG_BINARY, block.data(), static_cast<DWORD>(block.size()));
    RegCloseKey(key);
    EXPECT_EQ(ownerName(), u"Sara");

    CreateDirectoryW(u"\\Programs", nullptr);
    ASSERT_TRUE(SHCreateShortcut(u"\\Programs\\Notes.lnk", u"\\Windows\\notes.exe"));
    writeDeviceFile(u"\\Programs\\Broken.lnk", "not a shortcut");
    writeDeviceFile(u"\\Programs\\readme.txt", "12#\\Windows\\x");
    auto shortcuts = shortcutsIn(u"\\Programs", 8);
    ASSERT_EQ(shortcuts.size(), 1u);
    EXPECT_EQ(shortcuts[0].name, u"Notes");
    EXPECT_EQ(shortcuts[0].path, u"\\Programs\\Notes.lnk");
    EXPECT_EQ(shortcuts[0].target, u"\\Windows\\notes.exe");
    for (int i = 0; i < 5; ++i)
        SHCreateShortcut((u"\\Programs\\P" + std::u16string(1, u'0' + i) + u".lnk").c_str(),
                         u"p.exe");
    EXPECT_EQ(shortcutsIn(u"\\Programs", 3).size(), 3u);
}

// A stand-in for a tab control: two tabs side by side.
LRESULT CALLBACK fakeTabs(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == 0x1304)  // TCM_GETITEMCOUNT
        return 2;
    if (message == 0x130A && wParam < 2) {  // TCM_GETITEMRECT
        *reinterpret_cast<RECT*>(lParam) =
            RECT{static_cast<LONG>(wParam) * 50, 0, static_cast<LONG>(wParam) * 50 + 50, 20};
        return TRUE;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

using Reports = DeviceTest;

TEST_F(Reports, WindowsAndControlsOfTheForegroundWindowAreListed) {
    WNDCLASSW tabs{};
    tabs.lpfnWndProc = fakeTabs;
    tabs.lpszClassName = u"SysTabControl32";
    RegisterClassW(&tabs);
    WNDCLASSW plain{};
    plain.lpfnWndProc = DefWindowProcW;
    plain.lpszClassName = u"Plain";
    RegisterClassW(&plain);
    HWND frame = CreateWindowExW(0, u"Plain", u"Frame\ttitle", WS_POPUP | WS_VISIBLE, 10, 20, 200,
                                 100, nullptr, nullptr, nullptr, nullptr);
    HWND button = CreateWindowExW(0, u"Plain", u"OK", WS_CHILD | WS_VISIBLE, 5, 5, 40, 20, frame,
                                  reinterpret_cast<HMENU>(7), nullptr, nullptr);
    HWND tab = CreateWindowExW(0, u"SysTabControl32", u"", WS_CHILD, 0, 40, 100, 20, frame,
                               reinterpret_cast<HMENU>(9), nullptr, nullptr);
    ASSERT_NE(tab, nullptr);
    SetForegroundWindow(frame);

    const std::string windows = windowsReport();
    EXPECT_THAT(windows, HasSubstr("\texplorer.exe\tPlain\t1\tFrame title\n"));
    const std::string controls = controlsReport();
    EXPECT_THAT(controls, HasSubstr("7\tPlain\t1\t15 25 55 45\tOK\n"));
    EXPECT_THAT(controls, HasSubstr("9\tSysTabControl32\t0\t10 60 110 80\t\n"));
    EXPECT_THAT(controls, HasSubstr("9\ttab 0\t0\t10 60 60 80\t\n"));
    EXPECT_THAT(controls, HasSubstr("9\ttab 1\t0\t60 60 110 80\t\n"));
    EXPECT_EQ(controlWithId(7), button);
    EXPECT_EQ(controlWithId(8), nullptr);
    EXPECT_EQ(windowText(button), u"OK");
    EXPECT_EQ(sipLine(RECT{0, 1, 2, 3}, std::nullopt, false), "sip 0 1 2 3 layout -1 visible 0");
    DestroyWindow(frame);
}

}  // namespace
