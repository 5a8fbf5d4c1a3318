// Playing macros from the macros face: texts typed through SendMacroText, key sequences sent
// record by record, the date and time as VarBstrFromDate gives them, the owner's details read
// within the owner block, beeps for what expands to nothing, and the long press that takes the
// clipboard's text.
#include <device/Clock.h>
#include <device/EventLog.h>
#include <oleauto.h>

#include "ClipboardText.h"
#include "MacroLayouts.h"
#include "panel/MacroExpansion.h"
#include "panel/MacroStore.h"

using namespace skintest;
using Call = CallbackCall;

namespace {

class MacroPlay : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        device::clearEventLog();
    }
    // Starts the panel on the typing layout and enters the macros face, reading the table.
    void enterFace() {
        writePortraitSkin({typingLayout(), macrosLayout()});
        createPanel();
        tapAt(kGotoMacros);
        ASSERT_EQ(panel->layout->index, 1);
    }
    void tapAt(POINT p) { tap(p.x, p.y); }
    // Strikes a macro key and comes back to the face if the macro left it.
    void play(POINT key) {
        tapAt(key);
        if (panel->layout->index == 0)
            tapAt(kGotoMacros);
    }
    static size_t beeps() { return device::eventsOfKind(u"beep").size(); }
};

// A 640-byte owner block with the four fields at their offsets.
std::vector<BYTE> ownerBlock() {
    std::vector<BYTE> block(kOwnerInfoBytes, 0);
    const auto put = [&](DWORD offset, std::u16string_view text) {
        std::memcpy(block.data() + offset, text.data(), text.size() * sizeof(WCHAR));
    };
    put(OwnerName, u"Sara Tehrani");
    put(OwnerCompany, u"Tirvan");
    put(OwnerAddress, u"12 Vali Asr");
    put(OwnerPhone, u"+98 21 5555");
    return block;
}

std::u16string formatted(DATE date, ULONG flags) {
    BSTR text = nullptr;
    EXPECT_EQ(VarBstrFromDate(date, 0x400, flags, &text), S_OK);
    std::u16string result(text, SysStringLen(text));
    SysFreeString(text);
    return result;
}

}  // namespace

TEST_F(MacroPlay, TextMacroTypesItsTextAndLeavesTheFaceUnlessItStays) {
    storeMacroText(u"MacroData0", u"a  b");
    storeMacroText(u"MacroData4", u" ");
    enterFace();
    tapAt(kMacro0);
    const std::vector<Call> spacePress{Call::charEvent(0x20, 0x80, 0, u' '),
                                       Call::charEvent(0x20, 0x10040, 0, u' ')};
    EXPECT_EQ(calls(), std::vector<Call>{Call::string(u"a")} + spacePress + spacePress +
                           std::vector<Call>{Call::string(u"b")});
    EXPECT_EQ(panel->layout->index, 0);

    tapAt(kGotoMacros);
    calls().clear();
    tapAt(kStayMacro4);
    EXPECT_EQ(calls(), spacePress);
    EXPECT_EQ(panel->layout->index, 1);
    EXPECT_EQ(beeps(), 0u);
}

TEST_F(MacroPlay, PlaceholderInsideALongerTextIsTypedLiterally) {
    storeMacroText(u"MacroData0", u"x@@MN@@");
    storeMacroText(u"MacroData1", u"@@mn@@");
    storeValue(kOwnerInfoKey, kOwnerInfoValue, REG_BINARY, ownerBlock());
    enterFace();
    tapAt(kMacro0);
    tapAt(kGotoMacros);
    tapAt(kMacro1);
    EXPECT_EQ(typedText(calls()), u"x@@MN@@@@mn@@");
}

TEST_F(MacroPlay, EmptyMacroBeepsAndStaysOnTheFace) {
    enterFace();
    tapAt(kMacro0);
    EXPECT_TRUE(calls().empty());
    EXPECT_EQ(panel->layout->index, 1);
    ASSERT_EQ(beeps(), 1u);
    EXPECT_EQ(device::eventsOfKind(u"beep")[0].text, u"0x40");
}

TEST_F(MacroPlay, KeySequencePlaysEachRecordAndStaysOnTheFace) {
    const std::vector<BYTE> records{0x11, 0x41, 'a',  0,     // character press
                                    0x12, 0x41, 'a',  0,     // character release
                                    0x1D, 0x42, 'b',  0,     // with Shift and Control, press
                                    0x1E, 0x42, 'b',  0,     // and release
                                    0x21, 0x0D, 0,    0,     // virtual key press
                                    0x22, 0x0D, 0,    0,     // and release
                                    0x10, 0x43, 'c',  0,     // neither press nor release: skipped
                                    0x11, 0x28, 0x06, 0x01,  // a Farsi character, little-endian
                                    0x11, 0x44, 'd'};  // a partial record at the end is not played
    storeMacroValue(u"MacroData2", REG_BINARY, records);
    enterFace();
    tapAt(kMacro2);
    EXPECT_EQ(calls(), (std::vector<Call>{
                           Call::charEvent(0x41, 0x80, 0, u'a'),
                           Call::charEvent(0x41, 0x10040, 0, u'a'),
                           Call::charEvent(0x42, 0x60000080, 0x60000000, u'b'),
                           Call::charEvent(0x42, 0x10040, 0x60000000, u'b'),
                           Call::virtualKey(0x0D, 0),
                           Call::virtualKey(0x0D, KEYEVENTF_KEYUP),
                           Call::charEvent(0x28, 0x80, 0, 0x0106),
                       }));
    EXPECT_EQ(panel->layout->index, 1);
    EXPECT_EQ(beeps(), 0u);
}

TEST_F(MacroPlay, DateAndTimeKindsSendWhatTheDateConversionGives) {
    SYSTEMTIME now{2026, 12, 2, 8, 14, 5, 9, 0};
    device::setDeviceLocalTime(now);
    DATE date = 0;
    ASSERT_TRUE(SystemTimeToVariantTime(&now, &date));
    storeMacroText(u"MacroData0", u"@@DT0@@");
    storeMacroText(u"MacroData1", u"@@DT1@@");
    storeMacroText(u"MacroData4", u"@@DT2@@");
    enterFace();
    tapAt(kMacro0);
    EXPECT_EQ(typedText(calls()), formatted(date, VAR_DATEVALUEONLY));
    EXPECT_EQ(typedText(calls()), u"12/8/2026");
    tapAt(kGotoMacros);
    calls().clear();
    tapAt(kMacro1);
    EXPECT_EQ(typedText(calls()), formatted(date, 0));
    EXPECT_EQ(typedText(calls()), u"12/8/2026 2:05:09 PM");
    tapAt(kGotoMacros);
    calls().clear();
    tapAt(kStayMacro4);
    EXPECT_EQ(typedText(calls()), formatted(date, VAR_TIMEVALUEONLY));
    EXPECT_EQ(typedText(calls()), u"2:05:09 PM");
}

TEST_F(MacroPlay, OwnerKindsSendTheirFieldsAndBeepWithoutAnOwnerBlock) {
    storeMacroText(u"MacroData0", u"@@MN@@");
    storeMacroText(u"MacroData1", u"@@MC@@");
    storeMacroText(u"MacroData2", u"@@MA@@");
    storeMacroText(u"MacroData4", u"@@MP@@");
    enterFace();
    for (POINT key : {kMacro0, kMacro1, kMacro2, kStayMacro4})
        play(key);
    EXPECT_TRUE(calls().empty());
    EXPECT_EQ(beeps(), 4u);

    storeValue(kOwnerInfoKey, kOwnerInfoValue, REG_BINARY, ownerBlock());
    for (POINT key : {kMacro0, kMacro1, kMacro2, kStayMacro4})
        play(key);
    EXPECT_EQ(typedText(calls()), u"Sara TehraniTirvan12 Vali Asr+98 21 5555");
    EXPECT_EQ(beeps(), 4u);
}

TEST_F(MacroPlay, OwnerFieldsEndWithAShortOrUnterminatedBlock) {
    EXPECT_EQ(GetOwnerField(OwnerName), u"");
    // 75 bytes: the company's first character fits, the odd byte after it is no character.
    std::vector<BYTE> block = ownerBlock();
    block.resize(75);
    storeValue(kOwnerInfoKey, kOwnerInfoValue, REG_BINARY, block);
    EXPECT_EQ(GetOwnerField(OwnerName), u"Sara Tehrani");
    EXPECT_EQ(GetOwnerField(OwnerCompany), u"T");
    EXPECT_EQ(GetOwnerField(OwnerAddress), u"");
    EXPECT_EQ(GetOwnerField(OwnerPhone), u"");
    // No terminator anywhere: each field runs to the end of the block and no further.
    std::vector<BYTE> unterminated(kOwnerInfoBytes);
    for (size_t i = 0; i < unterminated.size(); i += 2) {
        unterminated[i] = 'Z';
        unterminated[i + 1] = 0;
    }
    storeValue(kOwnerInfoKey, kOwnerInfoValue, REG_BINARY, unterminated);
    EXPECT_EQ(GetOwnerField(OwnerName), std::u16string(320, u'Z'));
    EXPECT_EQ(GetOwnerField(OwnerPhone), std::u16string(62, u'Z'));
    // A larger block is read in its first 640 bytes.
    unterminated.resize(1000, 'Y');
    storeValue(kOwnerInfoKey, kOwnerInfoValue, REG_BINARY, unterminated);
    EXPECT_EQ(GetOwnerField(OwnerPhone), std::u16string(62, u'Z'));
    EXPECT_EQ(GetOwnerField(2000), u"");
}

TEST_F(MacroPlay, LongPressTakesTheFirstHundredCharactersOfTheClipboard) {
    storeMacroValue(u"MacroData1", REG_BINARY, {0x21, 0x0D, 0, 0});
    enterFace();
    ASSERT_EQ(MacroTable[1].kind, MacroKeySequence);
    std::u16string text;
    for (int i = 0; i < 15; ++i)
        text += u"0123456789";
    ASSERT_TRUE(testsupport::putTextOnClipboard(text, panelWindow()));

    down(kMacro1.x, kMacro1.y);
    host->advance(kLongPressMs);
    up(kMacro1.x, kMacro1.y);
    EXPECT_TRUE(calls().empty());  // the pen's lift does not also play the macro
    EXPECT_EQ(beeps(), 1u);
    const std::u16string first = text.substr(0, 100);
    EXPECT_EQ(MacroTable[1].name, first);
    EXPECT_EQ(MacroTable[1].kind, MacroString);
    EXPECT_EQ(macroText(MacroTable[1]), first);
    EXPECT_EQ(storedMacroValue(u"MacroName1"), (StoredValue{REG_SZ, textBytes(first)}));
    EXPECT_EQ(storedMacroValue(u"MacroData1"), (StoredValue{REG_SZ, textBytes(first)}));

    // A block without a terminator gives its characters and nothing after them.
    ASSERT_TRUE(testsupport::putTextOnClipboard(std::u16string(50, u'q'), panelWindow(),
                                                testsupport::Terminator::Without));
    down(kMacro2.x, kMacro2.y);
    host->advance(kLongPressMs);
    up(kMacro2.x, kMacro2.y);
    EXPECT_EQ(MacroTable[2].name, std::u16string(50, u'q'));
    EXPECT_EQ(MacroTable[2].dataSize, 100);

    // The record key's long press takes nothing; its lift arms a recording as a tap would.
    const std::u16string macro0 = MacroTable[0].name;
    down(kRecordKey.x, kRecordKey.y);
    host->advance(kLongPressMs);
    up(kRecordKey.x, kRecordKey.y);
    EXPECT_EQ(beeps(), 2u);
    EXPECT_EQ(MacroTable[0].name, macro0);
    EXPECT_EQ(panel->recordCount, 0);
}

TEST_F(MacroPlay, LongPressWithNoTextIsAnOrdinaryPress) {
    storeMacroText(u"MacroName0", u"Name");
    storeMacroText(u"MacroData0", u"kept");
    enterFace();
    for (const bool emptyText : {false, true}) {
        if (emptyText) {
            ASSERT_TRUE(testsupport::putTextOnClipboard(u"", panelWindow()));
        }
        if (panel->layout->index == 0)
            tapAt(kGotoMacros);
        ASSERT_EQ(panel->layout->index, 1);
        calls().clear();
        down(kMacro0.x, kMacro0.y);
        host->advance(kLongPressMs);
        up(kMacro0.x, kMacro0.y);
        EXPECT_EQ(beeps(), 0u);
        EXPECT_EQ(MacroTable[0].name, u"Name");
        EXPECT_EQ(typedText(calls()), u"kept");
    }
}
