// The help page's layout: lines within the page, words broken only where they must be, Farsi
// words shaped and in display order within Latin lines and the other way round, list markers
// before their indent, preformatted spaces kept, and links found where they are drawn.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "DeviceTest.h"
#include "farsiedit/CBidiPara.h"
#include "programs/help/HelpLayout.h"
#include "programs/help/HtmlReader.h"

namespace {

class HelpPage : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        m_dc = CreateCompatibleDC(nullptr);
    }
    void TearDown() override {
        DeleteDC(m_dc);
        DeviceTest::TearDown();
    }

    const HelpLayout& lay(std::u16string_view html, int width) {
        m_document = readHelpHtml(html);
        m_layout.build(m_document.blocks, m_dc, m_fonts, width, 1);
        return m_layout;
    }
    // The glyphs of a word laid out alone by the bidi layout, as the page should show them.
    std::u16string shown(std::u16string_view word) {
        const std::u16string copy(word);
        CBidiPara para;
        para.SetText(copy.c_str());
        para.Layout();
        para.Wrap(m_dc, 0);
        return para.LineGlyphs(0);
    }
    // The piece of the page whose glyphs are `glyphs`.
    const HelpPiece* piece(const std::u16string& glyphs) const {
        for (const HelpLine& line : m_layout.lines()) {
            for (const HelpPiece& p : line.pieces) {
                if (p.glyphs == glyphs)
                    return &p;
            }
        }
        return nullptr;
    }

    HDC m_dc = nullptr;
    HelpFonts m_fonts{1};
    HelpDocument m_document;
    HelpLayout m_layout;
};

TEST_F(HelpPage, ParagraphsWrapWithinThePageAndBlocksStackDownwards) {
    const HelpLayout& layout =
        lay(u"<h2>Heading</h2><p>Strokes that start on a key and leave it act as gestures, one "
            u"word after another until the line is full.</p><p>Second</p>",
            150);
    ASSERT_GT(layout.lines().size(), 4u);
    int previousBottom = 0;
    for (const HelpLine& line : layout.lines()) {
        EXPECT_GE(line.top, previousBottom);
        previousBottom = line.top + line.height;
        for (const HelpPiece& p : line.pieces) {
            EXPECT_GE(p.x, 0);
            EXPECT_LE(p.x + p.width, 150);
        }
    }
    EXPECT_EQ(layout.height(), previousBottom);
    // Headings are drawn in their own colour, a little apart from the text below.
    EXPECT_EQ(layout.lines()[0].pieces.at(0).colour, kHelpHeading);
    EXPECT_EQ(layout.lines()[1].pieces.at(0).colour, kHelpText);
    EXPECT_GT(layout.lines()[1].top, layout.lines()[0].top + layout.lines()[0].height);
}

TEST_F(HelpPage, WordWiderThanThePageIsBrokenAtItsCharacters) {
    const std::u16string word = u"Supercalifragilisticexpialidocious";
    const HelpLayout& layout = lay(u"<p>" + word + u" end</p>", 60);
    std::u16string joined;
    size_t lines = 0;
    for (const HelpLine& line : layout.lines()) {
        for (const HelpPiece& p : line.pieces) {
            EXPECT_LE(p.x + p.width, 60);
            if (p.glyphs != u"end")
                joined += p.glyphs;
        }
        ++lines;
    }
    EXPECT_EQ(joined, word);
    EXPECT_GT(lines, 3u);

    // A character beyond the 16-bit range is never cut in two between its halves, neither
    // at the page's edge nor where a very long word is laid out in parts.
    for (int count : {40, 2500}) {
        std::u16string faces = u"x";
        for (int i = 0; i < count; ++i)
            faces += u"\U0001F600";
        lay(u"<p>" + faces + u"</p>", 60);
        joined.clear();
        for (const HelpLine& line : layout.lines()) {
            for (const HelpPiece& p : line.pieces) {
                ASSERT_FALSE(p.glyphs.empty());
                ASSERT_FALSE(p.glyphs.front() >= 0xDC00 && p.glyphs.front() <= 0xDFFF);
                joined += p.glyphs;
            }
        }
        EXPECT_EQ(joined, faces);
    }
}

TEST_F(HelpPage, FarsiWordsAreShapedAndRunRightToLeftInsideALatinLine) {
    // "book" and "good": two Farsi words between Latin ones show in reverse order.
    const std::u16string book = u"\u06A9\u062A\u0627\u0628";
    const std::u16string good = u"\u062E\u0648\u0628";
    lay(u"<p>A " + book + u" " + good + u" B</p>", 220);
    ASSERT_EQ(m_layout.lines().size(), 1u);
    const HelpPiece* a = piece(u"A");
    const HelpPiece* farsiBook = piece(shown(book));
    const HelpPiece* farsiGood = piece(shown(good));
    const HelpPiece* b = piece(u"B");
    ASSERT_TRUE(a && farsiBook && farsiGood && b);
    EXPECT_NE(shown(book), book);  // shaped into presentation forms
    EXPECT_LT(a->x, farsiGood->x);
    EXPECT_LT(farsiGood->x, farsiBook->x);
    EXPECT_LT(farsiBook->x, b->x);
    EXPECT_EQ(a->x, 0);

    // A word with a zero-width non-joiner inside stays one word, right to left as a whole.
    const std::u16string halfSpaced = u"\u0645\u06CC\u200C\u0631\u0648\u0645";
    lay(u"<p>as in " + halfSpaced + u". The</p>", 220);
    const HelpPiece* word = piece(shown(halfSpaced));
    ASSERT_NE(word, nullptr);
    EXPECT_LT(piece(u"in")->x, word->x);
    EXPECT_LT(word->x, piece(u"The")->x);
}

TEST_F(HelpPage, FarsiParagraphIsRightAlignedWithLatinWordsInOrder) {
    const std::u16string farsi = u"\u06A9\u06CC\u0628\u0648\u0631\u062F";
    lay(u"<p>" + farsi + u" Kelvo Help</p>", 220);
    ASSERT_EQ(m_layout.lines().size(), 1u);
    const HelpPiece* word = piece(shown(farsi));
    const HelpPiece* kelvo = piece(u"Kelvo");
    const HelpPiece* help = piece(u"Help");
    ASSERT_TRUE(word && kelvo && help);
    // The Farsi word starts the line at the right; the Latin words keep their order left of it.
    EXPECT_EQ(word->x + word->width, 220);
    EXPECT_LT(kelvo->x, help->x);
    EXPECT_LT(help->x, word->x);

    // Paired signs in right-to-left text face as the edit control shows them.
    for (const std::u16string& quoted :
         {u"\u00AB" + farsi + u"\u00BB", u"\u2039" + farsi + u"\u203A",
          u"(" + farsi + u"\u2264)"}) {
        lay(u"<p>" + farsi + u" " + quoted + u"</p>", 220);
        EXPECT_NE(piece(shown(quoted)), nullptr);
    }
}

TEST_F(HelpPage, ListMarkersStandBeforeTheIndentAndPreformattedSpacesStay) {
    lay(u"<ul><li>item</li><ul><li>deeper</li></ul></ul><pre>   code</pre>", 200);
    const HelpPiece* item = piece(u"item");
    const HelpPiece* deeper = piece(u"deeper");
    const HelpPiece* code = piece(u"code");
    ASSERT_TRUE(item && deeper && code);
    EXPECT_EQ(item->x, 16);
    EXPECT_EQ(deeper->x, 32);
    const HelpPiece& bullet = m_layout.lines()[0].pieces.back();
    EXPECT_EQ(bullet.glyphs, u"\u2022");
    EXPECT_LT(bullet.x + bullet.width, item->x);
    // Three spaces of the code font push the text right of the preformatted indent.
    EXPECT_GT(code->x, 8 + 2 * m_fonts.face(m_dc, kRunCode, false, 0).space);
}

TEST_F(HelpPage, LinksAreFoundWhereTheirWordsAre) {
    lay(u"<p>Go <a href='#x'>there</a> now</p><p>and <a href='#y'>elsewhere</a></p>", 220);
    const HelpPiece* there = piece(u"there");
    const HelpPiece* go = piece(u"Go");
    const HelpPiece* elsewhere = piece(u"elsewhere");
    ASSERT_TRUE(there && go && elsewhere);
    EXPECT_EQ(there->colour, kHelpLink);
    const HelpLine& first = m_layout.lines()[0];
    const int middle = first.top + first.height / 2;
    EXPECT_EQ(m_layout.linkAt({there->x + there->width / 2, middle}), 0);
    EXPECT_EQ(m_layout.linkAt({go->x + 1, middle}), -1);
    const HelpLine& second = m_layout.lines()[1];
    EXPECT_EQ(m_layout.linkAt({elsewhere->x + 1, second.top + 1}), 1);
    // Between the lines, above the page, below it: nothing.
    EXPECT_EQ(m_layout.linkAt({there->x + 1, -5}), -1);
    EXPECT_EQ(m_layout.linkAt({there->x + 1, m_layout.height() + 5}), -1);
}

TEST_F(HelpPage, VeryLongLinesAreLaidOutInPartsWithoutLosingText) {
    std::u16string words;
    for (int i = 0; i < 3000; ++i)
        words += u"w\u0633 ";
    const std::u16string unbroken(9000, u'x');
    lay(u"<p>" + words + u"</p><p>" + unbroken + u"</p>", 200);
    size_t glyphs = 0;
    for (const HelpLine& line : m_layout.lines()) {
        for (const HelpPiece& p : line.pieces)
            glyphs += p.glyphs.size();
    }
    EXPECT_EQ(glyphs, 3000u * 2 + 9000u);
}

TEST_F(HelpPage, PlacesOnThePageOutliveALayoutAtAnotherWidth) {
    std::u16string html;
    for (int i = 0; i < 6; ++i)
        html += u"<p>Paragraph " + platform::fromUtf8(std::to_string(i)) +
                u" holds enough words to wrap on more than one line of a narrow page.</p>";
    lay(html, 120);
    ASSERT_FALSE(m_layout.placeAt(-1).has_value());
    // The second line of the fourth paragraph, a few pixels down into it.
    const auto second = std::find_if(m_layout.lines().begin(), m_layout.lines().end(),
                                     [](const HelpLine& l) { return l.block == 3; }) +
                        1;
    ASSERT_EQ(second->block, 3u);
    const int y = second->top + 3;
    const auto place = m_layout.placeAt(y);
    ASSERT_TRUE(place.has_value());
    EXPECT_EQ(place->block, 3u);
    EXPECT_EQ(place->line, 1u);
    EXPECT_EQ(place->offset, 3);
    // The same width puts it back exactly; the gap below a block stays with its last line.
    lay(html, 120);
    EXPECT_EQ(m_layout.topOf(*place), y);
    const auto fifth = std::find_if(m_layout.lines().begin(), m_layout.lines().end(),
                                    [](const HelpLine& l) { return l.block == 4; });
    const HelpLine& above = *(fifth - 1);
    ASSERT_GT(fifth->top, above.top + above.height);  // paragraphs stand apart
    const auto gap = m_layout.placeAt(fifth->top - 1);
    ASSERT_TRUE(gap.has_value());
    EXPECT_EQ(gap->block, 3u);
    EXPECT_EQ(m_layout.topOf(*gap), fifth->top - 1);

    // Wider, the paragraph has fewer lines: the place is at its second line if it has one,
    // else its last, and never in another paragraph.
    lay(html, 400);
    const int top = m_layout.topOf(*place);
    const auto moved = m_layout.placeAt(top);
    ASSERT_TRUE(moved.has_value());
    EXPECT_EQ(moved->block, 3u);
    EXPECT_LE(moved->line, 1u);
    // A place in a block the page no longer has is its end.
    EXPECT_EQ(m_layout.topOf(HelpPlace{99, 0, 0}), m_layout.height());
}

}  // namespace
