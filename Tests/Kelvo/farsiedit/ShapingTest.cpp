// Arabic-script shaping: contextual forms, the lam-alef ligatures and their shared glyph,
// ZWNJ and ZWJ, transparent marks, and letters that must not join.
#include <gtest/gtest.h>

#include <string>

#include "BidiTestSupport.h"

using biditest::glyphsOf;
using biditest::laidOut;
using biditest::logicalGlyphs;

namespace {
constexpr WORD NO = CBidiPara::NO_GLYPH;
}

TEST(BidiShaping, ThreeBehsTakeInitialMedialAndFinalForms) {
    auto para = laidOut(u"\u0628\u0628\u0628");
    EXPECT_EQ(logicalGlyphs(*para), u"\uFE91\uFE92\uFE90");
    EXPECT_EQ(glyphsOf(*para), u"\uFE90\uFE92\uFE91");  // right to left
    EXPECT_EQ(para->logToVis[0], 2);
    EXPECT_EQ(para->visToLog[0], 2);

    // Farsi letters from the extended block: peh, farsi yeh.
    EXPECT_EQ(logicalGlyphs(*laidOut(u"\u067E\u06CC")), u"\uFB58\uFBFD");
    // A letter that joins only towards the preceding one ends the word's joining.
    EXPECT_EQ(logicalGlyphs(*laidOut(u"\u0628\u0627\u0628")), u"\uFE91\uFE8E\uFE8F");
    // A single letter is isolated.
    EXPECT_EQ(logicalGlyphs(*laidOut(u"\u0628")), u"\uFE8F");
}

TEST(BidiShaping, LamAlefBecomesOneLigatureInAllFourKindsAndBothForms) {
    const struct {
        char16_t alef;
        char16_t isolated;
        char16_t final;
    } cases[] = {
        {0x0622, 0xFEF5, 0xFEF6},
        {0x0623, 0xFEF7, 0xFEF8},
        {0x0625, 0xFEF9, 0xFEFA},
        {0x0627, 0xFEFB, 0xFEFC},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.alef));
        auto alone = laidOut(std::u16string(u"\u0644") + c.alef);
        EXPECT_EQ(glyphsOf(*alone), std::u16string(1, c.isolated));
        EXPECT_EQ(alone->logToVis[0], 0);
        EXPECT_EQ(alone->logToVis[1], 0);  // both characters share the glyph
        EXPECT_EQ(alone->visToLog[0], 0);
        EXPECT_EQ(alone->visToLog[1], NO);

        // After a joining letter: the letter takes its initial form, the ligature its final.
        auto joined = laidOut(std::u16string(u"\u0628\u0644") + c.alef);
        EXPECT_EQ(logicalGlyphs(*joined), std::u16string({0xFE91, c.final}));
        EXPECT_EQ(glyphsOf(*joined), std::u16string({c.final, 0xFE91}));
        EXPECT_EQ(joined->logToVis[1], 0);
        EXPECT_EQ(joined->logToVis[2], 0);
        EXPECT_EQ(joined->logToVis[0], 1);
    }
    // After a letter that does not join forward the ligature is isolated, and a letter after
    // the ligature does not join it.
    EXPECT_EQ(logicalGlyphs(*laidOut(u"\u062F\u0644\u0627")), u"\uFEA9\uFEFB");
    EXPECT_EQ(logicalGlyphs(*laidOut(u"\u0628\u0644\u0627\u0628")), u"\uFE91\uFEFC\uFE8F");
    // Lam with alef maksura is no ligature: an initial lam and a final maksura.
    EXPECT_EQ(logicalGlyphs(*laidOut(u"\u0644\u0649")), u"\uFEDF\uFEF0");
}

TEST(BidiShaping, ZwnjStopsJoiningWithoutAGlyph) {
    auto para = laidOut(u"\u0628\u200C\u0628");
    EXPECT_EQ(para->glyphCount, 2);
    EXPECT_EQ(logicalGlyphs(*para), u"\uFE8F\uFE8F");
    EXPECT_EQ(para->logToVis[1], NO);
    // Without it the two join.
    EXPECT_EQ(logicalGlyphs(*laidOut(u"\u0628\u0628")), u"\uFE91\uFE90");
}

TEST(BidiShaping, ZwjJoinsTheLettersAroundIt) {
    // After a dual-joining letter at the end: the letter stays initial and ZWJ is shown.
    auto end = laidOut(u"\u0628\u200D");
    EXPECT_EQ(logicalGlyphs(*end), u"\uFE91\u200D");
    EXPECT_EQ(glyphsOf(*end), u"\u200D\uFE91");

    // Between two letters the ZWJ's glyph gives way to the next letter's final form.
    auto between = laidOut(u"\u0628\u200D\u0628");
    EXPECT_EQ(between->glyphCount, 2);
    EXPECT_EQ(logicalGlyphs(*between), u"\uFE91\uFE90");
    EXPECT_EQ(between->logToVis[1], NO);
    EXPECT_EQ(between->logToVis[2], 0);
    EXPECT_EQ(between->visToLog[0], 2);

    // A second ZWJ in a row is dropped.
    auto twice = laidOut(u"\u0628\u200D\u200D");
    EXPECT_EQ(twice->glyphCount, 2);
    EXPECT_EQ(twice->logToVis[2], NO);

    // A leading ZWJ gives the letter after it its final form and has no glyph of its own.
    EXPECT_EQ(logicalGlyphs(*laidOut(u"\u200D\u0627")), u"\uFE8E");

    // Lam, ZWJ, alef: one ligature; all three characters point at it.
    auto ligature = laidOut(u"\u0644\u200D\u0627");
    EXPECT_EQ(glyphsOf(*ligature), u"\uFEFB");
    EXPECT_EQ(ligature->logToVis[1], 0);
    EXPECT_EQ(ligature->logToVis[2], 0);
    EXPECT_EQ(ligature->LineLastChar(0), 2);
    auto medial = laidOut(u"\u0628\u0644\u200D\u0627");
    EXPECT_EQ(logicalGlyphs(*medial), u"\uFE91\uFEFC");
}

TEST(BidiShaping, CharactersWithoutAGlyphDoNotKeepLamZwjAlefApart) {
    // A second ZWJ is dropped, and LRM never has a glyph: neither is seen by the joining.
    for (const std::u16string between : {u"\u200D\u200D", u"\u200E\u200D", u"\u200D\u200E"}) {
        SCOPED_TRACE(testing::PrintToString(between));
        auto alone = laidOut(u"\u0644" + between + u"\u0627");
        EXPECT_EQ(glyphsOf(*alone), u"\uFEFB");
        EXPECT_EQ(alone->logToVis[3], 0);  // the alef shares the lam's glyph
        EXPECT_EQ(alone->LineLastChar(0), 3);
        auto joined = laidOut(u"\u0628\u0644" + between + u"\u0627");
        EXPECT_EQ(logicalGlyphs(*joined), u"\uFE91\uFEFC");
        EXPECT_EQ(joined->glyphCount, 2);
        EXPECT_EQ(joined->logToVis[4], joined->logToVis[1]);
    }
}

TEST(BidiShaping, MarksAreTransparentAndOtherCharactersBreakJoining) {
    auto marked = laidOut(u"\u0628\u064E\u0628");
    EXPECT_EQ(logicalGlyphs(*marked), u"\uFE91\u064E\uFE90");
    // Lam, mark, alef still makes the ligature; the alef shares the lam's glyph.
    auto vocalized = laidOut(u"\u0644\u064E\u0627");
    EXPECT_EQ(vocalized->glyphCount, 2);
    EXPECT_EQ(vocalized->logToVis[2], vocalized->logToVis[0]);
    EXPECT_EQ(vocalized->glyphs[vocalized->logToVis[0]], 0xFEFB);
    EXPECT_EQ(vocalized->LineLastChar(0), 2);
    // Space, digits and hamza (which has no joining forms) all stop joining.
    EXPECT_EQ(logicalGlyphs(*laidOut(u"\u0628 \u0628")), u"\uFE8F \uFE8F");
    EXPECT_EQ(logicalGlyphs(*laidOut(u"\u0628\u0621\u0628")), u"\uFE8F\u0621\uFE8F");
    // Dropped characters (LRM) are invisible to joining.
    EXPECT_EQ(logicalGlyphs(*laidOut(u"\u0628\u200E\u0628")), u"\uFE91\uFE90");
    // Letters at different levels do not join.
    EXPECT_EQ(logicalGlyphs(*laidOut(u"\u0628\u202B\u0628\u202C")), u"\uFE8F\uFE8F");
}
