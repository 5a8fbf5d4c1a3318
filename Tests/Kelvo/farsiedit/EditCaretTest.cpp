// The Farsi edit control's caret: Left and Right walk a mixed line visually, one position at a
// time with none skipped or met twice (checked over generated texts), Up and Down keep the
// caret's x, the page keys move by a page and keep the caret's row, Home and End.
#include <random>
#include <set>
#include <sstream>

#include "ClipboardText.h"
#include "EditFixture.h"

using namespace edittest;

namespace {

// Pieces of mixed text that make no ligature, no mark and no glyph-less character, so every
// logical offset is one place on the line.
const std::u16string kPieces[] = {
    u"abc",
    u"Kelvo",
    u"x",
    u"\u06a9\u062a\u0627\u0628",
    u"\u062e\u0648\u0628",
    u"\u0633",
    u"123",
    u"45",
    u"\u06f1\u06f2\u06f3",
    u"\u0661\u0662",
    u" ",
    u"  ",
    u",",
    u".",
    u"-",
    u"(",
    u")",
    u":",
    u"\u0628\u0633\u062a",
    u"%",
    u"\u061f",
    u"\u060c",
};

std::u16string mixedLine(std::mt19937& random) {
    std::uniform_int_distribution<size_t> piece(0, std::size(kPieces) - 1);
    std::uniform_int_distribution<int> count(1, 7);
    std::u16string line;
    for (int n = count(random); n > 0; --n)
        line += kPieces[piece(random)];
    return line;
}

std::string describe(const std::u16string& s) {
    std::ostringstream out;
    out << std::hex;
    for (char16_t c : s)
        out << static_cast<unsigned>(c) << ' ';
    return out.str();
}

}  // namespace

TEST_F(FarsiEditTest, LeftAndRightWalkMixedLinesVisuallyMeetingEveryPositionOnce) {
    // Wide enough that no generated line wraps.
    make(FES_MULTILINE | FES_WANTRETURN, 1000, 40);
    std::mt19937 random(20261209);
    for (int round = 0; round < 150; ++round) {
        const std::u16string line = mixedLine(random);
        setText(line);
        SCOPED_TRACE(describe(line));
        ASSERT_EQ(edit->Paragraphs().at(0)->lineCount, 1);
        // To the right end first.
        for (size_t i = 0; i <= line.size(); ++i)
            command(ID_FE_RIGHT);
        std::set<int> seen{caretOffset()};
        int x = caretPos().x;
        for (size_t i = 0; i < line.size(); ++i) {
            command(ID_FE_LEFT);
            const int offset = caretOffset();
            ASSERT_TRUE(seen.insert(offset).second) << "offset " << offset << " met twice";
            ASSERT_LT(caretPos().x, x) << "at offset " << offset;
            x = caretPos().x;
        }
        EXPECT_EQ(seen.size(), line.size() + 1);
        // At the left end Left goes nowhere; Right walks the same places back.
        command(ID_FE_LEFT);
        EXPECT_EQ(caretPos().x, x);
        for (size_t i = 0; i < line.size(); ++i) {
            command(ID_FE_RIGHT);
            ASSERT_GT(caretPos().x, x);
            x = caretPos().x;
        }
    }
}

TEST_F(FarsiEditTest, LeftAndRightCrossLinesAndParagraphsInReadingOrder) {
    make(FES_MULTILINE | FES_WANTRETURN);
    setText(u"ab\r\n\u0633\u0628");
    press(VK_END);
    EXPECT_EQ(caretOffset(), 2);
    // From the end of the Latin paragraph on to the start of the Farsi one, its right end.
    press(VK_RIGHT);
    EXPECT_EQ(caretParagraph(), 1);
    EXPECT_EQ(caretOffset(), 0);
    const int rightEnd = caretPos().x;
    press(VK_LEFT, 2);
    EXPECT_EQ(caretOffset(), 2);
    EXPECT_LT(caretPos().x, rightEnd);
    // The Farsi paragraph's end is the document's end.
    press(VK_LEFT);
    EXPECT_EQ(caretParagraph(), 1);
    EXPECT_EQ(caretOffset(), 2);
    // Right from its start goes back to the Latin paragraph's end.
    press(VK_RIGHT, 3);
    EXPECT_EQ(caretParagraph(), 0);
    EXPECT_EQ(caretOffset(), 2);
    // A lam-alef is one glyph and one step.
    setText(kSalam);
    press(VK_LEFT);
    EXPECT_EQ(caretOffset(), 1);
    press(VK_LEFT);
    EXPECT_EQ(caretOffset(), 3);
}

TEST_F(FarsiEditTest, UpAndDownKeepTheCaretsXAndStopAtTheEnds) {
    make(FES_MULTILINE | FES_WANTRETURN | FES_LEFT);
    setText(u"mmmm\r\nmmmm\r\nm");
    press(VK_RIGHT, 3);
    const POINT start = caretPos();
    press(VK_DOWN);
    EXPECT_EQ(caretParagraph(), 1);
    EXPECT_EQ(caretOffset(), 3);
    EXPECT_EQ(caretPos().x, start.x);
    EXPECT_EQ(caretPos().y, start.y + edit->LineHeight());
    press(VK_DOWN);  // a short line: its nearest place, its end
    EXPECT_EQ(caretParagraph(), 2);
    EXPECT_EQ(caretOffset(), 1);
    press(VK_DOWN);
    EXPECT_EQ(caretParagraph(), 2);
    press(VK_UP, 5);
    EXPECT_EQ(caretParagraph(), 0);
    EXPECT_EQ(caretOffset(), 1);

    // Wrapped lines of one paragraph count as lines too.
    setText(u"aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk llll mmmm nnnn oooo pppp");
    ASSERT_GT(edit->Paragraphs().at(0)->lineCount, 2);
    press(VK_DOWN);
    EXPECT_EQ(caretPos().y, start.y + edit->LineHeight());
    EXPECT_GT(caretOffset(), 0);
}

TEST_F(FarsiEditTest, PageKeysMoveByAPageKeepingTheCaretsRowAndCollapseAtTheEnds) {
    make(FES_MULTILINE | FES_WANTRETURN);
    std::u16string lines;
    for (int i = 0; i < 40; ++i)
        lines += u"line\r\n";
    setText(lines + u"last");
    const int visible = edit->InnerRect().Height() / edit->LineHeight();
    ASSERT_GT(visible, 2);
    press(VK_DOWN, 2);
    const int row = caretPos().y;
    press(VK_NEXT);
    EXPECT_EQ(caretParagraph(), 2 + visible - 1);
    EXPECT_EQ(edit->TopLine(), visible - 1);
    EXPECT_EQ(caretPos().y, row);
    press(VK_PRIOR);
    EXPECT_EQ(caretParagraph(), 2);
    EXPECT_EQ(edit->TopLine(), 0);
    EXPECT_EQ(caretPos().y, row);
    // At the first line Page Up only collapses the selection.
    press(VK_UP, 2);
    edit->SelectRange(0, 0, 3, -1);
    command(ID_FE_PAGEUP);
    EXPECT_EQ(edit->SelectedText(), u"");
    press(VK_NEXT, 20);
    EXPECT_EQ(caretParagraph(), 40);
    EXPECT_TRUE(caretShown());
}

TEST_F(FarsiEditTest, HomeAndEndGoToTheLinesReadingStartAndEnd) {
    make(FES_MULTILINE | FES_WANTRETURN);
    setText(u"abc");
    press(VK_END);
    EXPECT_EQ(caretOffset(), 3);
    press(VK_HOME);
    EXPECT_EQ(caretOffset(), 0);
    // A Farsi line ending in a lam-alef: End goes after the alef.
    setText(u"\u0633\u0628 \u0644\u0627");
    press(VK_END);
    EXPECT_EQ(caretOffset(), 5);
    const int endX = caretPos().x;
    press(VK_HOME);
    EXPECT_EQ(caretOffset(), 0);
    EXPECT_GT(caretPos().x, endX);  // read from the right
}

TEST_F(FarsiEditTest, EditsRelayOutOnlyWhatChangedYetMatchAFullLayoutAndResizingWrapsAgain) {
    make(FES_MULTILINE | FES_WANTRETURN, 120, 200);
    CFarsiEdit fresh;
    ASSERT_TRUE(fresh.Create(WS_CHILD | FES_MULTILINE | FES_WANTRETURN, RECT{10, 10, 130, 210},
                             &hostWnd, 2));
    auto same = [&](const char* step) {
        const std::u16string all = text();
        SendMessageW(fresh.GetSafeHwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(all.c_str()));
        ASSERT_EQ(edit->TotalLines(), fresh.TotalLines()) << step;
        const ParaList& a = edit->Paragraphs();
        const ParaList& b = fresh.Paragraphs();
        ASSERT_EQ(a.count(), b.count()) << step;
        for (int i = 0; i < a.count(); ++i) {
            ASSERT_EQ(a.at(i)->firstLine, b.at(i)->firstLine) << step << " paragraph " << i;
            ASSERT_EQ(a.at(i)->LineGlyphs(0), b.at(i)->LineGlyphs(0)) << step << " paragraph " << i;
            ASSERT_EQ(a.at(i)->lineCount, b.at(i)->lineCount) << step << " paragraph " << i;
        }
    };
    type(u"one two three four five six seven");
    same("typed a wrapping line");
    type(u"\r" + std::u16string(kSalam) + u" " + std::u16string(kDonya) + u"\r\rsix");
    same("typed paragraphs");
    press(VK_UP);
    press(VK_BACK);  // joins the empty paragraph up
    same("joined");
    press(VK_UP, 3);
    press(VK_END);
    type(u" eight nine ten eleven");
    same("grew the first paragraph");
    edit->SelectRange(0, 4, 1, 2);
    type(u"x");
    same("replaced a selection across paragraphs");
    ASSERT_TRUE(testsupport::putTextOnClipboard(u"alpha beta\r\ngamma delta epsilon\r\n"));
    pressControl('V');
    same("pasted paragraphs");

    const int lines = edit->TotalLines();
    MoveWindow(edit->GetSafeHwnd(), 10, 10, 220, 200, TRUE);
    pump();
    press(VK_RIGHT);
    EXPECT_LT(edit->TotalLines(), lines);
    MoveWindow(edit->GetSafeHwnd(), 10, 10, 120, 200, TRUE);
    pump();
    press(VK_LEFT);
    EXPECT_EQ(edit->TotalLines(), lines);
    same("narrowed again");
}
