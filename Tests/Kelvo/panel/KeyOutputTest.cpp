// What a tap sends through the host: characters with their shift words, Control letters, the
// ligature key, virtual keys, modifiers, and the recording of strokes.
#include "TypingLayouts.h"
#include "panel/Macros.h"

using namespace skintest;
using Call = CallbackCall;
using KeyOutput = PanelTest;

TEST_F(KeyOutput, TapOnCharacterKeySendsDownThenReleaseEvent) {
    writePortraitSkin({typingLayout()});
    createPanel();
    tap(20, 20);
    EXPECT_EQ(calls(), charPair(0x41, u'a'));
}

TEST_F(KeyOutput, LatchedShiftAndControlTravelInTheShiftWord) {
    writePortraitSkin({typingLayout()});
    createPanel();
    // Control latches (its key goes down) and turns 'a' into 1.
    tap(60, 60);
    tap(20, 20);
    EXPECT_EQ(calls(),
              std::vector<Call>{Call::virtualKey(0x11, 0)} + charPair(0x41, 1, 0x40000000));
    EXPECT_EQ(calls()[1].flags, 0x40000080u);
    calls().clear();
    // One-shot Shift with Control: both bits, then Shift's key-up and its latch cleared.
    tap(20, 60);
    tap(180, 60);
    EXPECT_EQ(calls(), std::vector<Call>{Call::virtualKey(0x10, 0)} +
                           charPair(0x5A, 26, 0x60000000) +
                           std::vector<Call>{Call::virtualKey(0x10, KEYEVENTF_KEYUP)});
    EXPECT_EQ(panel->latched[1], 0);
    EXPECT_EQ(panel->latched[2], 1);
}

TEST_F(KeyOutput, OneShotShiftGoesOutWithTheNextCharacterOnly) {
    writePortraitSkin({typingLayout()});
    createPanel();
    tap(20, 60);
    tap(20, 20);
    tap(20, 20);
    EXPECT_EQ(calls(), std::vector<Call>{Call::virtualKey(0x10, 0)} +
                           charPair(0x41, u'a', 0x20000000) +
                           std::vector<Call>{Call::virtualKey(0x10, KEYEVENTF_KEYUP)} +
                           charPair(0x41, u'a'));
}

TEST_F(KeyOutput, ControlWithAFarsiLetterSendsTheLetterItself) {
    writePortraitSkin({typingLayout()});
    createPanel();
    tap(60, 60);
    calls().clear();
    tap(60, 20);
    EXPECT_EQ(calls(), charPair(0x46, 0x0628, 0x40000000));
}

TEST_F(KeyOutput, LigatureKeySendsItsFourLettersAndRecordsEightStrokes) {
    writePortraitSkin({typingLayout()});
    createPanel();
    MacroTable[3].data.reset(new BYTE[kRecordBufferBytes]);
    panel->recordCount = 0;
    panel->recordSlot = 3;
    tap(100, 20);
    EXPECT_EQ(calls(), charPair(0x56, 0x0631) + charPair(0x44, 0x06CC) + charPair(0x48, 0x0627) +
                           charPair(0x47, 0x0644));
    ASSERT_EQ(panel->recordCount, 8);
    auto* records = reinterpret_cast<const KeySeqRecord*>(MacroTable[3].data.get());
    EXPECT_EQ(records[0].flags, 0x11);
    EXPECT_EQ(records[0].vk, 0x56);
    EXPECT_EQ(records[0].ch, 0x0631);
    EXPECT_EQ(records[7].flags, 0x12);
    EXPECT_EQ(records[7].ch, 0x0644);
}

TEST_F(KeyOutput, RecordingNeverWritesPastTheSeventyFiveRecords) {
    writePortraitSkin({typingLayout()});
    createPanel();
    MacroTable[0].data.reset(new BYTE[kRecordBufferBytes]);
    panel->recordCount = 0;
    panel->recordSlot = 0;
    // Control latched records its key-down; then character pairs fill the buffer.
    tap(60, 60);
    for (int i = 0; i < 40; ++i)
        tap(20, 20);
    EXPECT_EQ(panel->recordCount, 75);
    auto* records = reinterpret_cast<const KeySeqRecord*>(MacroTable[0].data.get());
    EXPECT_EQ(records[0].flags, 0x21);
    EXPECT_EQ(records[0].vk, 0x11);
    EXPECT_EQ(records[1].flags, 0x19);  // character, Control, press
    EXPECT_EQ(records[1].ch, 1);
    // Every tap was still sent.
    EXPECT_EQ(calls().size(), 1u + 80u);
}

TEST_F(KeyOutput, ShiftWithDeleteReleasesShiftBeforeTheDelete) {
    Layout layout = typingLayout();
    layout.rows[1][0].flags = 0x2000 | kLatching;  // a latching Shift
    writePortraitSkin({layout});
    createPanel();
    tap(20, 60);
    tap(140, 20);
    EXPECT_EQ(calls(), (std::vector<Call>{
                           Call::virtualKey(0x10, 0), Call::virtualKey(0x10, KEYEVENTF_KEYUP),
                           Call::virtualKey(0x2E, 0), Call::virtualKey(0x2E, KEYEVENTF_KEYUP)}));
    EXPECT_EQ(panel->latched[1], 0);
}

TEST_F(KeyOutput, PressWithoutCallbackSendsNothingAndRecordsNothing) {
    writePortraitSkin({typingLayout()});
    createPanel();
    panel->callback = nullptr;
    MacroTable[1].data.reset(new BYTE[kRecordBufferBytes]);
    panel->recordCount = 0;
    panel->recordSlot = 1;
    tap(20, 20);
    tap(60, 60);
    EXPECT_TRUE(calls().empty());
    EXPECT_EQ(panel->recordCount, 0);
    EXPECT_EQ(panel->latched[2], 1);  // the latch is the panel's own state
}

TEST_F(KeyOutput, SlotBitsElevenToFifteenToggleNothing) {
    writePortraitSkin({typingLayout()});
    createPanel();
    tap(140, 60);
    EXPECT_TRUE(calls().empty());
    for (BYTE latch : panel->latched)
        EXPECT_EQ(latch, 0);
    for (int s = 1; s <= kModifierSlots; ++s) {
        if (s != 2 && s != 3 && s != 4) {
            EXPECT_EQ(panel->modSlot[s - 1], nullptr) << s;
        }
    }
}
