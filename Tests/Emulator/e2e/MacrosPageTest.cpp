// The Macros page end to end, as a user meets it in kvemu: the settings key opens the sheet in
// KvHelper's process, the Macros page hides the keyboard, the menu bar's input panel button
// brings it back, and the keyboard types a Farsi name and a mixed Farsi and Latin text into the
// page's edits. Once confirmed, the keyboard's macros face shows the name right-aligned and its
// key types the text into Notes; a macro made a Date there types today's date. Screenshots are
// kept in the build folder (e2e-macros-*.png).
#include <gmock/gmock.h>

#include <algorithm>
#include <ctime>

#include "KvemuRun.h"
#include "ScreenPicture.h"
#include "SheetControls.h"
#include "SkinKeys.h"

namespace {

using ::testing::HasSubstr;

constexpr unsigned kLayoutKey = 0x0002;
constexpr unsigned kMacroKey = 0x0100;
constexpr unsigned kLaunch = 0x0200;  // the settings key: a launch key with vk 3
constexpr int kMenuFace = 6;
constexpr int kMacrosFace = 12;
constexpr int kLatin = 2;
constexpr int kNameEdit = 2012;
constexpr int kDataEdit = 2013;
constexpr int kKindList = 2011;
// The menu bar's input panel button, at the right end of the bar along the 240 x 320 screen's
// bottom.
constexpr int kPanelButtonX = 222;
constexpr int kPanelButtonY = 308;

constexpr char16_t kSalam[] = u"\u0633\u0644\u0627\u0645";

std::string shotName(const std::string& name) {
    return "e2e-macros-" + name + ".png";
}

// Today's date as the device's date conversion writes it (month/day/year).
std::string today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return std::to_string(local.tm_mon + 1) + "/" + std::to_string(local.tm_mday) + "/" +
           std::to_string(local.tm_year + 1900);
}

class MacrosPageE2e : public KvemuTest {
protected:
    void SetUp() override {
        KvemuTest::SetUp();
        const KvemuResult first = run("print-sip\n");
        ASSERT_EQ(first.status, 0) << first.errors;
        ASSERT_EQ(std::sscanf(first.out.c_str(), "sip %d %d", &m_left, &m_top), 2) << first.out;
        m_farsi = kvskinKeys("240x320", 0);
        m_latin = kvskinKeys("240x320", kLatin);
        m_menu = kvskinKeys("240x320", kMenuFace);
        m_macros = kvskinKeys("240x320", kMacrosFace);
        const TableKey* settings = m_farsi.function(kLaunch, 3, 0);
        ASSERT_NE(settings, nullptr);
        m_openPage = tap(*settings) + "wait 300\nsip off\n";
        const auto sheet = controls(run(m_openPage + "print-controls\n").out);
        ASSERT_TRUE(sheet.count("tab 1") && sheet.count("1"));
        m_openPage += tapAt(sheet.at("tab 1")) + "wait 100\n";
        m_ok = tapAt(sheet.at("1"));
        m_page = controls(run(m_openPage + "print-controls\n").out);
        ASSERT_TRUE(m_page.count(std::to_string(kNameEdit)) &&
                    m_page.count(std::to_string(kDataEdit)) &&
                    m_page.count(std::to_string(kKindList)));
    }

    std::string tap(const TableKey& key) const {
        return tapAt(m_left + key.centreX(), m_top + key.centreY());
    }
    // Taps the keys of `table` that type `text`, one after another.
    std::string type(const KeyTable& table, std::u16string_view text) const {
        std::string taps;
        for (char16_t c : text) {
            const TableKey* key = table.withParam(c);
            EXPECT_NE(key, nullptr) << static_cast<unsigned>(c);
            if (key != nullptr)
                taps += tap(*key);
        }
        return taps;
    }
    std::string field(int id) const { return tapAt(m_page.at(std::to_string(id))); }
    // From the Farsi or Latin letters through the menu face to the macros face.
    std::string toMacrosFace(const KeyTable& from) const {
        const TableKey* menu = from.function(kLayoutKey, 0, kMenuFace);
        const TableKey* macros = m_menu.function(kLayoutKey, 0, kMacrosFace);
        EXPECT_TRUE(menu != nullptr && macros != nullptr);
        return menu && macros ? tap(*menu) + tap(*macros) + "wait 100\n" : "";
    }
    const TableKey& firstMacro() const { return *m_macros.function(kMacroKey, 0, 0); }

    int m_left = 0, m_top = 0;
    KeyTable m_farsi, m_latin, m_menu, m_macros;
    std::string m_openPage, m_ok;
    std::map<std::string, Box> m_page;
};

}  // namespace

TEST_F(MacrosPageE2e, AFarsiNamedMacroTypedWithTheKeyboardIsTypedIntoNotesByItsKey) {
    ASSERT_NE(m_macros.function(kMacroKey, 0, 0), nullptr);
    const TableKey* latin = m_farsi.function(kLayoutKey, 0, kLatin);
    ASSERT_NE(latin, nullptr);
    const std::string text = platform::toUtf8(kSalam) + " hi";
    const KvemuResult result =
        run(m_openPage + "print-sip\n" + tapAt(kPanelButtonX, kPanelButtonY) +
            "wait 300\nprint-sip\n" + field(kNameEdit) + type(m_farsi, kSalam) + "print-text\n" +
            field(kDataEdit) + type(m_farsi, kSalam) + type(m_farsi, u" ") + tap(*latin) +
            type(m_latin, u"hi") + "print-text\nshot " + shot(shotName("typed")) + "\n" + m_ok +
            "wait 500\nprint-front\n" + toMacrosFace(m_latin) + "shot " + shot(shotName("face")) +
            "\n" + tap(firstMacro()) + "wait 100\nexpect-text " + text + "\n");
    ASSERT_EQ(result.status, 0) << result.errors << result.out;
    // The page hid the keyboard; the menu bar's button showed it again, and it typed into the
    // focused edit in KvHelper's process.
    EXPECT_THAT(result.out, HasSubstr(" visible 0\n"));
    EXPECT_THAT(result.out, HasSubstr(" visible 1\n"));
    EXPECT_THAT(result.out, HasSubstr("\n" + platform::toUtf8(kSalam) + "\n" + text + "\n"));
    EXPECT_THAT(result.out, HasSubstr("front NotesWindow"));

    // On the macros face the name's ink lies in the right half of its key.
    Picture face;
    ASSERT_TRUE(readPng(shot(shotName("face")), face));
    const TableKey& key = firstMacro();
    const int left = m_left + key.left + 2, right = m_left + key.right - 2;
    const int top = m_top + key.top + 2, bottom = m_top + key.bottom - 2;
    const uint32_t ground = face.at(left + 1, (top + bottom) / 2);
    int inkLeft = right, inkRight = left;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (face.at(x, y) != ground) {
                inkLeft = std::min(inkLeft, x);
                inkRight = std::max(inkRight, x);
            }
        }
    }
    EXPECT_GT(inkLeft, (left + right) / 2);
    EXPECT_GT(inkRight, right - 10);
}

TEST_F(MacrosPageE2e, AMacroMadeADateOnThePageTypesTodaysDateIntoNotes) {
    ASSERT_NE(m_macros.function(kMacroKey, 0, 0), nullptr);
    const std::string before = today();
    // The kind list chosen with the stylus (opened and closed again), then two steps down to
    // "Date".
    const std::string kind = field(kKindList);
    const KvemuResult result =
        run(m_openPage + kind + kind + "key VK_DOWN\nkey VK_DOWN\nshot " + shot(shotName("date")) +
            "\n" + m_ok + "wait 500\nsip on\nwait 100\n" + toMacrosFace(m_farsi) +
            tap(firstMacro()) + "wait 100\nprint-text\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    const std::string after = today();
    EXPECT_TRUE(result.out.find(before + "\n") != std::string::npos ||
                result.out.find(after + "\n") != std::string::npos)
        << result.out << " is not " << before;
}
