// Layout switches: the history of five layouts, latches released on leaving or entering, and
// what an alternate key with a modifier slot the layout lacks does.
#include "TypingLayouts.h"

using namespace skintest;
using Call = CallbackCall;
using LayoutSwitch = PanelTest;

namespace {

// A layout whose only key is 'a' at the given width, to tell layouts apart by their index.
Layout numbered(WORD flags = 0) {
    Layout layout;
    layout.flags = flags;
    layout.rows = {{charKey(u'a', 0x41, rect(0, 0, 240, 80))}};
    return layout;
}

}  // namespace

TEST_F(LayoutSwitch, HistoryKeepsFiveLayoutsForGoingBack) {
    writePortraitSkin(std::vector<Layout>(8, numbered()));
    createPanel();
    panel->SwitchLayout(7);
    for (int n = 1; n <= 6; ++n)
        panel->SwitchLayout(n);
    std::vector<int> shown;
    for (int i = 0; i < 6; ++i) {
        panel->SwitchLayout(-1);
        shown.push_back(panel->layout->index);
    }
    EXPECT_EQ(shown, (std::vector<int>{5, 4, 3, 2, 1, 0}));
    for (int32_t entry : panel->layoutHistory)
        EXPECT_EQ(entry, 0);
}

TEST_F(LayoutSwitch, CommandMessageSwitchesAndBeyondTheCountLoadsLayoutZero) {
    writePortraitSkin({numbered(), numbered(), numbered()});
    createPanel();
    SendMessageW(panelWindow(), WM_PANEL_COMMAND, 2, 2);
    EXPECT_EQ(panel->layout->index, 2);
    SendMessageW(panelWindow(), WM_PANEL_COMMAND, 1, 1);  // not a switch
    EXPECT_EQ(panel->layout->index, 2);
    SendMessageW(panelWindow(), WM_PANEL_COMMAND, 2, 7);
    EXPECT_EQ(panel->layout->index, 0);
    SendMessageW(panelWindow(), WM_PANEL_COMMAND, 2, -5);
    EXPECT_EQ(panel->layout->index, 0);
    EXPECT_EQ(panel->layoutHistory[0], 0);
    EXPECT_EQ(panel->layoutHistory[1], 2);
}

TEST_F(LayoutSwitch, LeavingAReleasingLayoutSendsShiftControlAndOtherLatchedKeysUp) {
    Layout first = typingLayout();
    first.flags = LF_RELEASE_ON_LEAVE;
    first.rows[1][0].flags = 0x2000 | kLatching;
    writePortraitSkin({first, secondLayout()});
    createPanel();
    tap(20, 60);   // Shift
    tap(60, 60);   // Control
    tap(100, 60);  // slot 4
    calls().clear();
    tap(220, 20);  // to layout 1
    // Shift and Control first; the latch of slot 4 is cleared too, so its key goes up as well.
    EXPECT_EQ(calls(), (std::vector<Call>{Call::virtualKey(0x10, KEYEVENTF_KEYUP),
                                          Call::virtualKey(0x11, KEYEVENTF_KEYUP),
                                          Call::virtualKey(0x5B, KEYEVENTF_KEYUP)}));
    EXPECT_EQ(panel->layout->index, 1);
    for (BYTE latch : panel->latched)
        EXPECT_EQ(latch, 0);
    for (KeyRecord* key : panel->modSlot)
        EXPECT_EQ(key, nullptr);
}

TEST_F(LayoutSwitch, EnteringAReleasingLayoutSendsShiftThenControlUp) {
    Layout first = typingLayout();
    first.rows[1][0].flags = 0x2000 | kLatching;
    Layout second = secondLayout();
    second.flags = LF_RELEASE_ON_ENTER;
    writePortraitSkin({first, second});
    createPanel();
    tap(60, 60);  // Control first
    tap(20, 60);  // then Shift
    calls().clear();
    tap(220, 20);
    EXPECT_EQ(calls(), (std::vector<Call>{Call::virtualKey(0x10, KEYEVENTF_KEYUP),
                                          Call::virtualKey(0x11, KEYEVENTF_KEYUP)}));
    for (BYTE latch : panel->latched)
        EXPECT_EQ(latch, 0);
}

TEST_F(LayoutSwitch, LatchesSurviveAnOrdinarySwitchAndApplyWhereTheSlotHasAKey) {
    Layout first = typingLayout();
    Layout second = secondLayout();
    writePortraitSkin({first, second});
    createPanel();
    tap(60, 60);  // Control latched
    calls().clear();
    tap(220, 20);
    EXPECT_TRUE(calls().empty());
    EXPECT_EQ(panel->latched[2], 1);
    // Layout 1 has no Control key: the latch has no effect there.
    tap(20, 20);
    EXPECT_EQ(calls(), charPair(0x41, u'A'));
    calls().clear();
    tap(60, 20);  // back: Control applies again
    tap(20, 20);
    EXPECT_EQ(calls(), charPair(0x41, 1, 0x40000000));
}

TEST_F(LayoutSwitch, ModifierWithGotoSwitchesWhenToggled) {
    Layout first = typingLayout();
    first.rows[1][2] = Key{0x4000 | kLatching | KF_GOTO, 1, 0x5B, rect(80, 40, 120, 80)};
    writePortraitSkin({first, secondLayout()});
    createPanel();
    tap(100, 60);
    EXPECT_EQ(calls(), std::vector<Call>{Call::virtualKey(0x5B, 0)});
    EXPECT_EQ(panel->layout->index, 1);
    EXPECT_EQ(panel->latched[3], 1);
}

TEST_F(LayoutSwitch, AlternateKeyWithASlotTheLayoutLacksTogglesNothing) {
    Layout first = numbered();
    first.alt = 1;
    first.rows = {{charKey(u'a', 0x41, rect(0, 0, 240, 80))}};
    Layout second = numbered();
    second.rows[0][0] = Key{0x5000 | KF_OUTPUT, u'q', 0x51, rect(0, 0, 240, 80)};
    writePortraitSkin({first, second});
    createPanel();
    down(100, 40);
    up(100, -15);
    EXPECT_EQ(calls(), charPair(0x51, u'q'));
    for (BYTE latch : panel->latched)
        EXPECT_EQ(latch, 0);
}

TEST_F(LayoutSwitch, UpwardStrokeToAnEmptyAlternatePlaceSendsNothing) {
    Layout first = typingLayout();
    first.alt = 1;
    Layout second = secondLayout();
    second.rows[0][0] = Key{};
    writePortraitSkin({first, second});
    createPanel();
    down(20, 30);
    up(20, -15);
    EXPECT_TRUE(calls().empty());
    // A key beyond the alternate's row: nothing either.
    down(180, 70);
    up(180, 20);
    EXPECT_TRUE(calls().empty());
}
