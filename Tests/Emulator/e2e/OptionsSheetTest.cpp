// The options sheet end to end, in kvemu as a user meets it: the keyboard's settings key starts
// KvHelper, whose sheet appears on the device screen with its tabs listed by print-controls;
// a longer repeat delay confirmed there is the delay the keyboard in the input panel host's
// process uses at the next press; a second skin installed in the skins folder and chosen on the
// Skins page replaces the keyboard's picture. Screenshots of each page are kept in the build
// folder (e2e-options-*.png), at 240 x 320 and at 480 x 640.
#include <gmock/gmock.h>

#include <cstdio>
#include <fstream>

#include "KvemuRun.h"
#include "ScreenPicture.h"
#include "SheetControls.h"
#include "SkinKeys.h"

namespace {

using ::testing::HasSubstr;

constexpr unsigned kLaunch = 0x0200;  // the settings key: a launch key with vk 3
constexpr int kTabControl = 0x3020;
constexpr int kDelaySlider = 2008;
constexpr int kSkinList = 2014;

std::string shotName(const std::string& name) {
    return "e2e-options-" + name + ".png";
}

// Holding a key down for `ms` milliseconds.
std::string hold(const TableKey& key, int left, int top, int ms) {
    const std::string at =
        std::to_string(left + key.centreX()) + " " + std::to_string(top + key.centreY());
    return "down " + at + "\nwait " + std::to_string(ms) + "\nup " + at + "\n";
}

// Code points of the last line of a report (print-text's UTF-8 text).
size_t lastLineCharacters(const std::string& out) {
    std::string line = out;
    if (!line.empty() && line.back() == '\n')
        line.pop_back();
    line = line.substr(line.rfind('\n') == std::string::npos ? 0 : line.rfind('\n') + 1);
    return static_cast<size_t>(std::count_if(line.begin(), line.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

class OptionsSheetE2e : public KvemuTest {
protected:
    // Provisions the device at this screen size and finds the keyboard: where it lies, its
    // settings key, and a Farsi letter key of its first layout.
    void findKeyboard(const std::string& screen) {
        m_screen = "--screen " + screen;
        KvemuResult first = run("print-sip\n", m_screen);
        ASSERT_EQ(first.status, 0) << first.errors;
        ASSERT_EQ(std::sscanf(first.out.c_str(), "sip %d %d", &m_left, &m_top), 2) << first.out;
        const KeyTable table = kvskinKeys(screen, 0);
        const TableKey* settings = table.function(kLaunch, 3, 0);
        ASSERT_NE(settings, nullptr);
        m_settings = tapAt(m_left + settings->centreX(), m_top + settings->centreY());
        for (const TableKey& key : table.keys) {
            if ((key.flags & 1) && key.param >= 0x621 && key.param <= 0x6FF) {
                m_letter = key;
                return;
            }
        }
        FAIL() << "no Farsi letter on layout 0";
    }
    // The sheet's controls as first shown (the keyboard hidden), then after `more` commands.
    std::string openedReport(const std::string& more = "") {
        KvemuResult opened = run(m_settings + "sip off\nprint-controls\n" + more, m_screen);
        EXPECT_EQ(opened.status, 0) << opened.errors;
        return opened.out;
    }

    std::string m_screen;
    int m_left = 0, m_top = 0;
    std::string m_settings;
    TableKey m_letter;
};

}  // namespace

TEST_F(OptionsSheetE2e, TheSettingsKeyOpensTheSheetWhoseTabsPrintControlsLists) {
    findKeyboard("240x320");
    const std::string report = openedReport();
    const auto found = controls(report);
    ASSERT_TRUE(found.count("tab 0") && found.count("tab 1") && found.count("tab 2") &&
                found.count("tab 3"))
        << report;
    ASSERT_TRUE(found.count(std::to_string(kTabControl)));
    const Box tabs = found.at(std::to_string(kTabControl));
    EXPECT_EQ(tabs.bottom, 294);  // along the bottom of the work area, above the menu bar
    EXPECT_EQ(found.at("tab 0").bottom, tabs.bottom);
    EXPECT_LT(found.at("tab 0").right, found.at("tab 1").right);
    EXPECT_THAT(report, HasSubstr("\tEnable Gestures\n"));
    ASSERT_TRUE(found.count(std::to_string(kDelaySlider)));
    EXPECT_LE(found.at(std::to_string(kDelaySlider)).right, 240);
    ASSERT_TRUE(found.count("1") && found.count("2"));  // OK and Cancel along the top
    EXPECT_LT(found.at("1").bottom, 26 + 27);
}

TEST_F(OptionsSheetE2e, ALongerRepeatDelayConfirmedOnTheSheetIsUsedByTheKeyboardAtOnce) {
    findKeyboard("240x320");
    const auto found = controls(openedReport());
    ASSERT_TRUE(found.count(std::to_string(kDelaySlider)) && found.count("1"));
    const Box slider = found.at(std::to_string(kDelaySlider));

    // 900 ms held: the letter repeats from 500 ms on, every 50 ms.
    const KvemuResult before = run(hold(m_letter, m_left, m_top, 900) + "print-text\n");
    ASSERT_EQ(before.status, 0) << before.errors;
    EXPECT_GE(lastLineCharacters(before.out), 5u) << before.out;

    // Three taps at the delay slider's far end move it a page (180 ms) each, to 1000 ms.
    std::string longer;
    for (int i = 0; i < 3; ++i)
        longer += tapAt(slider.right - 2, slider.centreY());
    const KvemuResult after =
        run(m_settings + "shot " + shot(shotName("general-keyboard")) + "\n" + longer + "shot " +
            shot(shotName("general-longer")) + "\n" + tapAt(found.at("1")) + "wait 50\n" +
            hold(m_letter, m_left, m_top, 900) + "print-text\n");
    ASSERT_EQ(after.status, 0) << after.errors;
    EXPECT_EQ(lastLineCharacters(after.out), 1u) << after.out;  // no repetition before 1000 ms
    // The sheet ran in KvHelper's process and told the keyboard in the host's process.
    const std::string log = slurp(device() / "events.log");
    EXPECT_THAT(log, HasSubstr(" process KvHelper.exe SETTINGS\n"));
    EXPECT_THAT(log, HasSubstr(" sip SetImData 4 0x00000000\n"));
}

TEST_F(OptionsSheetE2e, ASecondSkinChosenOnTheSkinsPageReplacesTheKeyboardsPicture) {
    findKeyboard("240x320");
    // A second skin: the default skin's source with a wine-red ground, built into the device's
    // skins folder.
    std::string source = slurp(std::filesystem::path(DEFAULT_SKIN_SOURCE) / "skin.json");
    const std::string ground = "\"background\": \"#2B3038\"";
    ASSERT_NE(source.find(ground), std::string::npos);
    source.replace(source.find(ground), ground.size(), "\"background\": \"#8B1E3F\"");
    std::filesystem::create_directories(file("ember"));
    std::ofstream(file("ember") / "skin.json", std::ios::binary) << source;
    const std::string build = std::string("'") + KVSKIN_PATH + "' build '" +
                              file("ember").string() + "' -o '" + file("Ember.ksk").string() +
                              "' > /dev/null";
    ASSERT_EQ(std::system(build.c_str()), 0);
    std::filesystem::copy_file(
        file("Ember.ksk"), device() / "root" / "Program Files" / "Kelvo" / "Skins" / "Ember.ksk");

    const auto sheet = controls(openedReport());
    ASSERT_TRUE(sheet.count("tab 2") && sheet.count("1"));
    const auto page = controls(openedReport(tapAt(sheet.at("tab 2")) + "print-controls\n"));
    ASSERT_TRUE(page.count(std::to_string(kSkinList)));
    const Box list = page.at(std::to_string(kSkinList));
    const KvemuResult result =
        run("shot " + shot(shotName("keyboard-kelvo")) + "\n" + m_settings + "sip off\n" +
            tapAt(sheet.at("tab 2")) + "shot " + shot(shotName("skins")) + "\n" + tapAt(list) +
            "shot " + shot(shotName("skins-list")) + "\n" + tapAt(list.centreX(), list.bottom + 8) +
            "shot " + shot(shotName("skins-ember")) + "\n" + tapAt(sheet.at("1")) +
            "sip on\nwait 100\nshot " + shot(shotName("keyboard-ember")) + "\nprint-sip\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    int left = 0, top = 0, right = 0, bottom = 0;
    ASSERT_EQ(std::sscanf(result.out.c_str(), "sip %d %d %d %d", &left, &top, &right, &bottom), 4);

    // The keyboard's picture: the new ground fills the space between its keys (its colour as
    // the screen's 16-bit pictures keep it, each channel a few steps off).
    auto groundPixels = [&](const std::string& name) {
        Picture picture;
        EXPECT_TRUE(readPng(shot(shotName(name)), picture)) << name;
        auto near = [](uint32_t pixel, uint32_t colour) {
            for (int shift : {0, 8, 16}) {
                const int a = static_cast<int>((pixel >> shift) & 0xFF);
                const int b = static_cast<int>((colour >> shift) & 0xFF);
                if (std::abs(a - b) > 8)
                    return false;
            }
            return true;
        };
        int count = 0;
        for (int y = top; y < bottom && y < picture.height; ++y) {
            for (int x = left; x < right && x < picture.width; ++x)
                count += near(picture.at(x, y), 0x8B1E3F) ? 1 : 0;
        }
        return count;
    };
    EXPECT_EQ(groundPixels("keyboard-kelvo"), 0);
    EXPECT_GT(groundPixels("keyboard-ember"), 500);
    const std::string log = slurp(device() / "events.log");
    EXPECT_THAT(log, HasSubstr(" sip SetImData 4 0x00000000\n"));
}

class OptionsSheetScreens : public OptionsSheetE2e,
                            public ::testing::WithParamInterface<std::string> {};

TEST_P(OptionsSheetScreens, EachPageOnTheDeviceScreen) {
    const std::string screen = GetParam();
    findKeyboard(screen);
    const auto sheet = controls(openedReport());
    ASSERT_TRUE(sheet.count("tab 1") && sheet.count("tab 2") && sheet.count("tab 3") &&
                sheet.count("2"));
    const KvemuResult result = run(
        m_settings + "shot " + shot(shotName("general-keyboard-" + screen)) + "\nsip off\nshot " +
            shot(shotName("general-" + screen)) + "\n" + tapAt(sheet.at("tab 1")) + "shot " +
            shot(shotName("macros-" + screen)) + "\n" + tapAt(sheet.at("tab 2")) + "shot " +
            shot(shotName("skins-" + screen)) + "\n" + tapAt(sheet.at("tab 3")) + "shot " +
            shot(shotName("about-" + screen)) + "\n" + tapAt(sheet.at("2")) + "print-windows\n",
        m_screen);
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_THAT(result.out, ::testing::Not(HasSubstr("Kelvo Settings")));  // Cancel closed it
    for (const char* page : {"general-", "macros-", "skins-", "about-"}) {
        Picture picture;
        ASSERT_TRUE(readPng(shot(shotName(page + screen)), picture)) << page;
        EXPECT_EQ(std::to_string(picture.width) + "x" + std::to_string(picture.height), screen);
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, OptionsSheetScreens, ::testing::Values("240x320", "480x640"));
