// The recording cycle around the record key: arming, choosing the target (which leaves the
// face), appending the strokes sent, and ending with a saved key sequence or an emptied macro.
#include <device/EventLog.h>

#include "ClipboardText.h"
#include "MacroLayouts.h"
#include "panel/MacroExpansion.h"
#include "panel/MacroStore.h"

using namespace skintest;

namespace {

class Recording : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        storeMacroText(u"MacroName3", u"Greeting");
        storeMacroText(u"MacroData3", u"hello");
        writePortraitSkin({typingLayout(), macrosLayout()});
        createPanel();
        tapAt(kGotoMacros);
        ASSERT_EQ(panel->layout->index, 1);
    }
    void tapAt(POINT p) { tap(p.x, p.y); }
};

}  // namespace

TEST_F(Recording, RecordKeyTwiceArmsAndDisarmsTouchingNothing) {
    tapAt(kRecordKey);
    EXPECT_EQ(panel->recordCount, 0);
    EXPECT_EQ(panel->recordSlot, -1);
    EXPECT_EQ(panel->recordKeyPos[0], 1);
    EXPECT_EQ(panel->recordKeyPos[1], 3);
    tapAt(kRecordKey);
    EXPECT_EQ(panel->recordCount, -1);
    EXPECT_EQ(panel->recordSlot, -1);
    EXPECT_EQ(macroText(MacroTable[3]), u"hello");
    EXPECT_EQ(panel->layout->index, 1);
    EXPECT_TRUE(calls().empty());
}

TEST_F(Recording, TargetWithoutStrokesLosesItsDataAndNothingIsSaved) {
    tapAt(kRecordKey);
    tapAt(kMacro3);
    // Choosing the target sends nothing and returns to the layout before the face.
    EXPECT_TRUE(calls().empty());
    EXPECT_EQ(panel->layout->index, 0);
    EXPECT_EQ(panel->recordSlot, 3);
    tapAt(kGotoMacros);
    EXPECT_EQ(MacroTable[3].name, u"Greeting");  // not read again while recording
    tapAt(kRecordKey);
    EXPECT_EQ(panel->recordCount, -1);
    EXPECT_EQ(panel->recordSlot, -1);
    EXPECT_FALSE(MacroTable[3].data);
    EXPECT_EQ(MacroTable[3].dataSize, 0);
    EXPECT_EQ(MacroTable[3].name, u"Greeting");
    EXPECT_EQ(MacroTable[3].kind, MacroString);
    EXPECT_EQ(storedMacroValue(u"MacroData3"), (StoredValue{REG_SZ, textBytes(u"hello")}));
}

TEST_F(Recording, StrokesBecomeASavedKeySequenceNamedAfterTheMacro) {
    tapAt(kRecordKey);
    tapAt(kMacro3);
    tapAt(kLetterA);
    tapAt(kGotoMacros);
    tapAt(kRecordKey);
    EXPECT_EQ(calls(), charPair(0x41, u'a'));
    EXPECT_EQ(MacroTable[3].name, u"Key Seq. 4");
    EXPECT_EQ(MacroTable[3].kind, MacroKeySequence);
    ASSERT_EQ(MacroTable[3].dataSize, 8);
    const std::vector<BYTE> records{0x11, 0x41, 'a', 0, 0x12, 0x41, 'a', 0};
    EXPECT_EQ(storedMacroValue(u"MacroData3"), (StoredValue{REG_BINARY, records}));
    EXPECT_EQ(storedMacroValue(u"MacroName3"), (StoredValue{REG_SZ, textBytes(u"Key Seq. 4")}));

    // Played back, the macro sends what was recorded and stays on the face.
    calls().clear();
    tapAt(kMacro3);
    EXPECT_EQ(calls(), charPair(0x41, u'a'));
    EXPECT_EQ(panel->layout->index, 1);
}

TEST_F(Recording, AFullRecordingKeepsItsFirstSeventyFiveRecords) {
    tapAt(kRecordKey);
    tapAt(kMacro3);
    for (int i = 0; i < 40; ++i)
        tapAt(kLetterA);  // 80 records offered
    EXPECT_EQ(panel->recordCount, kRecordCapacity);
    EXPECT_EQ(calls().size(), 80u);  // every stroke still reaches the host
    tapAt(kGotoMacros);
    tapAt(kRecordKey);
    EXPECT_EQ(MacroTable[3].dataSize, kRecordBufferBytes);
    EXPECT_EQ(storedMacroValue(u"MacroData3").bytes.size(), 300u);
    calls().clear();
    tapAt(kMacro3);
    EXPECT_EQ(calls().size(), 75u);
}

TEST_F(Recording, ChosenTargetHoldsNothingUntilAStrokeIsRecorded) {
    // The target had 400 bytes of text; its new 300-byte buffer holds none of them.
    storeMacroText(u"MacroData2", std::u16string(200, u'x'));
    SendMessageW(panelWindow(), WM_PANEL_RELOAD, kReloadMacros, 0);
    ASSERT_EQ(MacroTable[2].dataSize, 400);
    tapAt(kRecordKey);
    tapAt(kMacro2);
    ASSERT_EQ(panel->recordSlot, 2);
    EXPECT_EQ(MacroTable[2].dataSize, 0);
    EXPECT_EQ(ExpandMacro(MacroTable[2]), u"");
    SaveMacros();
    EXPECT_EQ(storedMacroValue(u"MacroData2"), (StoredValue{REG_SZ, {}}));

    // A skin reload drops the recording; the target keeps its buffer, still holding nothing.
    SendMessageW(panelWindow(), WM_PANEL_RELOAD, kReloadSkin, 0);
    EXPECT_EQ(panel->recordCount, -1);
    EXPECT_EQ(panel->recordSlot, -1);
    EXPECT_TRUE(MacroTable[2].data);
    EXPECT_EQ(MacroTable[2].dataSize, 0);
    EXPECT_EQ(ExpandMacro(MacroTable[2]), u"");
}

TEST_F(Recording, MacroKeysPastTheTableAreIgnoredEvenAsTargets) {
    tapAt(kRecordKey);
    device::clearEventLog();
    tapAt(kMacro25);
    EXPECT_EQ(panel->recordSlot, -1);
    EXPECT_EQ(panel->layout->index, 1);
    panel->recordCount = -1;
    tapAt(kMacro25);
    EXPECT_TRUE(calls().empty());
    EXPECT_TRUE(device::eventsOfKind(u"beep").empty());
}

TEST_F(Recording, ReplacingTheTargetsDataEndsTheRecording) {
    // The table read again: the target's buffer is gone, so the recording is too.
    tapAt(kRecordKey);
    tapAt(kMacro3);
    tapAt(kLetterA);
    SendMessageW(panelWindow(), WM_PANEL_RELOAD, kReloadMacros, 0);
    EXPECT_EQ(panel->recordCount, -1);
    EXPECT_EQ(panel->recordSlot, -1);
    EXPECT_EQ(macroText(MacroTable[3]), u"hello");
    tapAt(kLetterA);  // recorded nowhere
    EXPECT_EQ(macroText(MacroTable[3]), u"hello");

    // The clipboard's text given to the target by a long press ends it as well.
    tapAt(kGotoMacros);
    tapAt(kRecordKey);
    tapAt(kMacro3);
    tapAt(kGotoMacros);
    ASSERT_EQ(panel->recordSlot, 3);
    ASSERT_TRUE(testsupport::putTextOnClipboard(u"abc", panelWindow()));
    down(kMacro3.x, kMacro3.y);
    host->advance(kLongPressMs);
    up(kMacro3.x, kMacro3.y);
    EXPECT_EQ(panel->recordSlot, -1);
    EXPECT_EQ(panel->recordCount, -1);
    tapAt(kMacro3);  // types its new text and leaves the face
    for (int i = 0; i < 5; ++i)
        tapAt(kLetterA);  // recorded nowhere
    EXPECT_EQ(macroText(MacroTable[3]), u"abc");
    EXPECT_EQ(MacroTable[3].dataSize, 6);
}
