// The macro table's registry form: every kind saved and loaded back, placeholders recognised
// only as the whole text, values bounded by the 512-byte buffer, and the moments the panel
// reads the table again.
#include "MacroLayouts.h"
#include "panel/MacroStore.h"

using namespace skintest;
using MacroStore = PanelTest;

namespace {

std::vector<BYTE> entryBytes(const MacroEntry& entry) {
    if (!entry.data)
        return {};
    return std::vector<BYTE>(entry.data.get(), entry.data.get() + entry.dataSize);
}

}  // namespace

TEST_F(MacroStore, EveryKindSurvivesSaveAndLoadWithKeySequencesAsBinary) {
    const std::u16string placeholders[] = {u"@@DT0@@", u"@@DT1@@", u"@@DT2@@", u"@@MN@@",
                                           u"@@MA@@",  u"@@MC@@",  u"@@MP@@"};
    setMacroText(MacroTable[0], u"سلام دنیا");
    MacroTable[0].name = u"سلام";
    const BYTE records[] = {0x11, 0x41, 'a', 0, 0x12, 0x41, 'a', 0, 0x21, 0x0D, 0, 0};
    setMacroBytes(MacroTable[1], records, sizeof(records));
    MacroTable[1].kind = MacroKeySequence;
    MacroTable[1].name = u"Key Seq. 2";
    for (int i = 0; i < 7; ++i) {
        setMacroText(MacroTable[2 + i], placeholders[i]);
        MacroTable[2 + i].kind = static_cast<SHORT>(MacroDate + i);
        MacroTable[2 + i].name = u"kind " + std::u16string(1, static_cast<WCHAR>(u'3' + i));
    }
    SaveMacros();

    EXPECT_EQ(storedMacroValue(u"MacroName0"), (StoredValue{REG_SZ, textBytes(u"سلام")}));
    EXPECT_EQ(storedMacroValue(u"MacroData0"), (StoredValue{REG_SZ, textBytes(u"سلام دنیا")}));
    EXPECT_EQ(storedMacroValue(u"MacroData1"),
              (StoredValue{REG_BINARY, std::vector<BYTE>(std::begin(records), std::end(records))}));
    EXPECT_EQ(storedMacroValue(u"MacroData8"), (StoredValue{REG_SZ, textBytes(u"@@MP@@")}));
    // A macro without data is an empty value of each name.
    EXPECT_EQ(storedMacroValue(u"MacroName19"), (StoredValue{REG_SZ, {}}));
    EXPECT_EQ(storedMacroValue(u"MacroData19"), (StoredValue{REG_SZ, {}}));

    for (MacroEntry& entry : MacroTable) {
        entry.name = u"stale";
        entry.data.reset();
        entry.dataSize = 0;
        entry.kind = MacroKeySequence;
    }
    LoadMacros();
    EXPECT_EQ(MacroTable[0].name, u"سلام");
    EXPECT_EQ(MacroTable[0].kind, MacroString);
    EXPECT_EQ(macroText(MacroTable[0]), u"سلام دنیا");
    EXPECT_EQ(MacroTable[1].kind, MacroKeySequence);
    EXPECT_EQ(entryBytes(MacroTable[1]), std::vector<BYTE>(std::begin(records), std::end(records)));
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(MacroTable[2 + i].kind, MacroDate + i) << i;
        EXPECT_EQ(macroText(MacroTable[2 + i]), placeholders[i]);
        EXPECT_EQ(MacroTable[2 + i].name,
                  u"kind " + std::u16string(1, static_cast<WCHAR>(u'3' + i)));
    }
    EXPECT_EQ(MacroTable[19].name, u"");
    EXPECT_EQ(MacroTable[19].kind, MacroString);
    EXPECT_EQ(MacroTable[19].dataSize, 0);
}

TEST_F(MacroStore, PlaceholdersCountOnlyAsTheWholeTextInTheirOwnCase) {
    storeMacroText(u"MacroData0", u"@@MN@@");
    storeMacroText(u"MacroData1", u"x@@MN@@");
    storeMacroText(u"MacroData2", u"@@mn@@");
    storeMacroText(u"MacroData3", u"@@DT1@@ ");
    storeMacroText(u"MacroData4", u"@@DT2@@");
    // A terminator stored with the text ends the text.
    storeMacroValue(u"MacroData5", REG_SZ, textBytes(std::u16string(u"@@MC@@\0", 7)));
    // Any type but REG_SZ is a key sequence, whatever it holds.
    storeMacroValue(u"MacroData6", REG_EXPAND_SZ, textBytes(u"@@MN@@"));
    storeMacroValue(u"MacroData7", REG_DWORD, {1, 2, 3, 4});
    LoadMacros();
    EXPECT_EQ(MacroTable[0].kind, MacroMyName);
    EXPECT_EQ(MacroTable[1].kind, MacroString);
    EXPECT_EQ(MacroTable[2].kind, MacroString);
    EXPECT_EQ(MacroTable[3].kind, MacroString);
    EXPECT_EQ(MacroTable[4].kind, MacroTime);
    EXPECT_EQ(MacroTable[5].kind, MacroMyCompany);
    EXPECT_EQ(MacroTable[6].kind, MacroKeySequence);
    EXPECT_EQ(MacroTable[6].dataSize, 12);
    EXPECT_EQ(MacroTable[7].kind, MacroKeySequence);
    EXPECT_EQ(entryBytes(MacroTable[7]), (std::vector<BYTE>{1, 2, 3, 4}));
}

TEST_F(MacroStore, ValuesAreBoundedByTheBufferThatHoldsTheirTerminator) {
    // A name of exactly 512 bytes, no terminator: the terminator must still fit the buffer.
    storeMacroText(u"MacroName0", std::u16string(256, u'N'));
    storeMacroText(u"MacroData0", std::u16string(300, u'D'));
    storeMacroValue(u"MacroData1", REG_BINARY, std::vector<BYTE>(600, 0x21));
    storeMacroValue(u"MacroName2", REG_SZ, textBytes(std::u16string(u"ab\0cd", 5)));
    storeMacroValue(u"MacroData2", REG_SZ, {'h', 0, 'i', 0, '!'});  // an odd last byte
    LoadMacros();
    EXPECT_EQ(MacroTable[0].name, std::u16string(255, u'N'));
    EXPECT_EQ(MacroTable[0].dataSize, 510);
    EXPECT_EQ(macroText(MacroTable[0]), std::u16string(255, u'D'));
    EXPECT_EQ(MacroTable[1].dataSize, 510);
    EXPECT_EQ(MacroTable[2].name, u"ab");
    EXPECT_EQ(MacroTable[2].dataSize, 5);
    EXPECT_EQ(macroText(MacroTable[2]), u"hi");
    // Saving writes back what the buffers hold, never more.
    SaveMacros();
    EXPECT_EQ(storedMacroValue(u"MacroName0").bytes.size(), 510u);
    EXPECT_EQ(storedMacroValue(u"MacroData1").bytes, std::vector<BYTE>(510, 0x21));
    EXPECT_EQ(storedMacroValue(u"MacroData2").bytes, (std::vector<BYTE>{'h', 0, 'i', 0, '!'}));
}

TEST_F(MacroStore, MissingKeyKeepsTheTableAndMissingValuesLeaveEmptyStrings) {
    MacroTable[4].name = u"kept";
    setMacroText(MacroTable[4], u"text");
    ASSERT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey), ERROR_SUCCESS);
    LoadMacros();
    EXPECT_EQ(MacroTable[4].name, u"kept");
    EXPECT_EQ(macroText(MacroTable[4]), u"text");

    storeMacroText(u"MacroName5", u"only a name");
    LoadMacros();
    EXPECT_EQ(MacroTable[4].name, u"");
    EXPECT_FALSE(MacroTable[4].data);
    EXPECT_EQ(MacroTable[5].name, u"only a name");
    EXPECT_FALSE(MacroTable[5].data);
    EXPECT_EQ(MacroTable[5].kind, MacroString);
}

TEST_F(MacroStore, PanelReadsTheTableAtStartOnEnteringTheFaceAndOnReload) {
    storeMacroText(u"MacroName0", u"first");
    writePortraitSkin({typingLayout(), macrosLayout()});
    createPanel();
    EXPECT_EQ(MacroTable[0].name, u"first");

    storeMacroText(u"MacroName0", u"second");
    tap(kGotoMacros.x, kGotoMacros.y);
    ASSERT_EQ(panel->layout->index, 1);
    EXPECT_EQ(MacroTable[0].name, u"second");

    storeMacroText(u"MacroName0", u"third");
    SendMessageW(panelWindow(), WM_PANEL_RELOAD, kReloadMacros, 0);
    EXPECT_EQ(MacroTable[0].name, u"third");

    // A recording with its target keeps the table it is writing into.
    storeMacroText(u"MacroName0", u"fourth");
    panel->SwitchLayout(0);
    panel->recordCount = 0;
    panel->recordSlot = 2;
    panel->SwitchLayout(1);
    EXPECT_EQ(MacroTable[0].name, u"third");
}
