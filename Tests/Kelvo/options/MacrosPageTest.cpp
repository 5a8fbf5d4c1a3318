// The Macros page: the table read again from the registry when the page opens, the fields each
// kind shows, what Apply and OK write into the table and what the confirmed sheet saves (macros
// 13 to 20 as they were), what switching numbers or cancelling leaves, and edits that take no
// more than a load of the macros keeps.
#include <afxwin.h>

#include <map>

#include "OptionsFixture.h"
#include "inputmethod/Settings.h"
#include "options/MacrosPage.h"
#include "panel/MacroStore.h"
#include "panel/Macros.h"
#include "panel/MyPanel.h"

namespace {

constexpr int kStringKind = 0;
constexpr int kKeySequenceKind = 1;
constexpr int kDateKind = 2;
constexpr int kTimeKind = 4;

struct StoredValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
    bool operator==(const StoredValue&) const = default;
};

HKEY openSettings() {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, 0, nullptr, &key, nullptr);
    return key;
}

void store(const std::u16string& name, DWORD type, const std::vector<BYTE>& bytes) {
    HKEY key = openSettings();
    RegSetValueExW(key, name.c_str(), 0, type, bytes.data(), static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

std::vector<BYTE> bytesOf(std::u16string_view text) {
    const auto* begin = reinterpret_cast<const BYTE*>(text.data());
    return {begin, begin + text.size() * sizeof(WCHAR)};
}

std::u16string valueName(const char16_t* prefix, int n) {
    std::u16string name = prefix;
    for (char c : std::to_string(n))
        name += static_cast<char16_t>(c);
    return name;
}

void storeMacro(int n, std::u16string_view name, std::u16string_view text) {
    store(valueName(u"MacroName", n), REG_SZ, bytesOf(name));
    store(valueName(u"MacroData", n), REG_SZ, bytesOf(text));
}

std::optional<StoredValue> stored(const std::u16string& name) {
    HKEY key = openSettings();
    StoredValue value;
    DWORD size = 0;
    LONG result = RegQueryValueExW(key, name.c_str(), nullptr, &value.type, nullptr, &size);
    if (result == ERROR_SUCCESS) {
        value.bytes.resize(size);
        result =
            RegQueryValueExW(key, name.c_str(), nullptr, &value.type, value.bytes.data(), &size);
    }
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

LRESULT selection(HWND combo) {
    return SendMessageW(combo, CB_GETCURSEL, 0, 0);
}

}  // namespace

class MacrosPageTest : public OptionsTest {
protected:
    void openMacros() {
        open();
        showPage(kMacrosPage);
    }
    HWND numberList() const { return item(IDC_MACRO_NUMBER); }
    HWND kindList() const { return item(IDC_MACRO_KIND); }
    HWND nameEdit() const { return item(IDC_MACRO_NAME); }
    HWND dataEdit() const { return item(IDC_MACRO_DATA); }
    // Replaces an edit's text: emptied, then each character typed as a keyboard's WM_CHAR.
    void typeInto(HWND edit, const std::u16string& chars) const {
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u""));
        for (char16_t c : chars)
            SendMessageW(edit, WM_CHAR, c, 0x00390001);
        settleDevice();
    }
    void apply() const { tapCentre(item(IDC_MACRO_APPLY)); }
};

TEST_F(MacrosPageTest, ThePageReloadsTheTableAndShowsTheFieldsOfEachKind) {
    storeMacro(0, u"Greeting", u"\u0633\u0644\u0627\u0645 Hello");
    store(u"MacroName1", REG_SZ, bytesOf(u"Key Seq. 2"));
    // Five bytes of records: no terminator, and an odd byte after two characters' worth.
    store(u"MacroData1", REG_BINARY, {'A', 0, 'B', 0, 'C'});
    LoadMacros();
    MacroTable[0].name = u"never saved";
    openMacros();

    EXPECT_FALSE(host->shown);  // the page hides the input panel as it opens
    std::vector<std::u16string> numbers;
    for (int n = 1; n <= 12; ++n)
        numbers.push_back(valueName(u"", n));
    EXPECT_EQ(listItems(numberList()), numbers);
    EXPECT_EQ(
        listItems(kindList()),
        (std::vector<std::u16string>{u"String", u"Key Sequence", u"Date", u"Date & Time", u"Time",
                                     u"My Name", u"My Address", u"My Company", u"My Phone No."}));
    for (HWND edit : {nameEdit(), dataEdit()}) {
        WCHAR className[32] = {};
        GetClassNameW(edit, className, 32);
        EXPECT_EQ(std::u16string(className), u"FarsiEditCtrl");
        EXPECT_EQ(GetWindowLongW(edit, GWL_STYLE) & 0x00FF, 0x0028);
    }

    // Macro 1 as the registry holds it, the unsaved name dropped.
    EXPECT_EQ(selection(numberList()), 0);
    EXPECT_EQ(selection(kindList()), kStringKind);
    EXPECT_EQ(text(nameEdit()), u"Greeting");
    EXPECT_EQ(text(dataEdit()), u"\u0633\u0644\u0627\u0645 Hello");

    // A key sequence: its name, no text.
    choose(numberList(), 1);
    EXPECT_EQ(selection(kindList()), kKeySequenceKind);
    EXPECT_EQ(text(nameEdit()), u"Key Seq. 2");
    EXPECT_TRUE(IsWindowVisible(nameEdit()));
    EXPECT_FALSE(IsWindowVisible(dataEdit()));
    // Shown as a String, its records read as text go no further than its five bytes.
    choose(kindList(), kStringKind);
    EXPECT_TRUE(IsWindowVisible(dataEdit()));
    EXPECT_EQ(text(dataEdit()), u"AB");
    // A computed kind shows its label as the name.
    choose(kindList(), kDateKind);
    EXPECT_EQ(text(nameEdit()), u"Date");
    EXPECT_EQ(text(dataEdit()), u"");
    EXPECT_TRUE(IsWindowVisible(dataEdit()));
    cancel();
    // Nothing was applied.
    EXPECT_EQ(MacroTable[1].kind, MacroKeySequence);
    EXPECT_EQ(MacroTable[1].dataSize, 5);
}

TEST_F(MacrosPageTest, OkAppliesTheMacroShownAndSavesTheTableWithMacrosThirteenToTwentyUnchanged) {
    std::map<std::u16string, StoredValue> later;
    for (int n = 12; n < kMacroCount; ++n) {
        storeMacro(n, valueName(u"Later ", n), valueName(u"text ", n));
        later[valueName(u"MacroName", n)] = *stored(valueName(u"MacroName", n));
    }
    store(u"MacroData15", REG_BINARY, {0x21, 0x0D, 0, 0, 0x22, 0x0D, 0, 0});
    store(u"MacroData19", REG_SZ, bytesOf(u"@@DT1@@"));
    for (int n = 12; n < kMacroCount; ++n)
        later[valueName(u"MacroData", n)] = *stored(valueName(u"MacroData", n));

    openMacros();
    typeInto(nameEdit(), u"\u0633\u0644\u0627\u0645");
    typeInto(dataEdit(), u"\u0633\u0644\u0627\u0645 world");
    confirm();

    EXPECT_EQ(MacroTable[0].name, u"\u0633\u0644\u0627\u0645");
    EXPECT_EQ(stored(u"MacroName0")->bytes, bytesOf(u"\u0633\u0644\u0627\u0645"));
    const auto data = stored(u"MacroData0");
    ASSERT_TRUE(data);
    EXPECT_EQ(data->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(data->bytes, bytesOf(u"\u0633\u0644\u0627\u0645 world"));
    for (const auto& [name, value] : later)
        EXPECT_EQ(stored(name), value) << std::string(name.begin(), name.end());
    ASSERT_EQ(host->imDataBlocks.size(), 1u);
    EXPECT_TRUE(host->imDataBlocks[0] == (std::vector<WORD>{3, 1}));
}

TEST_F(MacrosPageTest, KeySequenceChosenForATextKeepsItsBytesAsRecordsThatPlay) {
    // Two characters to a record: U+0111 'A' is a character press of 'A' with vk 1, U+0112 'A'
    // its release.
    storeMacro(0, u"Text", u"\u0111A\u0112A");
    openMacros();
    choose(kindList(), kKeySequenceKind);
    EXPECT_FALSE(IsWindowVisible(dataEdit()));
    typeInto(nameEdit(), u"Press A");
    apply();
    EXPECT_EQ(MacroTable[0].kind, MacroKeySequence);
    EXPECT_EQ(MacroTable[0].name, u"Press A");
    EXPECT_EQ(MacroTable[0].dataSize, 8);
    confirm();

    const auto data = stored(u"MacroData0");
    ASSERT_TRUE(data);
    EXPECT_EQ(data->type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(data->bytes, bytesOf(u"\u0111A\u0112A"));
    LoadMacros();
    CMyPanel panel;
    panel.callback = &host->callback();
    PlayKeySequence(panel, 0);
    EXPECT_EQ(host->callback().calls, (std::vector<CallbackCall>{
                                          CallbackCall::charEvent(1, 0x80, 0, u'A'),
                                          CallbackCall::charEvent(1, 0x10040, 0, u'A'),
                                      }));
}

TEST_F(MacrosPageTest, TimeStoresItsLabelAndPlaceholderAndCancelAfterApplyKeepsTheRegistry) {
    storeMacro(0, u"Before", u"before");
    const auto before = stored(u"MacroData0");
    openMacros();
    typeInto(nameEdit(), u"typed name");
    typeInto(dataEdit(), u"typed text");
    choose(kindList(), kTimeKind);
    typeInto(nameEdit(), u"Lunch");
    typeInto(dataEdit(), u"@@DT0@@");
    apply();
    const MacroEntry& macro = MacroTable[0];
    EXPECT_EQ(macro.kind, MacroTime);
    EXPECT_EQ(macro.name, u"Time");
    EXPECT_EQ(macroText(macro), u"@@DT2@@");
    ASSERT_EQ(macro.dataSize, 14);
    EXPECT_EQ(macro.data[14], 0);  // the terminator after the text
    EXPECT_EQ(macro.data[15], 0);

    // Cancelled: the table keeps what was applied, the registry what it had.
    cancel();
    EXPECT_EQ(MacroTable[0].name, u"Time");
    EXPECT_EQ(stored(u"MacroName0")->bytes, bytesOf(u"Before"));
    EXPECT_EQ(stored(u"MacroData0"), before);
    EXPECT_TRUE(host->imDataBlocks.empty());
}

TEST_F(MacrosPageTest, SwitchingNumbersWithoutApplyDiscardsWhatWasTyped) {
    storeMacro(0, u"One", u"first");
    storeMacro(1, u"Two", u"second");
    openMacros();
    typeInto(nameEdit(), u"changed");
    typeInto(dataEdit(), u"changed too");
    choose(numberList(), 1);
    EXPECT_EQ(text(nameEdit()), u"Two");
    choose(numberList(), 0);
    EXPECT_EQ(text(nameEdit()), u"One");
    EXPECT_EQ(text(dataEdit()), u"first");
    EXPECT_EQ(MacroTable[0].name, u"One");

    // OK applies only the macro shown.
    choose(numberList(), 1);
    typeInto(nameEdit(), u"Deux");
    confirm();
    EXPECT_EQ(stored(u"MacroName0")->bytes, bytesOf(u"One"));
    EXPECT_EQ(stored(u"MacroData0")->bytes, bytesOf(u"first"));
    EXPECT_EQ(stored(u"MacroName1")->bytes, bytesOf(u"Deux"));
    EXPECT_EQ(stored(u"MacroData1")->bytes, bytesOf(u"second"));
}

TEST_F(MacrosPageTest, TheEditsTakeNoMoreThanALoadOfTheMacrosKeeps) {
    openMacros();
    typeInto(nameEdit(), std::u16string(300, u'n'));
    typeInto(dataEdit(), std::u16string(300, u'd'));
    const std::u16string name = text(nameEdit());
    const std::u16string data = text(dataEdit());
    EXPECT_EQ(name.size(), 255u);
    EXPECT_EQ(data.size(), 255u);
    confirm();
    // What the edits showed is exactly what comes back.
    LoadMacros();
    EXPECT_EQ(MacroTable[0].name, name);
    EXPECT_EQ(macroText(MacroTable[0]), data);
}
