// Lines: breaking at spaces, inside a too-wide word and at one too-wide glyph; whitespace
// levels at line ends; mirroring; reordering with its maps; the line and position queries.
#include <gtest/gtest.h>

#include <string>

#include "BidiTestSupport.h"
#include "CanvasSupport.h"

using biditest::glyphsOf;
using biditest::laidOut;

namespace {

std::vector<int> lineLengthsOf(const CBidiPara& para) {
    return std::vector<int>(para.lineLengths.get(), para.lineLengths.get() + para.lineCount);
}

int width(HDC dc, const std::u16string& s) {
    return CBidiPara::TextWidth(dc, s.c_str(), static_cast<int>(s.size()));
}

using V = std::vector<int>;

}  // namespace

TEST(BidiLines, WrapBreaksAfterTheLastSpaceThatFits) {
    Canvas canvas(10, 10);
    CBidiPara para;
    para.SetText(u"aaa bbb ccc");
    para.Layout();
    const int twoWords = width(canvas.dc, u"aaa bbb ");
    EXPECT_EQ(para.Wrap(canvas.dc, twoWords), twoWords);
    EXPECT_EQ(lineLengthsOf(para), (V{8, 3}));
    EXPECT_EQ(para.lineLengths[2], 0);
    EXPECT_EQ(para.LineGlyphs(0), u"aaa bbb ");
    EXPECT_EQ(para.LineGlyphs(1), u"ccc");

    para.Layout();
    // One pixel less: the second line starts at the second word and takes the rest.
    EXPECT_EQ(para.Wrap(canvas.dc, twoWords - 1), width(canvas.dc, u"bbb ccc"));
    EXPECT_EQ(lineLengthsOf(para), (V{4, 7}));
    EXPECT_EQ(para.LineFirstChar(1), 4);
    EXPECT_EQ(para.LineLastChar(1), 10);

    // Without a width there is one line, and the result is the whole text's width.
    para.Layout();
    EXPECT_EQ(para.Wrap(canvas.dc, 0), width(canvas.dc, u"aaa bbb ccc"));
    EXPECT_EQ(lineLengthsOf(para), (V{11}));
}

TEST(BidiLines, WordWiderThanTheLineBreaksInsideIt) {
    Canvas canvas(10, 10);
    CBidiPara para;
    para.SetText(u"abcdefghij");
    para.Layout();
    const int limit = width(canvas.dc, u"abcd");
    para.Wrap(canvas.dc, limit);
    EXPECT_EQ(lineLengthsOf(para), (V{4, 4, 2}));
    for (int line = 0; line < para.lineCount; ++line) {
        EXPECT_LE(width(canvas.dc, para.LineGlyphs(line)), limit);
    }
    // A glyph wider than the line still makes a line of its own.
    para.Layout();
    para.Wrap(canvas.dc, 1);
    EXPECT_EQ(lineLengthsOf(para), (V{1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(para.LineGlyphs(9), u"j");
}

TEST(BidiLines, EveryLineTakesAsMuchAsFits) {
    // Words, a word longer than any line, marks (which take no room) and a run of spaces.
    std::u16string text = u"one two\u064E\u064E three   ";
    for (int i = 0; i < 40; ++i) {
        text += i % 3 == 0 ? u"\u0628\u064E" : u"w";
    }
    text += u" end of it";
    Canvas canvas(10, 10);
    for (int limit : {1, 12, 30, 47, 80}) {
        SCOPED_TRACE(limit);
        CBidiPara para;
        para.SetText(text.c_str());
        para.Layout();
        const int widest = para.Wrap(canvas.dc, limit);
        const std::vector<int> lengths = lineLengthsOf(para);
        // Logical glyphs: the line breaking sees them in this order.
        para.Layout();
        const std::u16string shaped(para.glyphs.get(), para.glyphCount);
        int start = 0;
        int measuredWidest = 0;
        for (size_t line = 0; line < lengths.size(); ++line) {
            const int count = lengths[line];
            ASSERT_GT(count, 0);
            const std::u16string glyphs = shaped.substr(start, count);
            const int lineWidth = width(canvas.dc, glyphs);
            measuredWidest = std::max(measuredWidest, lineWidth);
            const int next = start + count;
            if (count > 1 || lineWidth <= limit) {
                EXPECT_LE(lineWidth, limit) << "line " << line;
            }
            if (next < para.glyphCount && glyphs.back() != u' ') {
                // Broken inside a word: one glyph more (with its marks) would not fit.
                int more = next + 1;
                while (more < para.glyphCount && shaped[more] == 0x064E) {
                    ++more;
                }
                EXPECT_GT(width(canvas.dc, shaped.substr(start, more - start)), limit)
                    << "line " << line;
            } else if (next < para.glyphCount) {
                // Broken at a space: the line through the next word would not fit.
                size_t wordEnd = shaped.find(u' ', next);
                wordEnd = wordEnd == std::u16string::npos ? shaped.size() - 1 : wordEnd;
                EXPECT_GT(width(canvas.dc, shaped.substr(start, wordEnd + 1 - start)), limit)
                    << "line " << line;
            }
            start = next;
        }
        EXPECT_EQ(start, para.glyphCount);
        EXPECT_EQ(widest, measuredWidest);
    }
}

TEST(BidiLines, WrappingNeverSplitsASurrogatePair) {
    Canvas canvas(10, 10);
    const std::u16string emoji = u"\U0001F600";
    std::u16string row;
    for (int i = 0; i < 6; ++i) {
        row += emoji;
    }
    CBidiPara para;
    para.SetText(row.c_str());
    para.Layout();
    // Narrower than one character, a little wider than one, and at three units.
    const int one = width(canvas.dc, emoji);
    const int unit = width(canvas.dc, emoji.substr(0, 1));
    ASSERT_GT(unit, 0);
    ASSERT_GT(one, unit);
    for (int limit : {1, one + 1, 3 * unit}) {
        SCOPED_TRACE(limit);
        para.Layout();
        para.Wrap(canvas.dc, limit);
        int total = 0;
        for (int line = 0; line < para.lineCount; ++line) {
            EXPECT_EQ(para.LineGlyphs(line).size() % 2, 0u) << "line " << line;
            EXPECT_EQ(para.LineGlyphs(line).substr(0, 2), emoji) << "line " << line;
            total += para.lineLengths[line];
        }
        EXPECT_EQ(total, 12);
    }
    // Letters and a pair: the line ends before the pair rather than inside it.
    para.SetText(u"ab\U0001F600cd");
    para.Layout();
    para.Wrap(canvas.dc, width(canvas.dc, u"ab") + unit);
    EXPECT_EQ(para.LineGlyphs(0), u"ab");
    EXPECT_EQ(para.LineGlyphs(1).substr(0, 2), emoji);
}

TEST(BidiLines, LineSeparatorEndsALine) {
    auto para = laidOut(u"ab\u2028cd");
    EXPECT_EQ(lineLengthsOf(*para), (V{3, 2}));
    Canvas canvas(10, 10);
    para->Layout();
    para->Wrap(canvas.dc, 1000);
    EXPECT_EQ(lineLengthsOf(*para), (V{3, 2}));
}

TEST(BidiLines, SpacesEndingALineAndBeforeATabTakeTheBaseLevel) {
    Canvas canvas(10, 10);
    CBidiPara para;
    para.SetText(u"ab \u0628 \u0628");
    para.Layout();
    EXPECT_EQ(para.LevelAt(4), 1);  // between two R
    para.Wrap(canvas.dc, width(canvas.dc, u"ab \uFE8F "));
    ASSERT_EQ(lineLengthsOf(para), (V{5, 1}));
    EXPECT_EQ(para.LevelAt(4), 0);
    EXPECT_EQ(para.LineGlyphs(0), u"ab \uFE8F ");

    auto tab = laidOut(u"ab \u0628  \t\u0628");
    EXPECT_EQ(tab->LevelAt(4), 0);
    EXPECT_EQ(tab->LevelAt(5), 0);
    EXPECT_EQ(tab->LevelAt(6), 0);
    EXPECT_EQ(glyphsOf(*tab), u"ab \uFE8F  \t\uFE8F");
    // Without the rule the spaces and the tab would sit between the two R at level 1.
    auto plain = laidOut(u"ab \u0628  -\u0628");
    EXPECT_EQ(plain->LevelAt(4), 1);
}

TEST(BidiLines, BracketsAreMirroredInRightToLeftText) {
    auto para = laidOut(u"\u0628(\u0628)");
    EXPECT_EQ(glyphsOf(*para), u"(\uFE8F)\uFE8F");
    EXPECT_EQ(para->visToLog[0], 3);
    EXPECT_EQ(glyphsOf(*laidOut(u"\u0628\u2264\u0628")), u"\uFE8F\u2265\uFE8F");
    EXPECT_EQ(glyphsOf(*laidOut(u"\u0628[\u00AB")), u"\u00BB]\uFE8F");
    EXPECT_EQ(glyphsOf(*laidOut(u"\u0628{\u0628}<\u0628>")), u"<\uFE8F>{\uFE8F}\uFE8F");
    // Left-to-right text keeps its brackets.
    EXPECT_EQ(glyphsOf(*laidOut(u"a(b)<")), u"a(b)<");
}

TEST(BidiLines, ReorderingKeepsTheMapsInStep) {
    auto para = laidOut(u"abc \u0628\u0644\u0627 def");
    EXPECT_EQ(glyphsOf(*para), u"abc \uFEFC\uFE91 def");
    EXPECT_EQ(para->logToVis[4], 5);
    EXPECT_EQ(para->logToVis[5], 4);
    EXPECT_EQ(para->logToVis[6], 4);
    for (int g = 0; g < para->glyphCount; ++g) {
        EXPECT_EQ(para->logToVis[para->visToLog[g]], g);
    }
    // Numbers inside right-to-left text keep their own order at level 2.
    EXPECT_EQ(glyphsOf(*laidOut(u"\u0628 123 \u0628")), u"\uFE8F 123 \uFE8F");
    // A character outside the basic plane keeps its two units in order when reversed.
    auto emoji = laidOut(u"\u0628 \U0001F600 \u0628");
    EXPECT_EQ(glyphsOf(*emoji), u"\uFE8F \U0001F600 \uFE8F");
    EXPECT_EQ(emoji->logToVis[2], 2);
    EXPECT_EQ(emoji->logToVis[3], 3);
}

TEST(BidiLines, WrappingAgainGivesTheSameLines) {
    auto para = laidOut(u"\u0628(\u0628) abc");
    const std::u16string once = glyphsOf(*para);
    para->Wrap(nullptr, 0);
    EXPECT_EQ(glyphsOf(*para), once);
}

TEST(BidiLines, LineQueriesCountTheAlefOfAFinalLamAlef) {
    auto para = laidOut(u"\u0628\u0644\u0627");
    EXPECT_EQ(para->LineFirstChar(0), 0);
    EXPECT_EQ(para->LineLastChar(0), 2);
    EXPECT_EQ(para->LineGlyphs(0), u"\uFEFC\uFE91");

    Canvas canvas(10, 10);
    CBidiPara wrapped;
    wrapped.SetText(u"\u0628 \u0644\u0627");
    wrapped.Layout();
    wrapped.Wrap(canvas.dc, width(canvas.dc, u"\uFE8F "));
    ASSERT_EQ(wrapped.lineCount, 2);
    EXPECT_EQ(wrapped.LineFirstChar(1), 2);
    EXPECT_EQ(wrapped.LineLastChar(1), 3);
    EXPECT_EQ(wrapped.LineStart(1), 2);

    // No such line.
    EXPECT_EQ(para->LineFirstChar(1), -1);
    EXPECT_EQ(para->LineLastChar(-1), -1);
    EXPECT_EQ(para->LineGlyphs(5), u"");
    EXPECT_EQ(para->LineStart(1), -1);
}

TEST(BidiLines, NextAndPreviousVisibleSkipGlyphlessCharacters) {
    auto para = laidOut(u"a\u200Cb\u200E");
    EXPECT_EQ(para->NextVisible(-1), 0);
    EXPECT_EQ(para->NextVisible(0), 2);
    EXPECT_EQ(para->NextVisible(2), -1);
    EXPECT_EQ(para->PrevVisible(2), 0);
    EXPECT_EQ(para->PrevVisible(4), 2);
    EXPECT_EQ(para->PrevVisible(0), -1);
    EXPECT_EQ(para->NextVisible(100), -1);
    EXPECT_EQ(para->PrevVisible(100), 2);
}
