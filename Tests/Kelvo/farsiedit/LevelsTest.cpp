// Level resolution: the base level, explicit embeddings and overrides with their depth limit,
// the weak types (marks, digits, separators, terminators), neutrals and implicit levels.
#include <gtest/gtest.h>

#include <farsiedit/BidiTables.h>

#include <string>
#include <vector>

#include "BidiTestSupport.h"

using biditest::glyphsOf;
using biditest::laidOut;
using namespace bidi;

namespace {

std::vector<int> levelsOf(const CBidiPara& para) {
    std::vector<int> out;
    for (int i = 0; i < para.length; ++i) {
        out.push_back(para.LevelAt(i));
    }
    return out;
}

std::vector<int> classesOf(const CBidiPara& para) {
    std::vector<int> out;
    for (int i = 0; i < para.length; ++i) {
        out.push_back(para.ClassAt(i));
    }
    return out;
}

using V = std::vector<int>;

}  // namespace

TEST(BidiLevels, BaseLevelComesFromTheFirstStrongCharacter) {
    EXPECT_EQ(laidOut(u"12 abc \u0628")->baseLevel, 0);
    EXPECT_EQ(laidOut(u"12 \u0628 abc")->baseLevel, 1);
    EXPECT_EQ(laidOut(u"\u202Eabc")->baseLevel, 1);
    EXPECT_EQ(laidOut(u"\u202D\u0628")->baseLevel, 0);
    EXPECT_EQ(laidOut(u"123")->baseLevel, 0);

    // Three Latin letters and RLM: the mark has no glyph, is R, and the base stays 0.
    auto rlm = laidOut(u"abc\u200F");
    EXPECT_EQ(rlm->baseLevel, 0);
    EXPECT_EQ(rlm->glyphCount, 3);
    EXPECT_EQ(rlm->logToVis[3], CBidiPara::NO_GLYPH);
    EXPECT_EQ(levelsOf(*rlm), (V{0, 0, 0, 1}));
}

TEST(BidiLevels, EmptyParagraphKeepsItsBaseLevelAndHasOneEmptyLine) {
    CBidiPara para;
    para.SetText(u"\u0628");
    para.Layout();
    ASSERT_EQ(para.baseLevel, 1);
    para.SetText(u"");
    para.Layout();
    EXPECT_EQ(para.Wrap(nullptr, 0), 0);
    EXPECT_EQ(para.baseLevel, 1);
    EXPECT_EQ(para.glyphCount, 0);
    EXPECT_EQ(para.lineCount, 1);
    EXPECT_EQ(para.lineLengths[0], 0);
    EXPECT_EQ(para.LineFirstChar(0), CBidiPara::EMPTY_LINE);
    EXPECT_EQ(para.LineLastChar(0), -1);
    EXPECT_EQ(para.minLevel, CBidiPara::MAX_LEVEL);

    // A paragraph that never had text lays out as an empty one.
    CBidiPara fresh;
    fresh.Layout();
    fresh.Wrap(nullptr, 0);
    EXPECT_EQ(fresh.lineCount, 1);
    EXPECT_EQ(fresh.baseLevel, 0);
}

TEST(BidiLevels, DigitsAfterArabicLettersAreArabicNumbers) {
    // Farsi digits and Latin digits after a Farsi letter: AN at level 2.
    auto farsi = laidOut(u"\u0628 \u06F1\u06F2");
    EXPECT_EQ(classesOf(*farsi), (V{R, R, AN, AN}));
    EXPECT_EQ(levelsOf(*farsi), (V{1, 1, 2, 2}));
    auto latin = laidOut(u"\u0628 12");
    EXPECT_EQ(classesOf(*latin), (V{R, R, AN, AN}));

    // Latin digits at the start of a right-to-left paragraph: the start counts as R.
    auto leading = laidOut(u"12 \u0628");
    EXPECT_EQ(leading->baseLevel, 1);
    EXPECT_EQ(leading->ClassAt(0), AN);
    EXPECT_EQ(leading->ClassAt(1), AN);

    // After Latin letters the same digits are European numbers, resolved to L.
    auto afterLatin = laidOut(u"ab 12");
    EXPECT_EQ(classesOf(*afterLatin), (V{L, L, L, L, L}));
}

TEST(BidiLevels, SeparatorsBetweenDigitsJoinThem) {
    // A comma between two Arabic numbers is one; the number stays in left-to-right order.
    auto para = laidOut(u"\u0628 12,34");
    EXPECT_EQ(classesOf(*para), (V{R, R, AN, AN, AN, AN, AN}));
    EXPECT_EQ(levelsOf(*para), (V{1, 1, 2, 2, 2, 2, 2}));
    EXPECT_EQ(glyphsOf(*para), u"12,34 \uFE8F");

    // A plus sign joins European numbers only; between Arabic numbers it is neutral.
    EXPECT_EQ(laidOut(u"ab 1+2")->ClassAt(4), L);
    auto plus = laidOut(u"\u0628 1+2");
    EXPECT_EQ(plus->ClassAt(3), R);
    EXPECT_EQ(plus->LevelAt(3), 1);
    // Two separators in a row are neutral.
    auto twice = laidOut(u"\u0628 1,,2");
    EXPECT_EQ(twice->ClassAt(3), R);
    EXPECT_EQ(twice->ClassAt(4), R);
    // A separator ending the paragraph is neutral.
    EXPECT_EQ(laidOut(u"\u0628 1,")->ClassAt(3), R);
}

TEST(BidiLevels, TerminatorsNextToEuropeanNumbersJoinThem) {
    // The soft hyphen (BN) stops the neutral from taking its neighbours' direction, so a
    // neutral terminator falls back to the embedding direction (R at level 1).
    auto before = laidOut(u"\u0628 abc\u00AD$5");
    EXPECT_EQ(before->ClassAt(6), L);
    EXPECT_EQ(before->LevelAt(6), 2);
    auto after = laidOut(u"\u0628 abc\u00AD5%\u00AD");
    EXPECT_EQ(after->ClassAt(7), L);
    EXPECT_EQ(after->LevelAt(7), 2);
    auto alone = laidOut(u"\u0628 abc\u00AD$\u00AD");
    EXPECT_EQ(alone->ClassAt(6), R);
    EXPECT_EQ(alone->LevelAt(6), 1);
    // At the very start of the text, followed by a European number.
    auto start = laidOut(u"$$5");
    EXPECT_EQ(classesOf(*start), (V{L, L, L}));
    // After an Arabic number a terminator is neutral.
    EXPECT_EQ(laidOut(u"\u0628 \u0661\u066A\u00AD")->ClassAt(3), R);
}

TEST(BidiLevels, MarksTakeTheClassBeforeThem) {
    auto para = laidOut(u"\u0628\u064Eab\u064E");
    EXPECT_EQ(classesOf(*para), (V{R, R, L, L, L}));
    EXPECT_EQ(levelsOf(*para), (V{1, 1, 2, 2, 2}));
    // A mark first in the paragraph takes the start's direction.
    EXPECT_EQ(laidOut(u"\u064Eab")->ClassAt(0), L);
}

TEST(BidiLevels, NeutralsTakeMatchingNeighboursElseTheEmbeddingDirection) {
    // Between two Farsi words the spaces are R; between Latin and Farsi in an LTR paragraph
    // they take the embedding direction.
    auto rtl = laidOut(u"\u0628 - \u0628");
    EXPECT_EQ(levelsOf(*rtl), (V{1, 1, 1, 1, 1}));
    auto mixed = laidOut(u"ab \u0628 ! cd");
    EXPECT_EQ(levelsOf(*mixed), (V{0, 0, 0, 1, 0, 0, 0, 0, 0}));
    // Arabic numbers count as R for their neutral neighbours.
    auto numbers = laidOut(u"ab \u0628 \u0661");
    EXPECT_EQ(levelsOf(*numbers), (V{0, 0, 0, 1, 1, 2}));
}

TEST(BidiLevels, OverridesForceTheirDirection) {
    auto rlo = laidOut(u"\u202Eabc\u202C");
    EXPECT_EQ(rlo->baseLevel, 1);
    EXPECT_EQ(classesOf(*rlo), (V{BN, R, R, R, BN}));
    EXPECT_EQ(levelsOf(*rlo), (V{3, 3, 3, 3, 0}));  // the next odd level above the base
    EXPECT_EQ(glyphsOf(*rlo), u"cba");

    // Arabic letters under LRO are L and shown in their isolated forms, left to right.
    auto lro = laidOut(u"\u202D\u0628\u0628\u0628");
    EXPECT_EQ(lro->baseLevel, 0);
    EXPECT_EQ(classesOf(*lro), (V{BN, L, L, L}));
    EXPECT_EQ(levelsOf(*lro), (V{2, 2, 2, 2}));
    EXPECT_EQ(glyphsOf(*lro), u"\uFE8F\uFE8F\uFE8F");
}

TEST(BidiLevels, EmbeddingsRaiseTheLevelUntilTheirPdf) {
    // RLE inside LTR text: the embedded Latin word is at level 2, the text after PDF at 0.
    auto rle = laidOut(u"ab\u202Bcd\u202Cef");
    EXPECT_EQ(levelsOf(*rle), (V{0, 0, 1, 2, 2, 0, 0, 0}));
    // LRE inside RTL text.
    auto lre = laidOut(u"\u0628\u202Acd\u202C\u0628");
    EXPECT_EQ(levelsOf(*lre), (V{1, 2, 2, 2, 0, 1}));
    EXPECT_EQ(glyphsOf(*lre), u"\uFE8Fcd\uFE8F");
    // A PDF with nothing open changes nothing else.
    auto stray = laidOut(u"a\u202Cb");
    EXPECT_EQ(levelsOf(*stray), (V{0, 0, 0}));
    EXPECT_EQ(stray->ClassAt(1), BN);
    // An embedding without PDF lasts to the end.
    EXPECT_EQ(levelsOf(*laidOut(u"a\u202Bb")), (V{0, 1, 2}));
}

TEST(BidiLevels, EmbeddingsStopAtLevelSixtyOne) {
    // Alternating RLE and LRE from level 0 reach 61 with 61 codes; the 62nd opens nothing.
    std::u16string text;
    for (int k = 0; k < CBidiPara::MAX_LEVEL; ++k) {
        text += (k % 2 == 0) ? u'\u202B' : u'\u202A';
    }
    text += u"\u202A";  // would be level 62
    text += u"a\u202Cb";
    auto para = laidOut(text);
    const int overflow = CBidiPara::MAX_LEVEL;
    EXPECT_EQ(para->LevelAt(overflow - 1), 61);
    EXPECT_EQ(para->LevelAt(overflow), 0);
    EXPECT_EQ(para->ClassAt(overflow), BN);
    EXPECT_EQ(para->LevelAt(overflow + 1), 62);  // L at odd level 61
    // The PDF closes the innermost open embedding (61), so b is at 60.
    EXPECT_EQ(para->LevelAt(overflow + 3), 60);
    EXPECT_EQ(para->maxLevel, 62);
    EXPECT_EQ(para->minLevel, 0);
    EXPECT_EQ(glyphsOf(*para), u"ab");
}
