// The skin source compiler: how rows and widths become key rectangles at each panel size, how
// key descriptions become flags, param and vk, and how every problem in a source is named by
// its file, face or layout, row and column.
#include <gtest/gtest.h>

#include "KvskinTestSupport.h"
#include "SkinCompiler.h"
#include "skin/SkinLayout.h"

using kvskintest::oneFaceSource;

namespace {

// Compiles a source, failing the test with the compiler's message when it does not compile.
std::vector<CompiledClass> compiled(const std::string& json) {
    SkinSource source;
    std::string error;
    std::vector<CompiledClass> classes;
    EXPECT_TRUE(parseSkinSource(json, "skin.json", source, error)) << error;
    EXPECT_TRUE(compileLayouts(source, "skin.json", classes, error)) << error;
    return classes;
}

// The message of the first problem; empty when the source compiles.
std::string problemOf(const std::string& json) {
    SkinSource source;
    std::string error;
    std::vector<CompiledClass> classes;
    if (parseSkinSource(json, "skin.json", source, error) &&
        compileLayouts(source, "skin.json", classes, error))
        return "";
    return error;
}

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST(SkinSource, KeysShareTheirRowByWidthAndRowsShareThePanel) {
    const std::string json = oneFaceSource(
        R"([["a", "b", {"char": "c", "width": 2}], ["d", {"char": "x", "rect": [10, 10, 50, 30]}]])",
        "",
        R"({"P": {"size": [240, 80], "layouts": ["f"]}, "PH": {"size": [480, 160], "layouts": ["f"]}})");
    auto classes = compiled(json);
    ASSERT_EQ(classes.size(), 2u);
    const SkinLayoutEntry& p = classes[0].layouts[0].entry;
    EXPECT_EQ(classes[0].name, "P");
    EXPECT_EQ(p.width, 240);
    EXPECT_EQ(p.height, 80);
    ASSERT_EQ(p.rows.size(), 2u);
    EXPECT_TRUE(sameRect(p.rows[0][0].rect, {0, 0, 60, 40}));
    EXPECT_TRUE(sameRect(p.rows[0][1].rect, {60, 0, 120, 40}));
    EXPECT_TRUE(sameRect(p.rows[0][2].rect, {120, 0, 240, 40}));
    // A key with its own rectangle takes no part in the row's widths.
    EXPECT_TRUE(sameRect(p.rows[1][0].rect, {0, 40, 240, 80}));
    EXPECT_TRUE(sameRect(p.rows[1][1].rect, {10, 10, 50, 30}));

    // The same face on the large panel: every edge doubles, the own rectangle too.
    const SkinLayoutEntry& ph = classes[1].layouts[0].entry;
    EXPECT_EQ(classes[1].name, "PH");
    EXPECT_TRUE(sameRect(ph.rows[0][1].rect, {120, 0, 240, 80}));
    EXPECT_TRUE(sameRect(ph.rows[1][1].rect, {20, 20, 100, 60}));

    // Three equal keys on 320 pixels: rounded edges meet, with no gap or overlap.
    auto odd = compiled(oneFaceSource(R"([["a", "b", "c"]])", R"("rowHeights": [1])",
                                      R"({"L": {"size": [320, 80], "layouts": ["f"]}})"));
    const auto& row = odd[0].layouts[0].entry.rows[0];
    EXPECT_EQ(row[0].rect.right, row[1].rect.left);
    EXPECT_EQ(row[1].rect.right, row[2].rect.left);
    EXPECT_EQ(row[2].rect.right, 320);
    EXPECT_EQ(row[1].rect.left, 107);
}

TEST(SkinSource, KeyDescriptionsBecomeFlagsParamAndVk) {
    const std::string json = R"({"faces": {
        "fa": {"keyboard": "farsi", "rows": [[
            "ب", {"char": "\u200c", "label": "ZWNJ"}, {"goto": "la"}, {"back": true},
            {"modifier": 2, "oneshot": true, "vk": 16, "goto": 1},
            {"calc": 23, "modifier": 5}, {"task": "front", "slot": 3}, {"task": "closeAll"},
            {"macro": 20}, {"macro": "record"}, {"launch": "help", "topic": 4},
            {"launch": "program", "index": 29}, {"macro": 1, "stay": true}, {"vk": "0x2E"},
            {"modifier": 4, "vk": 91}, {"char": 1575, "vk": 0}]]},
        "la": {"keyboard": "latin", "flags": ["calc", "releaseOnLeave"], "alternate": 0,
               "rows": [["a", "A", ";", "ب"]]}},
        "classes": {"P": {"size": [240, 80], "layouts": ["fa", "la"]}}})";
    auto classes = compiled(json);
    ASSERT_EQ(classes.size(), 1u);
    const auto& keys = classes[0].layouts[0].entry.rows[0];
    ASSERT_EQ(keys.size(), 16u);
    struct Expected {
        WORD flags;
        WORD param;
        BYTE vk;
    };
    const Expected expected[] = {
        {KF_OUTPUT, 0x0628, 0x46},  // BEH on its Farsi key F
        {KF_OUTPUT, 0x200C, 0x42},  // ZWNJ on shifted B
        {KF_GOTO, 1, 0},            // by the layout's name
        {KF_BACK, 0, 0},
        {0x2000 | KF_ONESHOT | KF_GOTO, 1, 16},  // Shift that also changes layout
        {0x5000 | KF_CALC, 23, 0},               // grouping switch in slot 5
        {KF_TASKS, 3, 1},
        {KF_TASKS, 0, 2},
        {KF_MACRO, 19, 0},  // macros are numbered from 1 in sources
        {KF_MACRO, 0, 1},
        {KF_LAUNCH, 4, 5},
        {KF_LAUNCH, 29, 0},
        {KF_MACRO | KF_STAY, 0, 0},
        {KF_OUTPUT, 0, 0x2E},      // a plain virtual key
        {0x4000 | 0x0400, 0, 91},  // a latching modifier gets a kind bit
        {KF_OUTPUT, 0x0627, 0},    // an explicit vk 0 wins over the keyboard
    };
    for (size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(keys[i].flags, expected[i].flags) << "key " << i;
        EXPECT_EQ(keys[i].param, expected[i].param) << "key " << i;
        EXPECT_EQ(keys[i].vk, expected[i].vk) << "key " << i;
    }
    const SkinLayoutEntry& latin = classes[0].layouts[1].entry;
    EXPECT_EQ(latin.flags, LF_CALC | LF_RELEASE_ON_LEAVE);
    EXPECT_EQ(latin.alt, 0);
    EXPECT_EQ(latin.rows[0][0].vk, 'A');
    EXPECT_EQ(latin.rows[0][1].vk, 'A');
    EXPECT_EQ(latin.rows[0][2].vk, 0xBA);  // ';' on the US keyboard
    EXPECT_EQ(latin.rows[0][3].vk, 0x46);  // not on the US keyboard: its Farsi place
    // The gesture keys are absent unless named.
    EXPECT_EQ(latin.down.row, -1);
    EXPECT_EQ(latin.left.col, -1);
}

TEST(SkinSource, GesturesAndAlternatesResolveByNameIdOrPlace) {
    const std::string json = R"({"faces": {
        "a": {"alternate": "b", "gestures": {"down": "enter", "right": [1, 0], "left": "bs"},
              "rows": [["x", {"id": "bs", "char": 8, "vk": 8}, {"id": "enter", "char": 13}],
                       [{"id": "space", "char": " "}]]},
        "b": {"rows": [["y", "z", "w"]]}},
        "classes": {"P": {"size": [240, 80],
                          "layouts": [{"name": "first", "face": "a"}, {"name": "b", "face": "b"}]}}})";
    auto classes = compiled(json);
    const CompiledLayout& a = classes[0].layouts[0];
    EXPECT_EQ(a.name, "first");
    EXPECT_EQ(a.face, "a");
    EXPECT_EQ(a.entry.alt, 1);
    EXPECT_EQ(a.entry.down.row, 0);
    EXPECT_EQ(a.entry.down.col, 2);
    EXPECT_EQ(a.entry.right.row, 1);
    EXPECT_EQ(a.entry.right.col, 0);
    EXPECT_EQ(a.entry.left.col, 1);
    // The alternate's character is shown small on the key it belongs to; not on the space
    // key, which has no counterpart, nor on keys that are not characters.
    EXPECT_EQ(a.looks[0][0].hint, u"y");
    EXPECT_EQ(a.looks[0][1].hint, u"");
    EXPECT_EQ(a.looks[1][0].hint, u"");
    EXPECT_EQ(a.looks[0][0].style, KeyStyle::Char);
    EXPECT_EQ(a.looks[0][1].style, KeyStyle::Function);
}

TEST(SkinSource, ProblemsNameTheFileFaceRowAndColumn) {
    struct Case {
        std::string json;
        std::string message;
    };
    const Case cases[] = {
        {"{", "skin.json: [json.exception.parse_error"},
        {"[]", "skin.json: the skin is a JSON object"},
        {oneFaceSource(R"([["a", "bc"]])"),
         "skin.json, face \"f\", row 0, col 1: a key written as a string is one character"},
        {oneFaceSource(R"([["a"], [{"char": "b", "widht": 2}]])"),
         "skin.json, face \"f\", row 1, col 0: unknown member \"widht\""},
        {oneFaceSource(R"([[{"char": "a", "width": 0}]])"),
         "skin.json, face \"f\", row 0, col 0: \"width\" must be from"},
        {oneFaceSource(R"([[{"char": "a", "goto": 0}]])"),
         "skin.json, face \"f\", row 0, col 0: \"goto\" and \"char\" cannot share one key"},
        {oneFaceSource(R"([[{"modifier": 11}]])"),
         "skin.json, face \"f\", row 0, col 0: \"modifier\" slot 11 is outside 1 to 10"},
        {oneFaceSource(R"([[{"calc": 41}]])"),
         "skin.json, face \"f\", row 0, col 0: \"calc\" operation 41 is outside 0 to 40"},
        {oneFaceSource(R"([[{"task": "front"}]])"),
         "skin.json, face \"f\", row 0, col 0: a \"front\" task key needs a \"slot\""},
        {oneFaceSource(R"([[{"task": "close", "slot": 20}]])"),
         "skin.json, face \"f\", row 0, col 0: \"slot\" 20 is outside 0 to 19"},
        {oneFaceSource(R"([[{"macro": 21}]])"),
         "skin.json, face \"f\", row 0, col 0: \"macro\" (a number 1 to 20 or \"record\") 21"},
        {oneFaceSource(R"([[{"launch": "game", "index": 15}]])"),
         "skin.json, face \"f\", row 0, col 0: \"index\" 15 is outside 0 to 14"},
        {oneFaceSource(R"([[{"launch": "shell"}]])"),
         "skin.json, face \"f\", row 0, col 0: \"launch\" must be one of"},
        {oneFaceSource(R"([[{"oneshot": true}]])"),
         "skin.json, face \"f\", row 0, col 0: \"oneshot\" belongs to modifier keys"},
        {oneFaceSource(R"([[{"char": "\ud83d\ude00"}]])"),
         "skin.json, face \"f\", row 0, col 0: \"char\" must be one character of the basic plane"},
        {oneFaceSource(R"([[{"char": "a", "label": ")" + std::string(33, 'x') + R"("}]])"),
         "skin.json, face \"f\", row 0, col 0: \"label\" is longer than 32 characters"},
        {R"({"helpFile": ")" + std::string(260, 'h') + R"(", "faces": {}})",
         "skin.json: \"helpFile\" is longer than a device path can be (259 characters)"},
        {oneFaceSource(R"([[], ["a"]])"), "skin.json, face \"f\", row 0: a row must hold 1 to 30"},
        {oneFaceSource(R"([["a"],["a"],["a"],["a"],["a"],["a"],["a"]])"),
         "skin.json, face \"f\": \"rows\" must hold 1 to 6 rows"},
        {oneFaceSource(R"([["a"]])", R"("gestures": {"up": "a"})"),
         "skin.json, face \"f\": unknown member \"up\""},
        {oneFaceSource(R"([[{"id": "k", "char": "a"}, {"id": "k", "char": "b"}]])"),
         "skin.json, face \"f\": two keys have the id \"k\""},
        {oneFaceSource(R"([["a"]])", "", R"({"Q": {"size": [240, 80], "layouts": ["f"]}})"),
         "skin.json: \"classes\" has no class \"Q\""},
        {oneFaceSource(R"([["a"]])", "", R"({"P": {"size": [2000, 80], "layouts": ["f"]}})"),
         "skin.json, class P: panel width 2000 is outside 1 to 1024"},
        {oneFaceSource(R"([["a"]])", "", R"({"P": {"size": [240, 80], "layouts": ["g"]}})"),
         "skin.json, class P, layout 0: no face is named \"g\""},
        {oneFaceSource(R"([["a"]])", "", R"({"P": {"size": [240, 80], "layouts": ["f", "f"]}})"),
         "skin.json, class P, layout 1: the class already has a layout named \"f\""},
        // Names that only a class can resolve are reported with the class and layout.
        {oneFaceSource(R"([["a", "b", {"goto": "nowhere"}]])"),
         "skin.json: class P, layout 0 (\"f\"): row 0 col 2: goto target \"nowhere\" is not a "
         "layout of class P"},
        {oneFaceSource(R"([["a", {"goto": 3}]])"),
         "skin.json: class P, layout 0 (\"f\"): row 0 col 1: goto target 3 is not a layout"},
        {oneFaceSource(R"([["a"]])", R"("alternate": "shift")"),
         "skin.json: class P, layout 0 (\"f\"): the alternate layout \"shift\" is not a layout"},
        {oneFaceSource(R"([["a"]])", R"("gestures": {"left": "bs"})"),
         "skin.json: class P, layout 0 (\"f\"): the left gesture names key \"bs\", which the "
         "face does not have"},
        {oneFaceSource(R"([["a"]])", R"("gestures": {"down": [0, 1]})"),
         "skin.json: class P, layout 0 (\"f\"): the down gesture names row 0 col 1, where the "
         "face has no key"},
        {oneFaceSource(R"([["a", {"char": "b", "rect": [200, 0, 260, 40]}]])"),
         "skin.json: class P, layout 0 (\"f\"): row 0 col 1: its rectangle reaches past the "
         "240x80 panel"},
    };
    for (const Case& c : cases) {
        const std::string problem = problemOf(c.json);
        EXPECT_EQ(problem.rfind(c.message, 0), 0u) << "got: " << problem << "\nfor: " << c.json;
    }
    // The cases above differ from a source that compiles only where they say.
    EXPECT_EQ(problemOf(oneFaceSource(R"([["a", "b"]])")), "");
}
