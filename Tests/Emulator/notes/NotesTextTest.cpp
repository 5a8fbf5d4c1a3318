// Notes' text model: splitting and joining at line breaks, WM_GETTEXT's cut-off copy, the
// edits and what they report to the layout, surrogate pairs, and full paragraphs.
#include <gtest/gtest.h>

#include <string>

#include "programs/NotesText.h"

namespace {

std::u16string paragraphs(const NotesText& t) {
    std::u16string out;
    for (int i = 0; i < t.paragraphCount(); ++i)
        out += u"[" + t.paragraph(i) + u"]";
    return out;
}

void type(NotesText& t, std::u16string_view s) {
    for (char16_t c : s)
        ASSERT_EQ(t.insertChar(c), EditResult::Changed);
}

bool same(const TextChange& a, const TextChange& b) {
    return a.first == b.first && a.removed == b.removed && a.inserted == b.inserted;
}

}  // namespace

TEST(NotesText, SetTextSplitsAtEveryBreakAndTextJoinsWithCrLf) {
    NotesText t;
    EXPECT_EQ(paragraphs(t), u"[]");
    EXPECT_EQ(t.textLength(), 0u);

    ASSERT_EQ(t.setText(u"one\r\ntwo\nthree\rfour\u2029five"), EditResult::Changed);
    EXPECT_EQ(paragraphs(t), u"[one][two][three][four][five]");
    EXPECT_EQ(t.text(), u"one\r\ntwo\r\nthree\r\nfour\r\nfive");
    EXPECT_EQ(t.textLength(), t.text().size());

    // LF CR is two breaks; a trailing break leaves an empty last paragraph.
    ASSERT_EQ(t.setText(u"a\n\rb\r\n"), EditResult::Changed);
    EXPECT_EQ(paragraphs(t), u"[a][][b][]");
    EXPECT_EQ(t.caret(), (TextPosition{0, 0}));

    // The text ends at a NUL, as a WM_SETTEXT string does.
    ASSERT_EQ(t.setText(std::u16string_view(u"ab\0cd", 5)), EditResult::Changed);
    EXPECT_EQ(paragraphs(t), u"[ab]");
    t.setCaret(TextPosition{0, 1});
    EXPECT_EQ(t.insertChar(0), EditResult::Refused);
    EXPECT_EQ(paragraphs(t), u"[ab]");
}

TEST(NotesText, CopyTextCutsAtTheBufferAndAlwaysEndsWithNul) {
    NotesText t;
    t.setText(u"ab\r\ncd");
    WCHAR buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(t.copyText(buffer, 8), 6u);
    EXPECT_EQ(std::u16string(buffer), u"ab\r\ncd");

    // Room for three: the copy stops between CR and LF.
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(t.copyText(buffer, 4), 3u);
    EXPECT_EQ(std::u16string(buffer), u"ab\r");
    EXPECT_EQ(buffer[4], u'#');  // nothing written past the buffer size given

    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(t.copyText(buffer, 1), 0u);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(buffer[1], u'#');
    EXPECT_EQ(t.copyText(buffer, 0), 0u);
    EXPECT_EQ(buffer[1], u'#');
    EXPECT_EQ(t.copyText(nullptr, 8), 0u);
}

TEST(NotesText, TypingEnterBackspaceAndDeleteEditAtTheCaretAndReportTheParagraphs) {
    NotesText t;
    TextChange change;
    type(t, u"abc");
    EXPECT_EQ(t.caret(), (TextPosition{0, 3}));

    t.setCaret(TextPosition{0, 1});
    ASSERT_EQ(t.insertChar(u'\r', &change), EditResult::Changed);  // Enter splits
    EXPECT_EQ(paragraphs(t), u"[a][bc]");
    EXPECT_TRUE(same(change, TextChange{0, 1, 2}));
    EXPECT_EQ(t.caret(), (TextPosition{1, 0}));

    ASSERT_EQ(t.backspace(&change), EditResult::Changed);  // at a paragraph's start: joins
    EXPECT_EQ(paragraphs(t), u"[abc]");
    EXPECT_TRUE(same(change, TextChange{0, 2, 1}));
    EXPECT_EQ(t.caret(), (TextPosition{0, 1}));

    ASSERT_EQ(t.backspace(&change), EditResult::Changed);
    EXPECT_EQ(paragraphs(t), u"[bc]");
    EXPECT_TRUE(same(change, TextChange{0, 1, 1}));
    EXPECT_EQ(t.backspace(), EditResult::Unchanged);  // the start of the text
    EXPECT_EQ(paragraphs(t), u"[bc]");

    ASSERT_EQ(t.deleteForward(&change), EditResult::Changed);
    EXPECT_EQ(paragraphs(t), u"[c]");
    EXPECT_EQ(t.caret(), (TextPosition{0, 0}));

    t.setText(u"x\r\ny");
    t.setCaret(TextPosition{0, 1});
    ASSERT_EQ(t.deleteForward(&change), EditResult::Changed);  // at a paragraph's end: joins
    EXPECT_EQ(paragraphs(t), u"[xy]");
    EXPECT_TRUE(same(change, TextChange{0, 2, 1}));
    t.setCaret(TextPosition{0, 2});
    EXPECT_EQ(t.deleteForward(), EditResult::Unchanged);  // the end of the text

    // Enter at the end makes an empty paragraph after; at the start, the text moves down.
    ASSERT_EQ(t.newParagraph(&change), EditResult::Changed);
    EXPECT_EQ(paragraphs(t), u"[xy][]");
    t.setCaret(TextPosition{0, 0});
    ASSERT_EQ(t.newParagraph(), EditResult::Changed);
    EXPECT_EQ(paragraphs(t), u"[][xy][]");
    EXPECT_EQ(t.text(), u"\r\nxy\r\n");
}

TEST(NotesText, SurrogatePairsAreOneCharacterToTheCaretAndTheEdits) {
    NotesText t;
    const std::u16string pair = u"\U0001F600";
    t.setText(u"a" + pair + u"b");
    t.setCaret(TextPosition{0, 2});  // inside the pair: moved before it
    EXPECT_EQ(t.caret(), (TextPosition{0, 1}));
    EXPECT_EQ(t.nextPosition(TextPosition{0, 1}), (TextPosition{0, 3}));
    EXPECT_EQ(t.previousPosition(TextPosition{0, 3}), (TextPosition{0, 1}));

    t.setCaret(TextPosition{0, 3});
    ASSERT_EQ(t.backspace(), EditResult::Changed);
    EXPECT_EQ(t.text(), u"ab");
    t.setText(u"a" + pair + u"b");
    t.setCaret(TextPosition{0, 1});
    ASSERT_EQ(t.deleteForward(), EditResult::Changed);
    EXPECT_EQ(t.text(), u"ab");

    // Lone halves that an edit brings together: the caret never ends up between them.
    const char16_t high = 0xD83D;
    const char16_t low = 0xDE00;
    t.setText(std::u16string{u'x', low});
    t.setCaret(TextPosition{0, 1});
    ASSERT_EQ(t.insertChar(high), EditResult::Changed);
    EXPECT_EQ(t.caret(), (TextPosition{0, 3}));
    t.setText(std::u16string{high, u'-', low});
    t.setCaret(TextPosition{0, 2});
    ASSERT_EQ(t.backspace(), EditResult::Changed);
    EXPECT_EQ(t.caret(), (TextPosition{0, 0}));
    t.setText(std::u16string{high, u'\r', u'\n', low});
    t.setCaret(TextPosition{0, 1});
    ASSERT_EQ(t.deleteForward(), EditResult::Changed);  // joins the paragraphs into a pair
    EXPECT_EQ(t.caret(), (TextPosition{0, 0}));
}

TEST(NotesText, PositionsStepAcrossParagraphsAndStopAtTheEnds) {
    NotesText t;
    t.setText(u"ab\r\n\r\nc");
    EXPECT_EQ(t.nextPosition(TextPosition{0, 2}), (TextPosition{1, 0}));
    EXPECT_EQ(t.nextPosition(TextPosition{1, 0}), (TextPosition{2, 0}));
    EXPECT_EQ(t.nextPosition(TextPosition{2, 1}), (TextPosition{2, 1}));
    EXPECT_EQ(t.previousPosition(TextPosition{2, 0}), (TextPosition{1, 0}));
    EXPECT_EQ(t.previousPosition(TextPosition{1, 0}), (TextPosition{0, 2}));
    EXPECT_EQ(t.previousPosition(TextPosition{0, 0}), (TextPosition{0, 0}));
    // Out-of-range positions are clamped into the text.
    EXPECT_EQ(t.clamp(TextPosition{7, 9}), (TextPosition{2, 1}));
    EXPECT_EQ(t.clamp(TextPosition{-3, -1}), (TextPosition{0, 0}));
}

TEST(NotesText, AFullParagraphRefusesMoreAndLosesNothing) {
    NotesText t;
    const std::u16string full(NotesText::kMaxParagraphLength, u'x');
    ASSERT_EQ(t.setText(full + u"\r\nyz"), EditResult::Changed);
    t.setCaret(TextPosition{0, 5});
    EXPECT_EQ(t.insertChar(u'a'), EditResult::Refused);
    EXPECT_EQ(t.paragraph(0), full);
    EXPECT_EQ(t.caret(), (TextPosition{0, 5}));

    // Joining the next paragraph would overfill it: refused both ways.
    t.setCaret(TextPosition{0, NotesText::kMaxParagraphLength});
    EXPECT_EQ(t.deleteForward(), EditResult::Refused);
    t.setCaret(TextPosition{1, 0});
    EXPECT_EQ(t.backspace(), EditResult::Refused);
    EXPECT_EQ(t.paragraphCount(), 2);
    EXPECT_EQ(t.paragraph(1), u"yz");

    // A text with a longer paragraph is refused whole; the old text stays.
    EXPECT_EQ(t.setText(full + u"!"), EditResult::Refused);
    EXPECT_EQ(t.paragraph(1), u"yz");
    EXPECT_EQ(t.caret(), (TextPosition{1, 0}));
}
