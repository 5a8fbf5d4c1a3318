// The options sheet as UserOptionsDlg runs it: the caption, the pages in order with the command
// bar above them, the General page's sliders and their ends, what a confirmed sheet saves and
// sends to the current input method, and what a cancelled or unchanged one does not.
#include <afxwin.h>
#include <device/Screen.h>

#include "OptionsFixture.h"
#include "inputmethod/Settings.h"
#include "options/AboutPage.h"
#include "options/GeneralPage.h"
#include "options/OptionsDlg.h"
#include "panel/MacroStore.h"
#include "panel/Macros.h"
#include "panel/MyPanel.h"

namespace {

// A second input method's class, current instead of Kelvo.
constexpr CLSID kOtherInputMethod = {
    0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};

int position(HWND slider) {
    return static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
}

}  // namespace

TEST_F(OptionsTest, TheSheetShowsItsPagesInOrderUnderTheCaptionWithTheCommandBarAbove) {
    open();
    EXPECT_EQ(tabText(0), u"General");
    EXPECT_EQ(tabText(1), u"Macros");
    EXPECT_EQ(tabText(2), u"Skins");
    EXPECT_EQ(tabText(3), u"About");
    EXPECT_EQ(SendMessageW(GetDlgItem(sheet(), IDC_PROPSHEET_TABCONTROL), TCM_GETITEMCOUNT, 0, 0),
              4);
    HWND bar = GetDlgItem(sheet(), IDC_OPTIONS_COMMANDBAR);
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(GetWindowLongW(bar, GWL_STYLE) & TBSTYLE_FLAT);
    RECT barRect{}, pageRect{};
    GetWindowRect(bar, &barRect);
    GetWindowRect(page(), &pageRect);
    EXPECT_LE(barRect.bottom, pageRect.top);

    // The General page's labels and icons, each at its place.
    EXPECT_EQ(text(item(IDC_ENABLE_GESTURES)), u"Enable Gestures");
    int icons = 0;
    for (HWND child = GetWindow(page(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (SendMessageW(child, STM_GETICON, 0, 0) != 0)
            ++icons;
    }
    EXPECT_EQ(icons, 3);

    showPage(kAboutPage);
    const std::u16string about = text(item(IDC_ABOUT_TEXT));
    EXPECT_EQ(about.substr(0, about.find(u'\n')), u"Kelvo Soft Keyboard");
    EXPECT_NE(about.find(u"\nVersion " + std::u16string(u"1.0.0")), std::u16string::npos);
    EXPECT_EQ(std::count(about.begin(), about.end(), u'\n'), 2);  // name, version, notice
    cancel();
}

TEST_F(OptionsTest, TheGeneralPageShowsTheStoredSettings) {
    setNumber(u"RepeatDelay", 700);
    setNumber(u"RepeatPeriod", 30);
    setNumber(u"EnableGestures", 0);
    open();
    HWND delay = item(IDC_REPEAT_DELAY);
    HWND rate = item(IDC_REPEAT_RATE);
    EXPECT_EQ(SendMessageW(delay, TBM_GETRANGEMIN, 0, 0), 100);
    EXPECT_EQ(SendMessageW(delay, TBM_GETRANGEMAX, 0, 0), 1000);
    EXPECT_EQ(SendMessageW(rate, TBM_GETRANGEMIN, 0, 0), 0);
    EXPECT_EQ(SendMessageW(rate, TBM_GETRANGEMAX, 0, 0), 190);
    EXPECT_EQ(position(delay), 700);
    EXPECT_EQ(position(rate), 170);  // 200 - 30
    EXPECT_EQ(SendMessageW(item(IDC_ENABLE_GESTURES), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    cancel();
}

TEST_F(OptionsTest, SliderEndsGiveTheShortestAndLongestDelayAndPeriod) {
    open();
    dragThumbToEnd(item(IDC_REPEAT_DELAY), false);
    dragThumbToEnd(item(IDC_REPEAT_RATE), true);
    tapCentre(item(IDC_ENABLE_GESTURES));
    confirm();
    DWORD delay = 0, period = 0, gestures = 7;
    ASSERT_TRUE(readNumber(u"RepeatDelay", delay));
    ASSERT_TRUE(readNumber(u"RepeatPeriod", period));
    ASSERT_TRUE(readNumber(u"EnableGestures", gestures));
    EXPECT_EQ(delay, 100u);
    EXPECT_EQ(period, 10u);
    EXPECT_EQ(gestures, 0u);
    ASSERT_EQ(host->imDataBlocks.size(), 1u);
    EXPECT_TRUE(host->imDataBlocks[0] == (std::vector<WORD>{3, 4}));

    open();
    dragThumbToEnd(item(IDC_REPEAT_DELAY), true);
    dragThumbToEnd(item(IDC_REPEAT_RATE), false);
    confirm();
    readNumber(u"RepeatDelay", delay);
    readNumber(u"RepeatPeriod", period);
    EXPECT_EQ(delay, 1000u);
    EXPECT_EQ(period, 200u);
}

TEST_F(OptionsTest, AnUnchangedGeneralPageSavesNothing) {
    open();
    confirm();
    DWORD delay = 0;
    EXPECT_FALSE(readNumber(u"RepeatDelay", delay));  // never written
    ASSERT_EQ(host->imDataBlocks.size(), 1u);
    EXPECT_TRUE(host->imDataBlocks[0] == (std::vector<WORD>{3, 0}));
}

TEST_F(OptionsTest, ACancelledSheetSavesAndSendsNothing) {
    open();
    dragThumbToEnd(item(IDC_REPEAT_DELAY), false);
    cancel();
    DWORD delay = 0;
    EXPECT_FALSE(readNumber(u"RepeatDelay", delay));
    EXPECT_EQ(g_repeatDelay, kDefaultRepeatDelay);
    EXPECT_TRUE(host->imDataBlocks.empty());
}

TEST_F(OptionsTest, WithAnotherInputMethodCurrentTheSettingsAreSavedWithoutAReload) {
    host->setInputMethod(kelvo, kOtherInputMethod);
    open();
    dragThumbToEnd(item(IDC_REPEAT_DELAY), true);
    confirm();
    DWORD delay = 0;
    ASSERT_TRUE(readNumber(u"RepeatDelay", delay));
    EXPECT_EQ(delay, 1000u);
    EXPECT_TRUE(host->imDataBlocks.empty());
}

TEST_F(OptionsTest, OnlyTheMacrosGroupSavesTheMacrosAndSendsThreeOne) {
    setNumber(u"RepeatDelay", 321);
    LoadSettings();
    g_repeatDelay = 900;  // changed in memory but not part of the groups applied
    MacroTable[0].name = u"Greeting";
    ApplyChangedGroups(kReloadMacros);
    ASSERT_EQ(host->imDataBlocks.size(), 1u);
    EXPECT_TRUE(host->imDataBlocks[0] == (std::vector<WORD>{3, 1}));
    EXPECT_EQ(readText(u"MacroName0"), u"Greeting");  // the table was written
    DWORD delay = 0;
    ASSERT_TRUE(readNumber(u"RepeatDelay", delay));
    EXPECT_EQ(delay, 321u);
}

TEST_F(OptionsTest, AConfirmedSheetReachesARunningPanelWhichReloadsWhatChanged) {
    writeSkin(u"Kelvo");
    setText(u"CurSkin", u"Kelvo");
    ASSERT_EQ(kelvo->Select(host->sipWindow()), S_OK);
    kelvo->RegisterCallback(&host->callback());
    IMINFO info{};
    info.cbSize = sizeof(info);
    kelvo->GetInfo(&info);
    host->pump();
    ShowWindow(host->sipWindow(), SW_HIDE);

    open();
    dragThumbToEnd(item(IDC_REPEAT_DELAY), true);
    confirm();
    // The sheet ran in this process too: forget what it stored, so that only the panel's
    // reload can bring the new delay back.
    g_repeatDelay = kDefaultRepeatDelay;
    host->pump();
    EXPECT_EQ(g_repeatDelay, 1000);
    kelvo->Deselect();
}
