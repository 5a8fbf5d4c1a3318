// The settings store: defaults, the registry values it writes and how it reads odd ones, the
// current skin name and the screen measurement; and the library's globals as each case
// starts.
#include <DeviceTest.h>
#include <device/Screen.h>
#include <wchar16.h>

#include <cstring>
#include <optional>

#include "KeptGlobals.h"
#include "inputmethod/Settings.h"
#include "panel/Macros.h"
#include "panel/TaskSwitcher.h"
#include "skin/SkinSettings.h"

using Settings = DeviceTest;

namespace {

struct Value {
    DWORD type = 0;
    std::vector<BYTE> bytes;
};

std::optional<Value> readValue(const WCHAR* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, 0, &key) != ERROR_SUCCESS)
        return std::nullopt;
    Value value;
    value.bytes.resize(1024);
    DWORD size = static_cast<DWORD>(value.bytes.size());
    LONG result = RegQueryValueExW(key, name, nullptr, &value.type, value.bytes.data(), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    return value;
}

void writeValue(const WCHAR* name, DWORD type, const void* bytes, DWORD size) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, 0, nullptr, &key,
                              &disposition),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(bytes), size);
    RegCloseKey(key);
}

}  // namespace

TEST_F(Settings, WithoutTheKeyLoadingKeepsDefaultsAndSavingCreatesThreeDwords) {
    LoadSettings();
    EXPECT_EQ(g_repeatDelay, 500);
    EXPECT_EQ(g_repeatPeriod, 50);
    EXPECT_EQ(g_enableGestures, 1);
    EXPECT_FALSE(readValue(u"RepeatDelay"));
    SaveSettings();
    for (auto [name, expected] :
         {std::pair{u"RepeatDelay", 500}, {u"RepeatPeriod", 50}, {u"EnableGestures", 1}}) {
        auto value = readValue(name);
        ASSERT_TRUE(value);
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_DWORD));
        ASSERT_EQ(value->bytes.size(), 4u);
        int32_t stored = 0;
        std::memcpy(&stored, value->bytes.data(), 4);
        EXPECT_EQ(stored, expected);
    }
}

TEST_F(Settings, ChangedRepeatSettingsAreSavedAndReadBackEachUnderItsName) {
    g_repeatDelay = 750;
    g_repeatPeriod = 120;
    g_enableGestures = 0;
    SaveSettings();
    for (auto [name, expected] :
         {std::pair{u"RepeatDelay", 750}, {u"RepeatPeriod", 120}, {u"EnableGestures", 0}}) {
        auto value = readValue(name);
        ASSERT_TRUE(value) << platform::toUtf8(name);
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_DWORD));
        ASSERT_EQ(value->bytes.size(), 4u);
        int32_t stored = 0;
        std::memcpy(&stored, value->bytes.data(), 4);
        EXPECT_EQ(stored, expected) << platform::toUtf8(name);
    }
    g_repeatDelay = kDefaultRepeatDelay;
    g_repeatPeriod = kDefaultRepeatPeriod;
    g_enableGestures = kDefaultEnableGestures;
    LoadSettings();
    EXPECT_EQ(g_repeatDelay, 750);
    EXPECT_EQ(g_repeatPeriod, 120);
    EXPECT_EQ(g_enableGestures, 0);
}

TEST_F(Settings, WithoutTheKeyLoadingLeavesChangedValuesAsTheyAre) {
    g_repeatDelay = 300;
    g_repeatPeriod = 25;
    g_enableGestures = 0;
    LoadSettings();
    EXPECT_EQ(g_repeatDelay, 300);
    EXPECT_EQ(g_repeatPeriod, 25);
    EXPECT_EQ(g_enableGestures, 0);
    EXPECT_FALSE(readValue(u"RepeatDelay"));
}

TEST_F(Settings, ValuesAreReadAsFourBytesOfAnyTypeAndOthersGiveDefaults) {
    int32_t delay = 800;
    writeValue(u"RepeatDelay", REG_DWORD, &delay, 4);
    int32_t period = 20;
    writeValue(u"RepeatPeriod", REG_BINARY, &period, 4);
    int32_t gestures = 0;
    writeValue(u"EnableGestures", REG_DWORD, &gestures, 4);
    LoadSettings();
    EXPECT_EQ(g_repeatDelay, 800);
    EXPECT_EQ(g_repeatPeriod, 20);
    EXPECT_EQ(g_enableGestures, 0);

    const BYTE eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    writeValue(u"RepeatDelay", REG_BINARY, eight, 8);
    writeValue(u"RepeatPeriod", REG_BINARY, eight, 2);
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, 0, &key);
    RegDeleteValueW(key, u"EnableGestures");
    RegCloseKey(key);
    LoadSettings();
    EXPECT_EQ(g_repeatDelay, 500);
    EXPECT_EQ(g_repeatPeriod, 50);
    EXPECT_EQ(g_enableGestures, 1);
}

TEST_F(Settings, CurrentSkinIsWrittenWithoutTerminator) {
    currentSkin = u"Kelvo";
    SaveCurrentSkin();
    auto value = readValue(u"CurSkin");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value->bytes.size(), 10u);
    currentSkin.clear();
    SaveCurrentSkin();
    EXPECT_EQ(readValue(u"CurSkin")->bytes.size(), 0u);
}

TEST_F(Settings, MissingSkinNameBecomesKelvoAndIsWrittenBack) {
    readCurrentSkin();
    EXPECT_EQ(currentSkin, u"Kelvo");
    EXPECT_EQ(readValue(u"CurSkin")->bytes.size(), 10u);
    readSkinsPath();
    EXPECT_EQ(skinsFolder, u"");
    EXPECT_EQ(composeSkinPath(), u"Kelvo.ksk");

    const std::u16string folder = u"\\My Skins";
    writeValue(u"SkinsPath", REG_SZ, folder.c_str(), static_cast<DWORD>(folder.size() * 2));
    const std::u16string name = u"Blue";
    writeValue(u"CurSkin", REG_SZ, name.c_str(),
               static_cast<DWORD>(name.size() * 2 + 2));  // with a terminator
    readCurrentSkin();
    readSkinsPath();
    EXPECT_EQ(composeSkinPath(), u"\\My Skins\\Blue.ksk");
}

TEST_F(Settings, SkinNamesOfTheFullLengthAreReadAndLongerOnesAreRefusedUntouched) {
    // 255 characters, stored with a terminator (as other programs write it) and without.
    const std::u16string name(255, u'n');
    writeValue(u"CurSkin", REG_SZ, name.c_str(), static_cast<DWORD>(name.size() * 2 + 2));
    const std::u16string folder = u"\\" + std::u16string(254, u'f');
    writeValue(u"SkinsPath", REG_SZ, folder.c_str(), static_cast<DWORD>(folder.size() * 2));
    readCurrentSkin();
    readSkinsPath();
    EXPECT_EQ(currentSkin, name);
    EXPECT_EQ(skinsFolder, folder + u"\\");
    EXPECT_EQ(refusedSkinSetting(), nullptr);

    // One character more, with or without a terminator: refused, the value and the names in
    // use stay as they were.
    for (DWORD terminator : {0u, 2u}) {
        SCOPED_TRACE(terminator);
        const std::u16string longer(256, u'x');
        const DWORD bytes = static_cast<DWORD>(longer.size() * 2) + terminator;
        writeValue(u"CurSkin", REG_SZ, longer.c_str(), bytes);
        readCurrentSkin();
        EXPECT_EQ(currentSkin, name);
        ASSERT_NE(refusedSkinSetting(), nullptr);
        EXPECT_EQ(std::u16string(refusedSkinSetting()), u"CurSkin");
        EXPECT_EQ(readValue(u"CurSkin")->bytes.size(), bytes);
        writeValue(u"CurSkin", REG_SZ, name.c_str(), static_cast<DWORD>(name.size() * 2));
        readCurrentSkin();
        EXPECT_EQ(refusedSkinSetting(), nullptr);

        writeValue(u"SkinsPath", REG_SZ, longer.c_str(), bytes);
        readSkinsPath();
        EXPECT_EQ(skinsFolder, folder + u"\\");
        ASSERT_NE(refusedSkinSetting(), nullptr);
        EXPECT_EQ(std::u16string(refusedSkinSetting()), u"SkinsPath");
        writeValue(u"SkinsPath", REG_SZ, folder.c_str(), static_cast<DWORD>(folder.size() * 2));
        readSkinsPath();
        EXPECT_EQ(refusedSkinSetting(), nullptr);
    }
}

TEST_F(Settings, MeasureScreenReadsTheScreenSize) {
    MeasureScreen();
    EXPECT_EQ(g_screenWidth, 240);
    EXPECT_EQ(g_screenHeight, 320);
    ASSERT_TRUE(device::setScreenSize(640, 480));
    MeasureScreen();
    EXPECT_EQ(g_screenWidth, 640);
    EXPECT_EQ(g_screenHeight, 480);
}

TEST(DimensionClass, ScreenSizesChooseTheirLayoutClass) {
    struct Case {
        int width, height;
        std::u16string expected;
    };
    for (const Case& c : {Case{240, 320, u"P"}, Case{480, 640, u"PH"}, Case{320, 240, u"L"},
                          Case{640, 480, u"LH"}, Case{240, 240, u"P"}, Case{400, 400, u"P"},
                          Case{401, 401, u"PH"}, Case{500, 400, u"L"}, Case{501, 400, u"LH"}}) {
        EXPECT_EQ(dimensionClass(c.width, c.height), c.expected) << c.width << "x" << c.height;
    }
    EXPECT_EQ(scaleForScreen(400), 1);
    EXPECT_EQ(scaleForScreen(401), 2);
}

// Every case starts with the library's globals as it loaded them, whatever the case before
// changed: its settings, the macro table and the task list's count.
TEST_F(Settings, TheLibrarysGlobalsComeBackAsLoadedForTheNextCase) {
    g_repeatDelay = 900;
    g_screenWidth = 480;
    currentSkin = u"Blue";
    MacroTable[3].name = u"Kept";
    taskCount = 7;
    testsupport::restoreKeptGlobals();
    EXPECT_EQ(g_repeatDelay, kDefaultRepeatDelay);
    EXPECT_EQ(g_screenWidth, 0);
    EXPECT_EQ(currentSkin, u"");
    EXPECT_EQ(MacroTable[3].name, u"");
    EXPECT_EQ(taskCount, 0);
}
