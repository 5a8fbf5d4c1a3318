// Notes' page layout: Latin lines from the left edge, Farsi lines from the right, mixed lines
// in bidi order, the lam-alef ligature as one caret stop, wrapped lines and their ends, and
// relaying out only the edited paragraphs giving what a full layout gives.
#include <gtest/gtest.h>

#include <wingdi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "programs/NotesLayout.h"

namespace {

constexpr int kWidth = 200;
constexpr int kLineHeight = 15;

// A memory DC with the text font Notes uses selected.
class MeasureDc {
public:
    MeasureDc() {
        m_dc = CreateCompatibleDC(nullptr);
        LOGFONTW f{};
        f.lfHeight = -12;
        f.lfWeight = FW_NORMAL;
        const std::u16string face = u"Tahoma";
        std::copy(face.begin(), face.end(), f.lfFaceName);
        m_font = CreateFontIndirectW(&f);
        m_old = SelectObject(m_dc, m_font);
    }
    ~MeasureDc() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_font);
        DeleteDC(m_dc);
    }
    MeasureDc(const MeasureDc&) = delete;
    MeasureDc& operator=(const MeasureDc&) = delete;
    HDC dc() const { return m_dc; }

private:
    HDC m_dc = nullptr;
    HFONT m_font = nullptr;
    HGDIOBJ m_old = nullptr;
};

// The caret's x for every offset of paragraph `para`.
std::vector<int> caretXs(const NotesLayout& layout, const NotesText& text, int para) {
    std::vector<int> xs;
    for (int k = 0; k <= static_cast<int>(text.paragraph(para).size()); ++k)
        xs.push_back(layout.placeOf(TextPosition{para, k}).x);
    return xs;
}

NotesText textOf(std::u16string_view s) {
    NotesText t;
    t.setText(s);
    return t;
}

}  // namespace

TEST(NotesLayout, LatinRunsRightwardsFromTheLeftEdgeAndFarsiLeftwardsFromTheRight) {
    MeasureDc m;
    NotesLayout layout(m.dc(), kWidth, kLineHeight);

    NotesText latin = textOf(u"abc");
    layout.rebuild(latin);
    std::vector<int> xs = caretXs(layout, latin, 0);
    EXPECT_FALSE(layout.rightToLeft(0));
    EXPECT_EQ(xs[0], 0);
    for (size_t k = 1; k < xs.size(); ++k)
        EXPECT_GT(xs[k], xs[k - 1]) << k;
    for (int k = 0; k <= 3; ++k)
        EXPECT_EQ(layout.positionAt(0, xs[static_cast<size_t>(k)]), (TextPosition{0, k}));

    NotesText farsi = textOf(u"\u0628\u0628\u0628\u0628");  // four behs
    layout.rebuild(farsi);
    xs = caretXs(layout, farsi, 0);
    EXPECT_TRUE(layout.rightToLeft(0));
    EXPECT_EQ(xs[0], kWidth);
    for (size_t k = 1; k < xs.size(); ++k)
        EXPECT_LT(xs[k], xs[k - 1]) << k;
    for (int k = 0; k <= 4; ++k)
        EXPECT_EQ(layout.positionAt(0, xs[static_cast<size_t>(k)]), (TextPosition{0, k}));
    // Points past either end of the line give its ends.
    EXPECT_EQ(layout.positionAt(0, -50), (TextPosition{0, 4}));
    EXPECT_EQ(layout.positionAt(0, kWidth + 50), (TextPosition{0, 0}));
}

TEST(NotesLayout, AFarsiWordInALatinLineReadsRightToLeftWhereItStands) {
    MeasureDc m;
    NotesLayout layout(m.dc(), kWidth, kLineHeight);
    // "abc " then the Farsi word seen (sin, lam, alef, mim).
    NotesText t = textOf(u"abc \u0633\u0644\u0627\u0645");
    layout.rebuild(t);
    const std::vector<int> xs = caretXs(layout, t, 0);
    EXPECT_FALSE(layout.rightToLeft(0));
    EXPECT_LT(xs[3], xs[4]);  // the word lies right of the Latin text
    EXPECT_GT(xs[4], xs[5]);  // and its letters go leftwards
    EXPECT_GT(xs[5], xs[7]);
    EXPECT_GT(xs[7], xs[8]);
    EXPECT_GT(xs[8], xs[3]);  // its last letter still right of the space
}

TEST(NotesLayout, LamAlefIsOneGlyphAndOneCaretStop) {
    MeasureDc m;
    NotesLayout layout(m.dc(), kWidth, kLineHeight);
    NotesText t = textOf(u"\u0633\u0644\u0627\u0645");  // lam (1) and alef (2) join
    layout.rebuild(t);
    EXPECT_FALSE(layout.insideGlyph(TextPosition{0, 1}));
    EXPECT_TRUE(layout.insideGlyph(TextPosition{0, 2}));
    EXPECT_FALSE(layout.insideGlyph(TextPosition{0, 3}));
    for (int x = -5; x <= kWidth + 5; ++x)
        EXPECT_NE(layout.positionAt(0, x).offset, 2) << x;
}

TEST(NotesLayout, LongParagraphsWrapAndLineEndsStayOnTheirLine) {
    MeasureDc m;
    NotesLayout layout(m.dc(), 60, kLineHeight);
    NotesText t = textOf(u"aaaa bbbb cccc dddd eeee");
    layout.rebuild(t);
    ASSERT_GT(layout.lineCount(), 1);

    int previous = 0;
    for (int k = 0; k <= static_cast<int>(t.paragraph(0).size()); ++k) {
        const int line = layout.placeOf(TextPosition{0, k}).line;
        EXPECT_GE(line, previous) << k;
        previous = line;
    }
    EXPECT_EQ(previous, layout.lineCount() - 1);

    const TextPosition end = layout.lineEnd(TextPosition{0, 0});
    EXPECT_EQ(t.paragraph(0)[static_cast<size_t>(end.offset)], u' ');  // before the space
    EXPECT_EQ(layout.placeOf(end).line, 0);
    const TextPosition nextStart = layout.lineStart(TextPosition{0, end.offset + 1});
    EXPECT_EQ(nextStart.offset, end.offset + 1);
    EXPECT_EQ(layout.placeOf(nextStart).line, 1);
    EXPECT_EQ(layout.placeOf(nextStart).x, 0);
    // The last line ends at the paragraph's end.
    EXPECT_EQ(layout.lineEnd(TextPosition{0, 23}).offset, 24);

    // A wider page takes fewer lines, and a wide one all on one line; narrowing wraps again.
    const int lines = layout.lineCount();
    layout.setWidth(130);
    EXPECT_LT(layout.lineCount(), lines);
    layout.setWidth(1000);
    EXPECT_EQ(layout.lineCount(), 1);
    layout.setWidth(60);
    EXPECT_EQ(layout.lineCount(), lines);
}

TEST(NotesLayout, AnEmptyParagraphTakesTheDirectionOfTheOneAboveIt) {
    MeasureDc m;
    NotesLayout layout(m.dc(), kWidth, kLineHeight);
    NotesText t = textOf(u"\u0633\u0644\u0627\u0645\r\n\r\nabc\r\n");
    layout.rebuild(t);
    ASSERT_EQ(layout.lineCount(), 4);
    EXPECT_TRUE(layout.rightToLeft(1));
    EXPECT_EQ(layout.placeOf(TextPosition{1, 0}).x, kWidth);
    EXPECT_FALSE(layout.rightToLeft(3));
    EXPECT_EQ(layout.placeOf(TextPosition{3, 0}).x, 0);
    EXPECT_EQ(layout.placeOf(TextPosition{3, 0}).line, 3);
}

TEST(NotesLayout, RelayingOutEditedParagraphsMatchesAFullLayout) {
    MeasureDc m;
    NotesLayout incremental(m.dc(), 80, kLineHeight);
    NotesText t;
    incremental.rebuild(t);
    auto check = [&](const char* step) {
        NotesLayout full(m.dc(), 80, kLineHeight);
        full.rebuild(t);
        ASSERT_EQ(incremental.lineCount(), full.lineCount()) << step;
        for (int p = 0; p < t.paragraphCount(); ++p) {
            for (int k = 0; k <= static_cast<int>(t.paragraph(p).size()); ++k) {
                const auto a = incremental.placeOf(TextPosition{p, k});
                const auto b = full.placeOf(TextPosition{p, k});
                ASSERT_EQ(a.line, b.line) << step << " " << p << ":" << k;
                ASSERT_EQ(a.x, b.x) << step << " " << p << ":" << k;
            }
        }
    };
    auto type = [&](std::u16string_view s) {
        for (char16_t c : s) {
            TextChange change;
            ASSERT_EQ(t.insertChar(c, &change), EditResult::Changed);
            incremental.apply(t, change);
        }
    };
    type(u"one two three four five");
    check("typed a wrapping line");
    type(u"\r\u0633\u0644\u0627\u0645 \u062f\u0646\u06cc\u0627\r\rsix");
    check("typed paragraphs");
    t.setCaret(TextPosition{2, 0});
    TextChange change;
    ASSERT_EQ(t.backspace(&change), EditResult::Changed);  // joins the empty paragraph up
    incremental.apply(t, change);
    check("joined");
    t.setCaret(TextPosition{0, 3});
    ASSERT_EQ(t.deleteForward(&change), EditResult::Changed);
    incremental.apply(t, change);
    check("deleted");
    t.setCaret(TextPosition{0, 100});
    ASSERT_EQ(t.deleteForward(&change), EditResult::Changed);  // joins the Farsi paragraph
    incremental.apply(t, change);
    check("joined down");

    // Farsi typed before Latin turns the paragraph right to left, and the empty one below it.
    t.setText(u"abc\r\n");
    incremental.rebuild(t);
    t.setCaret(TextPosition{0, 0});
    type(u"\u0633");
    check("an empty paragraph follows the one above");
    EXPECT_TRUE(incremental.rightToLeft(1));

    // A change that does not fit the layout's paragraphs is taken as a new text.
    incremental.apply(t, TextChange{5, 3, 1});
    check("inconsistent change");
}
