// Measuring and drawing glyph strings: marks take no width and are drawn over their base in
// both text alignments, and DrawLine inverts exactly the selected glyphs.
#include <gtest/gtest.h>

#include <string>

#include "BidiTestSupport.h"
#include "CanvasSupport.h"
#include "farsiedit/TextInk.h"

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 40;

int width(HDC dc, const std::u16string& s) {
    return CBidiPara::TextWidth(dc, s.c_str(), static_cast<int>(s.size()));
}

// The columns where `draw(with)` leaves ink that `draw(without)` does not.
template <typename Draw>
RECT inkAdded(Canvas& canvas, const std::u16string& with, const std::u16string& without,
              Draw draw) {
    canvas.clear();
    draw(without);
    bool before[kHeight][kWidth];
    for (int y = 0; y < kHeight; ++y) {
        for (int px = 0; px < kWidth; ++px) {
            before[y][px] = canvas.dark(px, y);
        }
    }
    canvas.clear();
    draw(with);
    RECT r{kWidth, 0, -1, kHeight};
    for (int y = 0; y < kHeight; ++y) {
        for (int px = 0; px < kWidth; ++px) {
            if (canvas.dark(px, y) && !before[y][px]) {
                r.left = std::min<LONG>(r.left, px);
                r.right = std::max<LONG>(r.right, px + 1);
            }
        }
    }
    return r;
}

// The columns where drawing `with` as a glyph string leaves ink that `without` does not.
RECT extraInk(Canvas& canvas, UINT align, int x, const std::u16string& with,
              const std::u16string& without) {
    SetTextAlign(canvas.dc, align);
    const RECT clip = canvas.all();
    return inkAdded(canvas, with, without, [&](const std::u16string& text) {
        CBidiPara::DrawRuns(canvas.dc, x, 5, &clip, text.c_str(), static_cast<int>(text.size()));
    });
}

// The columns where drawing line 0 of `with` leaves ink that line 0 of `without` does not.
RECT extraLineInk(Canvas& canvas, UINT align, int x, const std::u16string& with,
                  const std::u16string& without) {
    SetTextAlign(canvas.dc, align);
    const RECT clip = canvas.all();
    return inkAdded(canvas, with, without, [&](const std::u16string& text) {
        biditest::laidOut(text)->DrawLine(canvas.dc, x, 5, 0, 0, &clip, 30, 0);
    });
}

}  // namespace

TEST(BidiDrawing, LinesPlaceMarksOverTheirLetterInBothAlignmentsAndDirections) {
    Canvas canvas(kWidth, kHeight, -24);
    // Dal with a fatha, then reh: shown right to left, the dal is the right glyph.
    const std::u16string farsi = u"\u062F\u064E\u0631";
    const std::u16string plainFarsi = u"\u062F\u0631";
    ASSERT_EQ(biditest::laidOut(farsi)->LineGlyphs(0), u"\uFEAD\u064E\uFEA9");
    const int reh = width(canvas.dc, u"\uFEAD");
    const int dal = width(canvas.dc, u"\uFEA9");
    for (UINT align : {UINT{TA_LEFT}, UINT{TA_RIGHT}}) {
        SCOPED_TRACE(align);
        const int left = align == TA_LEFT ? 40 : 160 - reh - dal;
        const RECT mark =
            extraLineInk(canvas, align, align == TA_LEFT ? 40 : 160, farsi, plainFarsi);
        ASSERT_LT(mark.left, mark.right) << "the mark left no ink";
        EXPECT_GE(mark.left, left + reh - 1);
        EXPECT_LE(mark.right, left + reh + dal + 1);
    }
    // Left to right: a fatha after "m" belongs to it, not to the "w" after it.
    const int m = width(canvas.dc, u"m");
    const int w = width(canvas.dc, u"w");
    for (UINT align : {UINT{TA_LEFT}, UINT{TA_RIGHT}}) {
        SCOPED_TRACE(align);
        const int left = align == TA_LEFT ? 40 : 160 - m - w;
        const RECT mark =
            extraLineInk(canvas, align, align == TA_LEFT ? 40 : 160, u"m\u064Ew", u"mw");
        ASSERT_LT(mark.left, mark.right) << "the mark left no ink";
        EXPECT_GE(mark.left, left - 1);
        EXPECT_LE(mark.right, left + m + 1);
    }
    EXPECT_EQ(GetTextAlign(canvas.dc), UINT{TA_RIGHT});
}

TEST(BidiDrawing, TextInkBoundsIsWhereDrawingLeavesInk) {
    Canvas canvas(kWidth, kHeight, -24);
    SetTextAlign(canvas.dc, TA_LEFT | TA_TOP);
    SetBkMode(canvas.dc, TRANSPARENT);
    // A letter whose tail reaches left of its advance, a word, and a mark with no advance.
    for (const std::u16string text : {u"\uFEB3", u"Wo", u"\u064E"}) {
        SCOPED_TRACE(testing::PrintToString(text));
        const RECT ink = TextInkBounds(canvas.dc, text.c_str(), static_cast<int>(text.size()));
        ASSERT_LT(ink.left, ink.right);
        canvas.clear();
        ExtTextOutW(canvas.dc, 60, 4, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()),
                    nullptr);
        // Faint edges count as ink too, so the box may reach a pixel past the dark part.
        const RECT drawn = canvas.inkColumns(0, kHeight);
        EXPECT_LE(ink.left + 60, drawn.left);
        EXPECT_LE(drawn.left - (ink.left + 60), 1);
        EXPECT_GE(ink.right + 60, drawn.right);
        EXPECT_LE((ink.right + 60) - drawn.right, 1);
        int top = kHeight;
        int bottom = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if (canvas.dark(x, y)) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y + 1);
                }
            }
        }
        EXPECT_LE(ink.top + 4, top);
        EXPECT_GE(ink.bottom + 4, bottom);
        EXPECT_LE(top - (ink.top + 4), 1);
        EXPECT_LE((ink.bottom + 4) - bottom, 1);
    }
    const RECT space = TextInkBounds(canvas.dc, u" ", 1);
    EXPECT_GE(space.left, space.right);
    const RECT none = TextInkBounds(canvas.dc, nullptr, 3);
    EXPECT_GE(none.left, none.right);
}

TEST(BidiDrawing, MarksHaveNoWidth) {
    Canvas canvas(kWidth, kHeight, -20);
    const int beh = width(canvas.dc, u"\uFE91");
    ASSERT_GT(beh, 0);
    EXPECT_EQ(width(canvas.dc, u"\uFE91\u064E\u0650"), beh);
    EXPECT_EQ(width(canvas.dc, u"\u064Eab"), width(canvas.dc, u"ab"));
    EXPECT_EQ(CBidiPara::TextWidth(canvas.dc, u"ab\u064Ec", -1), width(canvas.dc, u"abc"));
    EXPECT_EQ(CBidiPara::TextWidth(canvas.dc, nullptr, 3), 0);
}

TEST(BidiDrawing, LeftAlignedMarkSitsOverThePrecedingGlyph) {
    Canvas canvas(kWidth, kHeight, -24);
    const int x = 40;
    const int base = width(canvas.dc, u"o");
    const RECT mark = extraInk(canvas, TA_LEFT, x, u"o\u064Eo", u"oo");
    ASSERT_LT(mark.left, mark.right) << "the mark left no ink";
    EXPECT_GE(mark.left, x - 1);
    EXPECT_LE(mark.right, x + base + 1);
    EXPECT_EQ(GetBkMode(canvas.dc), OPAQUE);
}

TEST(BidiDrawing, RightAlignedMarkSitsOverTheGlyphAfterItInTheString) {
    // In visual order a mark of right-to-left text comes before its base.
    Canvas canvas(kWidth, kHeight, -24);
    const int x = 160;
    const int o = width(canvas.dc, u"o");
    const RECT mark = extraInk(canvas, TA_RIGHT, x, u"o\u064Eo", u"oo");
    ASSERT_LT(mark.left, mark.right) << "the mark left no ink";
    // The second o is right-aligned at x, the first one ends where the second begins.
    EXPECT_GE(mark.left, x - o - 1);
    EXPECT_LE(mark.right, x + 1);
    // The whole string ends at x and starts two glyphs to the left.
    canvas.clear();
    SetTextAlign(canvas.dc, TA_RIGHT);
    const RECT clip = canvas.all();
    CBidiPara::DrawRuns(canvas.dc, x, 5, &clip, u"oo", 2);
    const RECT ink = canvas.inkColumns(0, kHeight);
    EXPECT_LE(ink.right, x + 1);
    EXPECT_GE(ink.left, x - 2 * o - 1);
    EXPECT_LT(ink.left, x - o);
}

TEST(BidiDrawing, DrawLineInvertsTheSelectedGlyphs) {
    Canvas canvas(kWidth, kHeight, -16);
    auto para = biditest::laidOut(u"abc def");
    const RECT clip = canvas.all();
    const int x = 10;
    const int lineHeight = 30;
    const int y = 2;
    const int row = y + lineHeight - 2;  // below the text: only the inversion darkens it
    const int abc = width(canvas.dc, u"abc ");
    const int all = width(canvas.dc, u"abc def");

    SetTextAlign(canvas.dc, TA_LEFT);
    para->DrawLine(canvas.dc, x, y, 4, 7, &clip, lineHeight, 0);
    EXPECT_FALSE(canvas.dark(x + abc - 2, row));
    EXPECT_TRUE(canvas.dark(x + abc + 1, row));
    EXPECT_TRUE(canvas.dark(x + all - 1, row));
    EXPECT_FALSE(canvas.dark(x + all + 1, row));
    EXPECT_FALSE(canvas.dark(x + abc + 1, y + lineHeight));

    // A selection that misses the line inverts nothing.
    canvas.clear();
    para->DrawLine(canvas.dc, x, y, 7, 9, &clip, lineHeight, 0);
    EXPECT_EQ(canvas.inkColumns(row, row + 1).right, -1);
    canvas.clear();
    para->DrawLine(canvas.dc, x, y, 3, 3, &clip, lineHeight, 0);
    EXPECT_EQ(canvas.inkColumns(row, row + 1).right, -1);
}

TEST(BidiDrawing, RightAlignedLineInvertsFromTheRight) {
    Canvas canvas(kWidth, kHeight, -16);
    // Logical "beh space lam-alef": visually the beh is rightmost.
    auto para = biditest::laidOut(u"\u0628 \u0644\u0627");
    ASSERT_EQ(para->LineGlyphs(0), u"\uFEFB \uFE8F");
    const RECT clip = canvas.all();
    const int x = 180;
    const int lineHeight = 30;
    const int row = lineHeight - 1;
    const int beh = width(canvas.dc, u"\uFE8F");
    SetTextAlign(canvas.dc, TA_RIGHT);
    para->DrawLine(canvas.dc, x, 0, 0, 1, &clip, lineHeight, 0);
    RECT inverted = canvas.inkColumns(row, row + 1);
    EXPECT_EQ(inverted.left, x - beh);
    EXPECT_EQ(inverted.right, x);

    // Selecting only the alef selects the ligature it shares with the lam.
    canvas.clear();
    para->DrawLine(canvas.dc, x, 0, 3, 4, &clip, lineHeight, 0);
    inverted = canvas.inkColumns(row, row + 1);
    const int lig = width(canvas.dc, u"\uFEFB");
    const int rest = width(canvas.dc, u" \uFE8F");
    EXPECT_EQ(inverted.left, x - rest - lig);
    EXPECT_EQ(inverted.right, x - rest);
}

TEST(BidiDrawing, LogicalSelectionFallsApartIntoVisualStretches) {
    Canvas canvas(kWidth, kHeight, -16);
    // Two right-to-left words in left-to-right text; select from the first word's second
    // letter to the second word's first letter.
    auto para = biditest::laidOut(u"x \u062F\u0631 c \u062F\u0631");
    const std::u16string visual = para->LineGlyphs(0);
    ASSERT_EQ(visual, u"x \uFEAD\uFEA9 c \uFEAD\uFEA9");
    const RECT clip = canvas.all();
    SetTextAlign(canvas.dc, TA_LEFT);
    const int lineHeight = 30;
    const int row = lineHeight - 1;
    para->DrawLine(canvas.dc, 0, 0, 3, 8, &clip, lineHeight, 0);
    // Middle of visual glyph k.
    auto middle = [&](int k) {
        return (width(canvas.dc, visual.substr(0, k)) + width(canvas.dc, visual.substr(0, k + 1))) /
               2;
    };
    const bool expected[] = {false, false, true, false, true, true, true, false, true};
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(canvas.dark(middle(k), row), expected[k]) << "visual glyph " << k;
    }
}

TEST(BidiDrawing, EveryStretchOfASelectionIsInvertedInBothAlignments) {
    Canvas canvas(kWidth, kHeight, -16);
    // Numbers inside right-to-left words inside left-to-right text: selecting from the "2" to
    // the second word's first letter gives four visual stretches.
    auto para = biditest::laidOut(u"x \u062F12\u0631 c \u062F34\u0631");
    const std::u16string visual = para->LineGlyphs(0);
    ASSERT_EQ(visual, u"x \uFEAD12\uFEA9 c \uFEAD34\uFEA9");
    const RECT clip = canvas.all();
    const int lineHeight = 30;
    const int row = lineHeight - 1;
    const int total = width(canvas.dc, visual);
    auto middle = [&](int k) {
        return (width(canvas.dc, visual.substr(0, k)) + width(canvas.dc, visual.substr(0, k + 1))) /
               2;
    };
    // Visual glyphs 2, 4, 6-8 and 12 are selected, whichever side the line is drawn from.
    const bool expected[] = {false, false, true,  false, true,  false, true,
                             true,  true,  false, false, false, true};
    SetTextAlign(canvas.dc, TA_LEFT);
    para->DrawLine(canvas.dc, 0, 0, 4, 10, &clip, lineHeight, 0);
    for (int k = 0; k < 13; ++k) {
        EXPECT_EQ(canvas.dark(middle(k), row), expected[k]) << "from the left, glyph " << k;
    }
    canvas.clear();
    SetTextAlign(canvas.dc, TA_RIGHT);
    para->DrawLine(canvas.dc, total, 0, 4, 10, &clip, lineHeight, 0);
    for (int k = 0; k < 13; ++k) {
        EXPECT_EQ(canvas.dark(middle(k), row), expected[k]) << "from the right, glyph " << k;
    }
}
