// The special keys: the settings key starts KvHelper with "SETTINGS", the desktop key brings
// the Today screen to the front, the help keys open the skin's help at their topic, and the
// actions without a meaning do nothing.
#include "LaunchFixture.h"
#include "panel/SpecialKeys.h"

using namespace skintest;

namespace {

using Lines = std::vector<std::u16string>;
using SpecialKeys = LaunchTest;

// Settings, desktop, help topics 0, 7 and 300, and the actions 2 and 6.
Layout specialKeys() {
    Layout layout;
    layout.picture = bmpPicture(240, 80, 0xC0C0C0);
    auto special = [](BYTE action, WORD param, RECT r) { return Key{KF_LAUNCH, param, action, r}; };
    layout.rows = {
        {special(kSpecialSettings, 0, rect(0, 0, 60, 40)),
         special(kSpecialDesktop, 0, rect(60, 0, 120, 40)),
         special(kSpecialHelp, 0, rect(120, 0, 180, 40)),
         special(kSpecialHelp, 7, rect(180, 0, 240, 40))},
        {special(2, 0, rect(0, 40, 60, 80)), special(6, 0, rect(60, 40, 120, 80)),
         special(kSpecialHelp, 300, rect(120, 40, 240, 80))},
    };
    return layout;
}

TEST_F(SpecialKeys, SettingsAndHelpKeysStartTheirPrograms) {
    Skin skin;
    skin.helpFile = u"\\Program Files\\Kelvo\\Skins\\Kelvo.htm";
    skin.classes[u"P"] = {specialKeys()};
    writeSkin(skin);
    createPanel();
    tap(30, 20);
    tap(150, 20);
    tap(210, 20);
    tap(180, 60);
    tap(30, 60);  // action 2: nothing
    tap(90, 60);  // action 6: nothing
    EXPECT_EQ(
        started(),
        (Lines{u"KvHelper.exe SETTINGS",
               u"peghelp.exe file:\\Program Files\\Kelvo\\Skins\\Kelvo.htm#Main_Contents",
               u"peghelp.exe file:\\Program Files\\Kelvo\\Skins\\Kelvo.htm#BUTTON_TOPIC7",
               u"peghelp.exe file:\\Program Files\\Kelvo\\Skins\\Kelvo.htm#BUTTON_TOPIC300"}));
    EXPECT_TRUE(device::eventsOfKind(u"beep").empty());
}

TEST_F(SpecialKeys, ASkinWithoutAHelpFileGivesTheTopicAlone) {
    writePortraitSkin({specialKeys()});
    createPanel();
    tap(210, 20);
    EXPECT_EQ(started(), Lines{u"peghelp.exe file:#BUTTON_TOPIC7"});
    EXPECT_EQ(HelpCommandLine(0), u"file:#Main_Contents");
}

TEST_F(SpecialKeys, DesktopKeyBringsTheTodayScreenToTheFront) {
    writePortraitSkin({specialKeys()});
    createPanel();
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"SpecialKeysWindow";
    RegisterClassW(&wc);
    HWND program = CreateWindowExW(0, u"SpecialKeysWindow", u"Notes", WS_POPUP | WS_VISIBLE, 0, 0,
                                   60, 60, nullptr, nullptr, nullptr, nullptr);
    tap(90, 20);  // no desktop: nothing happens
    EXPECT_EQ(GetForegroundWindow(), program);
    wc.lpszClassName = kDesktopClass;
    RegisterClassW(&wc);
    HWND desktop = CreateWindowExW(WS_EX_TOOLWINDOW, kDesktopClass, u"Today", WS_POPUP, 0, 0, 60,
                                   60, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(desktop, SW_SHOWNOACTIVATE);
    SetForegroundWindow(program);
    tap(90, 20);
    EXPECT_EQ(GetForegroundWindow(), desktop);
    DestroyWindow(desktop);
    DestroyWindow(program);
}

}  // namespace
