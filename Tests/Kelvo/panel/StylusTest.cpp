// The stylus on the panel: taps, held keys repeating on the virtual clock, strokes that choose
// gesture keys, gestures switched off, and presses that end in unusual ways.
#include <device/EventLog.h>
#include <device/Input.h>

#include <algorithm>

#include "ClipboardText.h"
#include "TypingLayouts.h"

using namespace skintest;
using Call = CallbackCall;
using Stylus = PanelTest;

TEST_F(Stylus, HeldKeyRepeatsAfterDelayThenEveryPeriodAndOnceMoreAtStylusUp) {
    writePortraitSkin({typingLayout()});
    createPanel();
    down(20, 20);
    host->advance(549);
    EXPECT_TRUE(calls().empty());
    host->advance(1);
    EXPECT_EQ(calls().size(), 2u);
    host->advance(49);
    EXPECT_EQ(calls().size(), 2u);
    host->advance(1);
    EXPECT_EQ(calls().size(), 4u);
    host->advance(50);
    EXPECT_EQ(calls().size(), 6u);
    up(20, 20);
    EXPECT_EQ(calls().size(), 8u);
    for (size_t i = 0; i < calls().size(); i += 2)
        EXPECT_EQ((std::vector<Call>{calls()[i], calls()[i + 1]}), charPair(0x41, u'a'));
    host->advance(500);
    EXPECT_EQ(calls().size(), 8u);
}

TEST_F(Stylus, SlidingOffStopsRepetitionForTheRestOfThePress) {
    writePortraitSkin({typingLayout()});
    createPanel();
    down(20, 20);
    host->advance(560);
    EXPECT_EQ(calls().size(), 2u);
    move(20, 75);  // more than 10 pixels below the key
    host->advance(300);
    move(20, 20);  // back on the key: no repetition again
    host->advance(300);
    EXPECT_EQ(calls().size(), 2u);
    up(20, 20);
    EXPECT_EQ(calls().size(), 4u);
}

TEST_F(Stylus, RepeatDelayAndPeriodComeFromTheSettings) {
    writePortraitSkin({typingLayout()});
    createPanel();
    g_repeatDelay = 100;
    g_repeatPeriod = 10;
    down(20, 20);
    host->advance(109);
    EXPECT_TRUE(calls().empty());
    host->advance(1);
    EXPECT_EQ(calls().size(), 2u);
    host->advance(10);
    EXPECT_EQ(calls().size(), 4u);
    up(20, 20);
}

TEST_F(Stylus, NoRepetitionOnFaceLayouts) {
    Layout layout = typingLayout();
    layout.flags = LF_CALC;
    writePortraitSkin({layout});
    createPanel();
    down(20, 20);
    host->advance(1000);
    EXPECT_TRUE(calls().empty());
    up(20, 20);
    EXPECT_EQ(calls(), charPair(0x41, u'a'));
}

TEST_F(Stylus, GestureDirectionsFavourTheVerticalOnTies) {
    writePortraitSkin({typingLayout()});
    createPanel();
    panel->pressedKey = &panel->layout->keys[0][1];  // (40, 0, 80, 40), grown: (30, -10, 90, 50)
    EXPECT_EQ(panel->GestureAt(60, 20), kGestureTap);
    EXPECT_EQ(panel->GestureAt(89, 49), kGestureTap);
    EXPECT_EQ(panel->GestureAt(90, 20), kGestureTap);   // on the right edge: no distance
    EXPECT_EQ(panel->GestureAt(95, -15), kGestureUp);   // above-right, |dx| = |dy|
    EXPECT_EQ(panel->GestureAt(25, 55), kGestureDown);  // below-left, |dx| = |dy|
    EXPECT_EQ(panel->GestureAt(95, 55), kGestureDown);
    EXPECT_EQ(panel->GestureAt(25, -15), kGestureUp);
    EXPECT_EQ(panel->GestureAt(100, -15), kGestureRight);
    EXPECT_EQ(panel->GestureAt(10, 55), kGestureLeft);
    EXPECT_EQ(panel->GestureAt(120, 20), kGestureRight);
    EXPECT_EQ(panel->GestureAt(0, 20), kGestureLeft);
}

TEST_F(Stylus, UpwardStrokeTypesTheAlternateKey) {
    Layout layout = typingLayout();
    layout.alt = 1;
    writePortraitSkin({layout, secondLayout()});
    createPanel();
    ASSERT_EQ(panel->altLayout->index, 1);
    down(20, 30);
    up(20, -15);  // 45 pixels up: beyond the key grown by 10
    EXPECT_EQ(calls(), charPair(0x41, u'A'));
    calls().clear();
    // Without an alternate layout an upward stroke does nothing.
    panel->layout->altIndex = -1;
    down(20, 30);
    up(20, -15);
    EXPECT_TRUE(calls().empty());
}

TEST_F(Stylus, StrokeReturningToTheKeyIsATap) {
    writePortraitSkin({typingLayout()});
    createPanel();
    down(20, 20);
    move(200, 75);
    up(45, 45);  // inside the key grown by 10
    EXPECT_EQ(calls(), charPair(0x41, u'a'));
}

TEST_F(Stylus, LeftStrokeSendsABackspaceLeftKeyEvenWithoutAlternate) {
    Layout layout = typingLayout();
    layout.leftRow = 0;
    layout.leftCol = 4;  // Backspace, param 8
    layout.rightRow = 1;
    layout.rightCol = 4;  // 'z'
    writePortraitSkin({layout});
    createPanel();
    down(200, 20);
    up(150, 20);  // from the goto key to the left
    EXPECT_EQ(calls(), charPair(0x08, 8));
    EXPECT_EQ(panel->layout->index, 0);  // the goto key itself did not act
    calls().clear();
    down(20, 20);
    up(100, 20);  // right: the layout's right key, whatever key the stroke started on
    EXPECT_EQ(calls(), charPair(0x5A, u'z'));
    calls().clear();
    down(20, 20);
    up(20, 75);  // down: no down key, nothing
    EXPECT_TRUE(calls().empty());
}

TEST_F(Stylus, LeftStrokeToAnotherKeyNeedsTheAlternateLayout) {
    Layout layout = typingLayout();
    layout.leftRow = 0;
    layout.leftCol = 0;  // 'a', not a backspace
    writePortraitSkin({layout, secondLayout()});
    createPanel();
    down(100, 20);
    up(50, 20);
    EXPECT_TRUE(calls().empty());

    layout.alt = 1;
    writePortraitSkin({layout, secondLayout()});
    SendMessageW(panelWindow(), WM_PANEL_COMMAND, 2, 0);
    down(100, 20);
    up(50, 20);
    EXPECT_EQ(calls(), charPair(0x41, u'A'));
}

TEST_F(Stylus, GesturesSwitchedOffCancelStrokes) {
    Layout layout = typingLayout();
    layout.rightRow = 1;
    layout.rightCol = 4;
    writePortraitSkin({layout});
    HKEY key = nullptr;
    DWORD disposition = 0;
    RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, 0, nullptr, &key, &disposition);
    DWORD off = 0;
    RegSetValueExW(key, u"EnableGestures", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&off), 4);
    RegCloseKey(key);
    createPanel();
    ASSERT_EQ(g_enableGestures, 0);
    down(20, 20);
    move(100, 20);
    EXPECT_EQ(panel->gesture, kGestureNone);
    up(100, 20);
    EXPECT_TRUE(calls().empty());
    tap(20, 20);
    EXPECT_EQ(calls(), charPair(0x41, u'a'));
}

TEST_F(Stylus, StylusUpWithoutStylusDownDoesNotActAgain) {
    writePortraitSkin({typingLayout()});
    createPanel();
    tap(20, 20);
    ASSERT_EQ(calls().size(), 2u);
    up(20, 20);
    up(60, 20);
    EXPECT_EQ(calls().size(), 2u);
    // A stylus down on empty space is not a press either.
    panel->layout->rowKeyCount[1] = 0;
    down(200, 70);
    up(20, 20);
    EXPECT_EQ(calls().size(), 2u);
}

TEST_F(Stylus, LayoutSwitchInMidPressReleasesTheCaptureAtStylusUp) {
    Layout layout = typingLayout();
    layout.rows[0][0].flags = KF_OUTPUT | KF_GOTO;  // types U+0101, then goes to layout 1
    layout.rows[0][0].param = 0x0101;
    writePortraitSkin({layout, secondLayout()});
    createPanel();
    down(20, 20);
    EXPECT_EQ(GetCapture(), panelWindow());
    host->advance(550);  // the repetition presses it: the layout switches under the stylus
    EXPECT_EQ(panel->layout->index, 1);
    EXPECT_EQ(panel->pressedKey, nullptr);
    move(30, 30);
    UpdateWindow(panelWindow());
    up(20, 20);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(panel->tracking, 0);
    EXPECT_EQ(calls(), charPair(0x41, 0x0101));
    host->advance(200);
    EXPECT_EQ(calls().size(), 2u);
}

TEST_F(Stylus, PressKeyMessageResetsTheGestureAfterSwitchingLayout) {
    writePortraitSkin({typingLayout(), secondLayout()});
    createPanel();
    SendMessageW(panelWindow(), WM_PANEL_PRESSKEY, 0, 5);
    EXPECT_EQ(panel->layout->index, 1);
    EXPECT_EQ(panel->pressedKey, nullptr);
    EXPECT_EQ(panel->gesture, kGestureNone);
    InvalidateRect(panelWindow(), nullptr, FALSE);
    UpdateWindow(panelWindow());
    EXPECT_EQ(panel->GestureAt(10, 10), kGestureTap);
}

TEST_F(Stylus, PressKeyMessageOutsideTheLayoutIsIgnored) {
    writePortraitSkin({typingLayout()});
    createPanel();
    SendMessageW(panelWindow(), WM_PANEL_PRESSKEY, 2, 0);
    SendMessageW(panelWindow(), WM_PANEL_PRESSKEY, 0, 6);
    SendMessageW(panelWindow(), WM_PANEL_PRESSKEY, 1, 5);
    SendMessageW(panelWindow(), WM_PANEL_PRESSKEY, static_cast<WPARAM>(-1), 0);
    SendMessageW(panelWindow(), WM_PANEL_PRESSKEY, 0, static_cast<LPARAM>(-1));
    SendMessageW(panelWindow(), WM_PANEL_PRESSKEY, 7, 31);
    EXPECT_TRUE(calls().empty());
    SendMessageW(panelWindow(), WM_PANEL_PRESSKEY, 1, 4);
    EXPECT_EQ(calls(), charPair(0x5A, u'z'));
}

TEST_F(Stylus, HidingThePanelMidPressEndsThePress) {
    writePortraitSkin({typingLayout()});
    createPanel();
    down(20, 20);
    ASSERT_EQ(GetCapture(), panelWindow());
    // The panel goes away under the stylus: it never sees its stylus up.
    ShowWindow(host->sipWindow(), SW_HIDE);
    host->pump();
    host->advance(2000);
    EXPECT_TRUE(calls().empty());
    EXPECT_EQ(panel->pressedKey, nullptr);
    EXPECT_EQ(panel->tracking, 0);
    EXPECT_EQ(panel->gesture, kGestureNone);
    device::stylusUp(5, 5);
    ShowWindow(host->sipWindow(), SW_SHOWNA);
    host->advance(2000);
    EXPECT_TRUE(calls().empty());
    // The next press is an ordinary one.
    tap(20, 20);
    EXPECT_EQ(calls(), charPair(0x41, u'a'));
}

TEST_F(Stylus, LosingTheCaptureEndsThePressAndItsLongPress) {
    Layout layout = typingLayout();
    layout.flags = LF_MACROS;
    layout.rows[0][1] = Key{KF_MACRO, 3, 0, rect(40, 0, 80, 40)};
    writePortraitSkin({layout});
    createPanel();
    // Text on the clipboard: a long press on the macro key would take it.
    ASSERT_TRUE(testsupport::putTextOnClipboard(u"abc", panelWindow()));
    down(60, 20);
    ASSERT_EQ(GetCapture(), panelWindow());
    SetCapture(host->sipWindow());  // another window takes the stylus
    host->pump();
    EXPECT_EQ(panel->tracking, 0);
    EXPECT_EQ(panel->pressedKey, nullptr);
    host->advance(kLongPressMs + 500);
    ReleaseCapture();
    up(60, 20);
    EXPECT_TRUE(device::eventsOfKind(u"beep").empty());
    EXPECT_TRUE(calls().empty());
    // The next press is an ordinary one.
    tap(20, 20);
    EXPECT_EQ(calls(), charPair(0x41, u'a'));
}
