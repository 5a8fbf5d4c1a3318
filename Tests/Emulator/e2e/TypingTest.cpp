// The keyboard on kvemu's device, driven as a user drives it: taps on keys where `kvskin keys`
// says the built skin puts them, strokes, the data channel, a held key and a rotation.
#include <gmock/gmock.h>

#include <cstdio>
#include <filesystem>

#include "KvemuRun.h"
#include "SkinKeys.h"

namespace {

using ::testing::HasSubstr;

struct Origin {
    int x, y;
};

class Typing : public KvemuTest {
protected:
    // The panel's top left corner on the screen: where print-sip puts the SIP window.
    Origin panelOrigin(const std::string& options = "") {
        KvemuResult result = run("print-sip\n", options);
        int left = -1, top = -1;
        EXPECT_EQ(std::sscanf(result.out.c_str(), "sip %d %d", &left, &top), 2) << result.out;
        return {left, top};
    }
    static std::string at(Origin origin, int x, int y) {
        return std::to_string(origin.x + x) + " " + std::to_string(origin.y + y);
    }
    static std::string tapOn(Origin origin, const TableKey& key) {
        return "tap " + at(origin, key.centreX(), key.centreY()) + "\n";
    }
};

TEST_F(Typing, FarsiWordTypedByTappingKeysArrivesInNotes) {
    const KeyTable farsi = kvskinKeys("240x320", 0);
    const Origin origin = panelOrigin();
    std::string script;
    const std::u16string word = u"\u0633\u0644\u0627\u0645";  // salaam
    for (char16_t ch : word) {
        const TableKey* key = farsi.withParam(ch);
        ASSERT_NE(key, nullptr) << "no key for U+" << std::hex << static_cast<unsigned>(ch);
        script += tapOn(origin, *key);
    }
    script += "expect-text \xD8\xB3\xD9\x84\xD8\xA7\xD9\x85\n";
    KvemuResult result = run(script);
    EXPECT_EQ(result.status, 0) << result.errors;
}

TEST_F(Typing, PresskeyAndLayoutGoThroughTheDataChannel) {
    const KeyTable farsi = kvskinKeys("240x320", 0);
    const KeyTable latin = kvskinKeys("240x320", 2);
    const TableKey* farsiKey = farsi.at(1, 0);
    const TableKey* latinKey = latin.at(0, 3);
    ASSERT_NE(farsiKey, nullptr);
    ASSERT_NE(latinKey, nullptr);
    KvemuResult result =
        run("presskey 1 0\nprint-sip\nlayout 2\nprint-sip\npresskey 0 3\n"
            "print-text\nprint-log\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    const auto lines = result.lines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_THAT(lines[0], HasSubstr(" layout 0 "));
    EXPECT_THAT(lines[1], HasSubstr(" layout 2 "));
    EXPECT_EQ(lines[2], typedText(*farsiKey) + typedText(*latinKey));
    // Each went to the input method's SetImData as a 6-byte block.
    EXPECT_THAT(result.out, HasSubstr(" sip SetImData 6 0x00000000\n"));
}

TEST_F(Typing, StrokesOffAKeyActAsItsGestures) {
    const KeyTable farsi = kvskinKeys("240x320", 0);
    const Origin origin = panelOrigin();
    const TableKey* first = farsi.at(0, 0);
    const TableKey* second = farsi.at(0, 1);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    const int x = second->centreX(), y = second->centreY();
    // A stroke down from the second key is the down gesture (Enter), one to the right the
    // right gesture (space): neither types the key's own character.
    const std::string script = tapOn(origin, *first) + "down " + at(origin, x, y) + "\nmove " +
                               at(origin, x, y + 20) + "\nup " + at(origin, x, y + 40) + "\ndown " +
                               at(origin, x, y) + "\nmove " + at(origin, x + 30, y) + "\nup " +
                               at(origin, x + 60, y) + "\nprint-text\n";
    KvemuResult result = run(script);
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(result.lines().at(0), typedText(*first) + "\\r\\n ");
}

TEST_F(Typing, HeldKeyRepeatsAtTheDevicesDelayAndPeriod) {
    const KeyTable farsi = kvskinKeys("240x320", 0);
    const Origin origin = panelOrigin();
    const TableKey* key = farsi.at(0, 0);
    ASSERT_NE(key, nullptr);
    const std::string point = at(origin, key->centreX(), key->centreY());
    // Repeats at 500 ms, then every 50 ms up to 1000 ms: eleven characters; a second held for
    // 499 ms gives none more than its own press.
    KvemuResult result = run("down " + point + "\nwait 1000\nup " + point + "\nprint-text\n" +
                             "down " + point + "\nwait 499\nup " + point + "\nprint-text\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(result.lines().at(0), typedText(*key, 11));
    EXPECT_EQ(result.lines().at(1), typedText(*key, 12));
}

TEST_F(Typing, RotationReloadsTheKeyboardForTheLandscapeClass) {
    const KeyTable portrait = kvskinKeys("240x320", 0);
    const KeyTable landscape = kvskinKeys("320x240", 0);
    ASSERT_GT(landscape.width, portrait.width);
    KvemuResult result = run("rotate\nwait 1000\nprint-sip\nprint-windows\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    // The SIP window along the bottom of the 320 x 240 screen, above the 26-pixel menu bar,
    // as wide as the landscape layout.
    const int top = 240 - 26 - landscape.height + 1;
    EXPECT_EQ(result.lines().at(0),
              "sip 0 " + std::to_string(top) + " " + std::to_string(landscape.width + 2) + " " +
                  std::to_string(top + landscape.height + 1) + " layout 0 visible 1");
    // Notes follows what the keyboard leaves visible of the new work area.
    KvemuResult controls = run("rotate\nwait 1000\nprint-controls\n");
    EXPECT_THAT(controls.out,
                HasSubstr("1001\tFarsiEditCtrl\t1\t0 26 320 " + std::to_string(top - 1) + "\t"));

    // A tap where the landscape layout has its first key types that key.
    const TableKey* key = landscape.at(0, 0);
    ASSERT_NE(key, nullptr);
    KvemuResult result2 = run("rotate\nwait 1000\ntap " + std::to_string(key->centreX()) + " " +
                              std::to_string(top + key->centreY()) + "\nprint-text\n");
    ASSERT_EQ(result2.status, 0) << result2.errors;
    EXPECT_EQ(result2.lines().at(0), typedText(*key));
}

}  // namespace

namespace {

using Demo = KvemuTest;

TEST_F(Demo, TypesBothSentencesComputesAndSavesItsScreenshots) {
    const std::string command = "cd '" + m_folder.string() + "' && '" + KVEMU_PATH +
                                "' --headless --device '" + device().string() +
                                "' > out.txt 2> err.txt";
    const int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 0) << slurp(file("err.txt"));
    const std::string out = slurp(file("out.txt"));
    // 12 + 30 on the calculator, typed into Notes by its Type key.
    EXPECT_THAT(out,
                HasSubstr("Notes holds: \xD8\xB3\xD9\x84\xD8\xA7\xD9\x85 "
                          "\xD8\xAF\xD9\x86\xDB\x8C\xD8\xA7\\r\\nhello from kelvo\\r\\n42.\n"));
    for (const char* shot :
         {"1-notes.png", "2-farsi.png", "3-latin.png", "4-calculator.png", "5-result.png"}) {
        EXPECT_THAT(out, HasSubstr("  out/" + std::string(shot) + "\n"));
        EXPECT_EQ(slurp(m_folder / "out" / shot).substr(1, 3), "PNG") << shot;
    }
}

}  // namespace

namespace {

// A script that types `text` by tapping the keys of the Farsi layout (0) and, for Latin letters,
// of the Latin layout (2), switching with the layouts' own keys.
std::string typeOnTheKeyboard(const std::u16string& text, Origin origin, std::string* problem) {
    const KeyTable layouts[] = {kvskinKeys("240x320", 0), KeyTable{}, kvskinKeys("240x320", 2)};
    int layout = 0;
    std::string script;
    auto tap = [&](const TableKey& key) {
        script += "tap " + std::to_string(origin.x + key.centreX()) + " " +
                  std::to_string(origin.y + key.centreY()) + "\n";
    };
    auto switchTo = [&](int target) {
        for (const TableKey& key : layouts[layout].keys) {
            if (key.flags == 2 && key.param == static_cast<unsigned>(target)) {
                tap(key);
                layout = target;
                return;
            }
        }
        *problem = "no key to layout " + std::to_string(target);
    };
    for (char16_t ch : text) {
        const bool latin = ch >= u'a' && ch <= u'z';
        if (latin != (layout == 2))
            switchTo(latin ? 2 : 0);
        const TableKey* key = layouts[layout].withParam(ch);
        if (key == nullptr) {
            *problem = "no key for U+" + std::to_string(static_cast<unsigned>(ch));
            return script;
        }
        tap(*key);
    }
    return script;
}

}  // namespace

TEST_F(Typing, AFarsiAndAMixedParagraphTypedOnTheKeyboardStandInNotesByTheirDirection) {
    const std::u16string farsi =
        u"\u0633\u0644\u0627\u0645 \u062f\u0646\u06cc\u0627. \u0645\u0646 \u0628\u0627 "
        u"\u06a9\u0644\u0648\u0648 \u0641\u0627\u0631\u0633\u06cc "
        u"\u0645\u06cc\u200c\u0646\u0648\u06cc\u0633\u0645.";
    const std::u16string mixed =
        u"\u0645\u0646 kelvo \u0631\u0627 \u062f\u0648\u0633\u062a "
        u"\u062f\u0627\u0631\u0645 \u0648 hello world "
        u"\u0645\u06cc\u200c\u0646\u0648\u06cc\u0633\u0645.";
    std::string problem;
    const std::string typing = typeOnTheKeyboard(farsi + u"\r" + mixed, panelOrigin(), &problem);
    ASSERT_EQ(problem, "");
    const std::string screenshot = shot("notes-farsi-and-mixed.png");
    KvemuResult result = run(typing + "wait 600\nshot " + screenshot + "\nprint-text\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(result.lines().at(0), platform::toUtf8(farsi) + "\\r\\n" + platform::toUtf8(mixed));
    EXPECT_TRUE(std::filesystem::exists(screenshot));
}
