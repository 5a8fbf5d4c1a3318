// The default skin as the panel meets it: loaded from the built Kelvo.ksk through the real
// loader on each screen size of the four dimension classes, and typed on through the test
// host: Farsi letters, the half-space, the currency word, the second character of an upward
// stroke, the gestures, Shift and Control with Latin letters, gotos between faces and back.
#include <DeviceTest.h>
#include <TestInputPanelHost.h>
#include <device/Screen.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <set>

#include "inputmethod/Settings.h"
#include "panel/MyPanel.h"
#include "skin/SkinLayout.h"
#include "skin/SkinLoader.h"
#include "skin/SkinSettings.h"

namespace {

// Layout numbers of the default skin, the same in every class.
constexpr int kFarsi = 0;
constexpr int kFarsiSecond = 1;
constexpr int kLatin = 2;
constexpr int kLatinUpper = 3;
constexpr int kDigits = 4;
constexpr int kSymbols = 5;
constexpr int kMenu = 6;
constexpr int kCalculator = 7;
constexpr int kScientific = 8;
constexpr int kLayoutCount = 14;

constexpr UINT kShiftWord = 0x20000000;
constexpr UINT kControlWord = 0x40000000;

struct Screen {
    int width;
    int height;
    int panelWidth;
    int panelHeight;
};

std::vector<CallbackCall> charPair(UINT vk, UINT ch, UINT shift = 0) {
    return {CallbackCall::charEvent(vk, shift | 0x80, shift, ch),
            CallbackCall::charEvent(vk, 0x10040, shift, ch)};
}

std::vector<CallbackCall> operator+(std::vector<CallbackCall> a,
                                    const std::vector<CallbackCall>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class DefaultSkin : public DeviceTest, public ::testing::WithParamInterface<Screen> {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        ASSERT_TRUE(device::setScreenSize(GetParam().width, GetParam().height));
        std::ifstream in(KELVO_DEFAULT_SKIN, std::ios::binary);
        ASSERT_TRUE(in) << "the default skin is built first: " << KELVO_DEFAULT_SKIN;
        writeDeviceFile(u"\\Skins\\Kelvo.ksk", std::string(std::istreambuf_iterator<char>(in), {}));
        setRegistryText(u"SkinsPath", u"\\Skins");
        setRegistryText(u"CurSkin", u"Kelvo");
        host = std::make_unique<TestInputPanelHost>(GetParam().panelHeight);
        panel = std::make_unique<CMyPanel>();
        ASSERT_TRUE(panel->CreatePanelWindow(host->sipWindow()));
        panel->callback = &host->callback();
        host->pump();
        ASSERT_NE(panel->layout, nullptr);
        scale = GetParam().width > 400 ? 2 : 1;
    }
    void TearDown() override {
        panel.reset();
        UnregisterClassW(kPanelClassName, GetModuleHandleW(nullptr));
        host.reset();
        DeviceTest::TearDown();
    }

    static void setRegistryText(const WCHAR* name, const std::u16string& text) {
        HKEY key = nullptr;
        DWORD disposition = 0;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, 0, nullptr, &key,
                                  &disposition),
                  ERROR_SUCCESS);
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() * 2));
        RegCloseKey(key);
    }

    // The first key of the shown layout that matches, or null.
    const KeyRecord* find(const std::function<bool(const KeyRecord&)>& matches) const {
        const SkinLayout& layout = *panel->layout;
        for (int r = 0; r < layout.rowCount; ++r)
            for (int k = 0; k < layout.rowKeyCount[r]; ++k)
                if (matches(layout.keys[r][k]))
                    return &layout.keys[r][k];
        return nullptr;
    }
    const KeyRecord* character(WCHAR ch) const {
        return find(
            [ch](const KeyRecord& key) { return key.flags == KF_OUTPUT && key.param == ch; });
    }
    const KeyRecord* gotoKey(int layout) const {
        return find([layout](const KeyRecord& key) {
            return (key.flags & KF_GOTO) && key.slot() == 0 && key.param == layout;
        });
    }
    const KeyRecord* modifier(int slot) const {
        return find([slot](const KeyRecord& key) { return key.slot() == slot; });
    }

    static POINT centre(const KeyRecord& key) {
        return {(key.rect.left + key.rect.right) / 2, (key.rect.top + key.rect.bottom) / 2};
    }
    void tap(const KeyRecord* key) {
        ASSERT_NE(key, nullptr);
        POINT at = centre(*key);
        host->tap(panel->GetSafeHwnd(), at.x, at.y);
    }
    // A stroke from the key's centre, far enough to leave the key in that direction.
    void stroke(const KeyRecord* key, int dx, int dy) {
        ASSERT_NE(key, nullptr);
        POINT at = centre(*key);
        const int reach = 30 * scale;
        host->stylusDown(panel->GetSafeHwnd(), at.x, at.y);
        host->stylusUp(panel->GetSafeHwnd(), at.x + dx * reach, at.y + dy * reach);
    }
    std::vector<CallbackCall>& calls() { return host->callback().calls; }

    std::unique_ptr<TestInputPanelHost> host;
    std::unique_ptr<CMyPanel> panel;
    int scale = 1;
};

}  // namespace

TEST_P(DefaultSkin, LoadsEveryFaceAtThePanelSizeOfItsClass) {
    EXPECT_EQ(panel->layout->index, kFarsi);
    EXPECT_EQ(panel->layout->width, GetParam().panelWidth);
    EXPECT_EQ(panel->layout->height, GetParam().panelHeight);
    EXPECT_NE(panel->layout->bitmap, nullptr);
    ASSERT_NE(panel->altLayout, nullptr);
    EXPECT_EQ(panel->altLayout->index, kFarsiSecond);
    EXPECT_EQ(helpFilePath, u"\\Program Files\\Kelvo\\Skins\\Kelvo.htm");
    // Every face loads with its picture and keys; the calculator faces are calculators.
    for (int n = 0; n < kLayoutCount; ++n) {
        ASSERT_EQ(loadLayout(*panel, n), LayoutShown::Loaded) << n;
        EXPECT_EQ(panel->layout->index, n);
        EXPECT_NE(panel->layout->bitmap, nullptr) << n;
        EXPECT_GT(panel->layout->rowCount, 1) << n;
        EXPECT_EQ(panel->layout->width, GetParam().panelWidth) << n;
    }
    for (int n : {kCalculator, kScientific}) {
        loadLayout(*panel, n);
        EXPECT_TRUE(panel->layout->flags & LF_CALC);
    }
}

TEST_P(DefaultSkin, TheFacesCarryEveryFunction) {
    std::set<int> calcOperations, taskActions, taskSlots, programs, games, macros;
    bool recordKey = false;
    for (int n = 0; n < kLayoutCount; ++n) {
        ASSERT_EQ(loadLayout(*panel, n), LayoutShown::Loaded);
        const SkinLayout& layout = *panel->layout;
        const bool typing = n <= kSymbols;
        if (typing) {
            // Gestures: down Enter, right space, left backspace; settings, help and desktop.
            ASSERT_NE(layout.downKey, nullptr) << n;
            ASSERT_NE(layout.rightKey, nullptr) << n;
            ASSERT_NE(layout.leftKey, nullptr) << n;
            EXPECT_EQ(layout.downKey->param, 13) << n;
            EXPECT_EQ(layout.rightKey->param, u' ') << n;
            EXPECT_EQ(layout.leftKey->param, 8) << n;
            for (BYTE action : {3, 4, 5}) {
                EXPECT_NE(find([action](const KeyRecord& key) {
                              return (key.flags & KF_LAUNCH) && key.vk == action;
                          }),
                          nullptr)
                    << "layout " << n << " action " << int(action);
            }
        }
        for (int r = 0; r < layout.rowCount; ++r) {
            for (int k = 0; k < layout.rowKeyCount[r]; ++k) {
                const KeyRecord& key = layout.keys[r][k];
                if ((key.flags & KF_CALC) && (layout.flags & LF_CALC)) {
                    calcOperations.insert(key.param);
                    if (key.param == 23) {
                        EXPECT_EQ(key.slot(), 5);
                    }
                    if (key.param == 40) {
                        EXPECT_EQ(key.slot(), 8);
                    }
                }
                if ((key.flags & KF_TASKS) && (layout.flags & LF_TASKS)) {
                    taskActions.insert(key.vk);
                    if (key.vk <= 1)
                        taskSlots.insert(key.param);
                }
                if ((key.flags & KF_LAUNCH) && (layout.flags & LF_LAUNCHER) && key.vk <= 1)
                    (key.vk == 0 ? programs : games).insert(key.param);
                if ((key.flags & KF_MACRO) && (layout.flags & LF_MACROS)) {
                    if (key.vk == 1)
                        recordKey = true;
                    else
                        macros.insert(key.param);
                }
            }
        }
    }
    auto range = [](int count) {
        std::set<int> all;
        for (int i = 0; i < count; ++i)
            all.insert(i);
        return all;
    };
    EXPECT_EQ(calcOperations, range(41));
    EXPECT_EQ(taskActions, range(5));
    EXPECT_EQ(taskSlots, range(8));
    EXPECT_EQ(programs, range(30));
    EXPECT_EQ(games, range(15));
    EXPECT_EQ(macros, range(20));
    EXPECT_TRUE(recordKey);
}

TEST_P(DefaultSkin, TheHelpFileHasASectionForEveryHelpKey) {
    std::ifstream in(KELVO_DEFAULT_HELP, std::ios::binary);
    ASSERT_TRUE(in) << KELVO_DEFAULT_HELP;
    const std::string help(std::istreambuf_iterator<char>(in), {});
    std::set<int> topics;
    for (int n = 0; n < kLayoutCount; ++n) {
        ASSERT_EQ(loadLayout(*panel, n), LayoutShown::Loaded);
        const SkinLayout& layout = *panel->layout;
        for (int r = 0; r < layout.rowCount; ++r)
            for (int k = 0; k < layout.rowKeyCount[r]; ++k)
                if ((layout.keys[r][k].flags & KF_LAUNCH) && layout.keys[r][k].vk == 5)
                    topics.insert(layout.keys[r][k].param);
    }
    EXPECT_EQ(topics, (std::set<int>{0, 1, 2, 3, 7}));
    for (int topic : topics) {
        const std::string anchor = topic == 0
                                       ? "<a name=\"Main_Contents\">"
                                       : "<a name=\"BUTTON_TOPIC" + std::to_string(topic) + "\">";
        EXPECT_NE(help.find(anchor), std::string::npos) << anchor;
    }
}

TEST_P(DefaultSkin, TypesFarsiLettersTheHalfSpaceAndTheCurrencyWord) {
    tap(character(0x0628));
    EXPECT_EQ(calls(), charPair(0x46, 0x0628));
    calls().clear();
    tap(character(0x200C));
    EXPECT_EQ(calls(), charPair(0x42, 0x200C));
    calls().clear();
    tap(character(0x06E9));
    EXPECT_EQ(calls(), charPair(0x56, 0x0631) + charPair(0x44, 0x06CC) + charPair(0x48, 0x0627) +
                           charPair(0x47, 0x0644));
    EXPECT_EQ(panel->layout->index, kFarsi);
}

TEST_P(DefaultSkin, FarsiFacesHoldEveryPersianLetterTheHalfSpaceAndPersianDigits) {
    // The 32 letters of the Persian alphabet on the base face, yeh and kaf in their Persian
    // forms (U+06CC, U+06A9): the Arabic ones (U+064A, U+0643) are second characters only.
    const std::u16string letters =
        u"\u0627\u0628\u067E\u062A\u062B\u062C\u0686\u062D\u062E\u062F\u0630\u0631\u0632"
        u"\u0698\u0633\u0634\u0635\u0636\u0637\u0638\u0639\u063A\u0641\u0642\u06A9\u06AF"
        u"\u0644\u0645\u0646\u0648\u0647\u06CC";
    ASSERT_EQ(letters.size(), 32u);
    ASSERT_EQ(panel->layout->index, kFarsi);
    for (char16_t letter : letters)
        EXPECT_NE(character(letter), nullptr) << "U+" << std::hex << int(letter);
    EXPECT_EQ(character(0x064A), nullptr);
    EXPECT_EQ(character(0x0643), nullptr);
    EXPECT_NE(character(0x200C), nullptr);

    // The digits face, one tap away, types the Persian digits U+06F0 to U+06F9.
    tap(gotoKey(kDigits));
    ASSERT_EQ(panel->layout->index, kDigits);
    for (char16_t digit = 0x06F0; digit <= 0x06F9; ++digit)
        EXPECT_NE(character(digit), nullptr) << "U+" << std::hex << int(digit);
}

TEST_P(DefaultSkin, StrokesGiveSecondCharactersSpaceBackspaceAndEnter) {
    // Up from DAD: its second character, the sukun, from the Farsi second-character face.
    stroke(character(0x0636), 0, -1);
    EXPECT_EQ(calls(), charPair('Q', 0x0652));
    calls().clear();
    stroke(character(0x0644), 0, -1);  // LAM: alef with hamza above
    EXPECT_EQ(calls(), charPair('G', 0x0623));
    calls().clear();
    stroke(character(0x0628), 1, 0);
    EXPECT_EQ(calls(), charPair(0x20, u' '));
    calls().clear();
    stroke(character(0x0628), -1, 0);
    EXPECT_EQ(calls(), charPair(0x08, 8));
    calls().clear();
    stroke(character(0x0628), 0, 1);
    EXPECT_EQ(calls(), charPair(0x0D, 13));
    EXPECT_EQ(panel->layout->index, kFarsi);
}

TEST_P(DefaultSkin, FarsiShiftTypesOneSecondCharacterAndReturns) {
    tap(modifier(2));
    EXPECT_EQ(panel->layout->index, kFarsiSecond);
    tap(character(0x00AB));
    EXPECT_EQ(calls(), std::vector{CallbackCall::virtualKey(0x10, 0)} +
                           charPair('L', 0x00AB, kShiftWord) +
                           std::vector{CallbackCall::virtualKey(0x10, 2)});
    EXPECT_EQ(panel->layout->index, kFarsi);
    EXPECT_EQ(panel->latched[1], 0);
    calls().clear();

    // Leaving the second characters another way releases Shift too, once.
    tap(modifier(2));
    tap(gotoKey(kLatin));
    EXPECT_EQ(calls(),
              (std::vector{CallbackCall::virtualKey(0x10, 0), CallbackCall::virtualKey(0x10, 2)}));
    EXPECT_EQ(panel->layout->index, kLatin);
    EXPECT_EQ(panel->latched[1], 0);
}

TEST_P(DefaultSkin, ShiftAndControlGoWithLatinLettersAndReleaseThemselves) {
    tap(gotoKey(kLatin));
    ASSERT_EQ(panel->layout->index, kLatin);
    tap(character(u'q'));
    EXPECT_EQ(calls(), charPair('Q', u'q'));
    calls().clear();

    // Shift latches (its key goes down), shows the upper-case face; one letter, then it
    // releases itself and the lower-case face returns.
    tap(modifier(2));
    EXPECT_EQ(calls(), std::vector<CallbackCall>{CallbackCall::virtualKey(0x10, 0)});
    EXPECT_EQ(panel->layout->index, kLatinUpper);
    calls().clear();
    tap(character(u'A'));
    EXPECT_EQ(calls(),
              charPair('A', u'A', kShiftWord) + std::vector{CallbackCall::virtualKey(0x10, 2)});
    EXPECT_EQ(panel->layout->index, kLatin);
    calls().clear();

    // Control: the next letter becomes its control character.
    tap(modifier(3));
    tap(character(u'c'));
    EXPECT_EQ(calls(), std::vector{CallbackCall::virtualKey(0x11, 0)} +
                           charPair('C', 3, kControlWord) +
                           std::vector{CallbackCall::virtualKey(0x11, 2)});
    calls().clear();

    // The upward stroke on a Latin letter types its capital without any Shift.
    stroke(character(u'z'), 0, -1);
    EXPECT_EQ(calls(), charPair('Z', u'Z'));
}

TEST_P(DefaultSkin, GotoKeysReachEveryFaceAndBackReturns) {
    tap(gotoKey(kMenu));
    ASSERT_EQ(panel->layout->index, kMenu);
    tap(gotoKey(kCalculator));
    ASSERT_EQ(panel->layout->index, kCalculator);
    tap(find([](const KeyRecord& key) { return key.flags == KF_BACK; }));
    EXPECT_EQ(panel->layout->index, kMenu);
    tap(find([](const KeyRecord& key) { return key.flags == KF_BACK; }));
    EXPECT_EQ(panel->layout->index, kFarsi);
    tap(gotoKey(kDigits));
    ASSERT_EQ(panel->layout->index, kDigits);
    tap(character(0x06F5));
    EXPECT_EQ(calls(), charPair('5', 0x06F5));
    tap(gotoKey(kFarsi));
    EXPECT_EQ(panel->layout->index, kFarsi);
}

// The screen sizes at the borders of the dimension classes choose the class's panel.
class DefaultSkinClass : public DefaultSkin {};

TEST_P(DefaultSkinClass, TheScreenChoosesThePanelOfItsClass) {
    EXPECT_EQ(panel->layout->index, kFarsi);
    EXPECT_EQ(panel->layout->width, GetParam().panelWidth);
    EXPECT_EQ(panel->layout->height, GetParam().panelHeight);
    EXPECT_NE(panel->layout->bitmap, nullptr);
    EXPECT_NE(character(0x0628), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Borders, DefaultSkinClass,
                         ::testing::Values(Screen{240, 240, 240, 80}, Screen{400, 400, 240, 80},
                                           Screen{401, 401, 480, 160}, Screen{500, 400, 320, 80},
                                           Screen{501, 400, 640, 160}),
                         [](const ::testing::TestParamInfo<Screen>& info) {
                             return std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height);
                         });

INSTANTIATE_TEST_SUITE_P(Screens, DefaultSkin,
                         ::testing::Values(Screen{240, 320, 240, 80}, Screen{480, 640, 480, 160},
                                           Screen{320, 240, 320, 80}, Screen{640, 480, 640, 160}),
                         [](const ::testing::TestParamInfo<Screen>& info) {
                             return std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height);
                         });
