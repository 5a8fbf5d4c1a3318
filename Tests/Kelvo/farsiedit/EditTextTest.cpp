// The Farsi edit control's text: the window text messages and their paragraph breaks, typing,
// Backspace and Delete across paragraphs and direction boundaries, Enter, the space rules, the
// length cap and a paragraph list that grows.
#include "ClipboardText.h"
#include "EditFixture.h"

using namespace edittest;

namespace {

// Two Farsi words without a lam-alef: "ketab" and "khub".
const std::u16string kKetab = u"\u06a9\u062a\u0627\u0628";
const std::u16string kKhub = u"\u062e\u0648\u0628";

}  // namespace

TEST_F(FarsiEditTest, WindowTextSplitsParagraphsAtEachBreakAndJoinsThemWithCrLf) {
    make(FES_MULTILINE | FES_WANTRETURN);
    setText(u"a\n\rb");  // LF CR: two breaks, an empty paragraph between
    EXPECT_EQ(edit->Paragraphs().count(), 3);
    EXPECT_EQ(text(), u"a\r\n\r\nb");
    setText(u"a\r\nb\rc\u2029d");
    EXPECT_EQ(edit->Paragraphs().count(), 4);
    EXPECT_EQ(text(), u"a\r\nb\r\nc\r\nd");
    EXPECT_EQ(SendMessageW(edit->GetSafeHwnd(), WM_GETTEXTLENGTH, 0, 0), 10);
    // A break at the end keeps its empty paragraph, so the text reads back as it went in.
    setText(u"end\r\n");
    EXPECT_EQ(edit->Paragraphs().count(), 2);
    EXPECT_EQ(text(), u"end\r\n");
    // No text is one empty paragraph.
    EXPECT_TRUE(SendMessageW(edit->GetSafeHwnd(), WM_SETTEXT, 0, 0));
    EXPECT_EQ(edit->Paragraphs().count(), 1);
    EXPECT_EQ(text(), u"");
}

TEST_F(FarsiEditTest, GetTextCutsAtTheBufferEvenBetweenCrAndLf) {
    make(FES_MULTILINE | FES_WANTRETURN);
    setText(u"ab\r\ncd");
    const HWND h = edit->GetSafeHwnd();
    WCHAR buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(SendMessageW(h, WM_GETTEXT, 1, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(buffer[1], u'#');
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(SendMessageW(h, WM_GETTEXT, 4, reinterpret_cast<LPARAM>(buffer)), 3);
    EXPECT_EQ(std::u16string(buffer), u"ab\r");
    EXPECT_EQ(buffer[4], u'#');
    EXPECT_EQ(SendMessageW(h, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_EQ(buffer[4], u'#');
    // The window text calls reach the same text.
    EXPECT_EQ(GetWindowTextLengthW(h), 6);
    EXPECT_TRUE(SetWindowTextW(h, u"new"));
    EXPECT_EQ(text(), u"new");
}

TEST_F(FarsiEditTest, ATextTooLongForOneParagraphIsRefusedAndTheOldTextKept) {
    make(FES_MULTILINE | FES_WANTRETURN);
    setText(u"kept");
    const std::u16string tooLong(CBidiPara::MAX_LENGTH + 1, u'x');
    EXPECT_FALSE(SendMessageW(edit->GetSafeHwnd(), WM_SETTEXT, 0,
                              reinterpret_cast<LPARAM>(tooLong.c_str())));
    EXPECT_EQ(text(), u"kept");
}

TEST_F(FarsiEditTest, ALatinLetterTypedBetweenTwoFarsiWordsGoesAtTheCaretAndTheCaretAfterIt) {
    make(FES_MULTILINE | FES_WANTRETURN);
    setText(kKetab + u" " + kKhub);
    // The paragraph reads from the right: each Left goes one letter on in reading order.
    press(VK_LEFT, 5);
    EXPECT_EQ(caretOffset(), 5);
    type(u"x");
    EXPECT_EQ(text(), kKetab + u" x" + kKhub);
    EXPECT_EQ(caretOffset(), 6);
    // After the Latin letter in reading order: its right edge.
    EXPECT_EQ(edit->CaretIndex(), 5);
    EXPECT_EQ(edit->CaretEdge(), 1);
    type(u"y");
    EXPECT_EQ(text(), kKetab + u" xy" + kKhub);
}

TEST_F(FarsiEditTest, BackspaceAndDeleteJoinParagraphs) {
    make(FES_MULTILINE | FES_WANTRETURN);
    setText(u"ab\r\ncd");
    press(VK_DOWN);
    press(VK_HOME);
    EXPECT_EQ(caretParagraph(), 1);
    press(VK_BACK);
    EXPECT_EQ(text(), u"abcd");
    EXPECT_EQ(caretParagraph(), 0);
    EXPECT_EQ(caretOffset(), 2);  // before the first character that moved up
    type(u"-");
    EXPECT_EQ(text(), u"ab-cd");

    setText(u"ab\r\ncd\r\n\r\nef");
    press(VK_END);
    press(VK_DELETE);
    EXPECT_EQ(text(), u"abcd\r\n\r\nef");
    EXPECT_EQ(caretOffset(), 2);
    press(VK_END);
    press(VK_DELETE);  // an empty next paragraph just goes
    EXPECT_EQ(text(), u"abcd\r\nef");
    // At the document's ends nothing happens.
    press(VK_DOWN);
    press(VK_END);
    press(VK_DELETE);
    setText(u"xy");
    press(VK_BACK);
    EXPECT_EQ(text(), u"xy");
    EXPECT_EQ(beeps(), 0);
}

TEST_F(FarsiEditTest, BackspaceAtADirectionBoundaryRemovesTheCharacterBeforeTheCaretInReading) {
    make(FES_MULTILINE | FES_WANTRETURN);
    // "abc" then two Farsi letters, shown reversed at the right: a b c | beh seen.
    const std::u16string text0 = u"abc\u0633\u0628";
    setText(text0);
    // At the right end the caret stands between c and seen in reading order.
    press(VK_END);
    press(VK_RIGHT, 5);
    EXPECT_EQ(caretOffset(), 3);
    press(VK_BACK);
    EXPECT_EQ(text(), u"ab\u0633\u0628");
    // Right after c on the screen the caret stands after beh, the last letter read.
    setText(text0);
    press(VK_HOME);
    press(VK_RIGHT, 3);
    EXPECT_EQ(caretOffset(), 5);
    press(VK_BACK);
    EXPECT_EQ(text(), u"abc\u0633");
    press(VK_BACK);
    EXPECT_EQ(text(), u"abc");
}

TEST_F(FarsiEditTest, EnterSplitsAndAnEmptyParagraphKeepsTheDirectionItCameFrom) {
    make(FES_MULTILINE | FES_WANTRETURN);
    setText(kKetab);
    press(VK_END);
    press(VK_RETURN);
    ASSERT_EQ(edit->Paragraphs().count(), 2);
    EXPECT_EQ(caretParagraph(), 1);
    EXPECT_EQ(edit->Paragraphs().at(1)->baseLevel, 1);
    // Left in an empty right-to-left paragraph goes on in reading order: nothing follows.
    press(VK_LEFT);
    EXPECT_EQ(caretParagraph(), 1);
    press(VK_RIGHT);  // back to the end of the Farsi paragraph, its left end
    EXPECT_EQ(caretParagraph(), 0);
    EXPECT_EQ(caretOffset(), 4);

    setText(u"abc");
    press(VK_END);
    press(VK_RETURN);
    EXPECT_EQ(edit->Paragraphs().at(1)->baseLevel, 0);
    // Splitting in the middle moves the rest down; at the start an empty paragraph goes above.
    setText(u"abcd");
    press(VK_RIGHT, 2);
    press(VK_RETURN);
    EXPECT_EQ(text(), u"ab\r\ncd");
    EXPECT_EQ(caretParagraph(), 1);
    EXPECT_EQ(caretOffset(), 0);
    press(VK_RETURN);
    EXPECT_EQ(text(), u"ab\r\n\r\ncd");
    EXPECT_EQ(caretParagraph(), 2);

    // Set as text, an empty paragraph follows the one above it.
    setText(kKetab + u"\r\n\r\nabc\r\n");
    EXPECT_EQ(edit->Paragraphs().at(1)->baseLevel, 1);
    EXPECT_EQ(edit->Paragraphs().at(3)->baseLevel, 0);
}

TEST_F(FarsiEditTest, TypedLineBreaksMakeParagraphsAndControlCharactersTypeNothing) {
    make(FES_MULTILINE | FES_WANTRETURN);
    // CR LF typed as two characters is one break; a LF alone and U+2029 are breaks too.
    type(u"a\r\nb\nc\u2029d");
    EXPECT_EQ(text(), u"a\r\nb\r\nc\r\nd");
    type(u"\x01\x1b\x7f");
    EXPECT_EQ(text(), u"a\r\nb\r\nc\r\nd");
    type(u"\t");  // a tab types a space
    EXPECT_EQ(text(), u"a\r\nb\r\nc\r\nd ");
}

TEST_F(FarsiEditTest, AKeyboardSpaceAndAnInputPanelSpaceEachTypeOneSpace) {
    make(FES_MULTILINE | FES_WANTRETURN);
    const HWND h = edit->GetSafeHwnd();
    // A keyboard: WM_CHAR carries the key's flags, then the key-up.
    SendMessageW(h, WM_CHAR, u' ', 0x00390001);
    SendMessageW(h, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001u));
    EXPECT_EQ(text(), u" ");
    // An input panel: WM_CHAR without key flags, then the key-up types it.
    SendMessageW(h, WM_CHAR, u' ', 0);
    EXPECT_EQ(text(), u" ");
    SendMessageW(h, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0000001u));
    EXPECT_EQ(text(), u"  ");
    // The device's own keys: down, translated, up.
    press(VK_SPACE);
    EXPECT_EQ(text(), u"   ");
    // A space key that sends no character types its space as it comes up.
    SendMessageW(h, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0000001u));
    EXPECT_EQ(text(), u"    ");
    // A keyboard's key held down repeats its character; the one key-up adds nothing.
    SendMessageW(h, WM_CHAR, u' ', 0x00390001);
    SendMessageW(h, WM_CHAR, u' ', 0x40390001);
    SendMessageW(h, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001u));
    EXPECT_EQ(text(), u"      ");
}

TEST_F(FarsiEditTest, AnInputPanelsEnterKeyWithItsCharacterMakesOneParagraph) {
    make(FES_MULTILINE | FES_WANTRETURN);
    type(u"a");
    // As the host delivers the panel's Enter: the key (making no character), CR, the key-up.
    ASSERT_TRUE(device::keyDown(VK_RETURN, 0, device::kKeyNoCharacter));
    ASSERT_TRUE(device::typeChar(u'\r', 0));
    ASSERT_TRUE(device::keyUp(VK_RETURN));
    pump();
    EXPECT_EQ(text(), u"a\r\n");
    // A keyboard's Enter, then a CR typed as text (a macro's line break): one each.
    press(VK_RETURN);
    type(u"\r");
    EXPECT_EQ(text(), u"a\r\n\r\n\r\n");
}

TEST_F(FarsiEditTest, AParagraphNeverPassesTheLayoutsCapAndARefusedEditLosesNothing) {
    // Without wrapping, so that the long paragraph lays out quickly.
    make(FES_MULTILINE | FES_WANTRETURN | FES_HSCROLL);
    const std::u16string full(CBidiPara::MAX_LENGTH, u'a');
    setText(full);
    press(VK_END);
    type(u"b");
    EXPECT_EQ(beeps(), 1);
    EXPECT_EQ(text().size(), full.size());
    ASSERT_TRUE(testsupport::putTextOnClipboard(u"xy"));
    pressControl('V');
    EXPECT_EQ(beeps(), 2);
    EXPECT_EQ(text().size(), full.size());
    // Joining two paragraphs that together would be too long is refused too.
    setText(std::u16string(CBidiPara::MAX_LENGTH - 2, u'a') + u"\r\nbbb");
    press(VK_DOWN);
    press(VK_HOME);
    press(VK_BACK);
    EXPECT_EQ(beeps(), 3);
    EXPECT_EQ(edit->Paragraphs().count(), 2);
    // A selection replaced by a typed character frees its room first.
    edit->SelectRange(0, 0, 0, 4);
    type(u"c");
    EXPECT_EQ(beeps(), 3);
    EXPECT_EQ(edit->Paragraphs().at(0)->length, CBidiPara::MAX_LENGTH - 6);
}

TEST_F(FarsiEditTest, TheParagraphListGrowsPastAHundred) {
    make(FES_MULTILINE | FES_WANTRETURN);
    std::u16string many;
    for (int i = 0; i < 150; ++i)
        many += u"p\r\n";
    setText(many);
    EXPECT_EQ(edit->Paragraphs().count(), 151);
    EXPECT_EQ(text(), many);
    press(VK_NEXT, 40);
    press(VK_RETURN, 30);
    EXPECT_EQ(edit->Paragraphs().count(), 181);
    for (int i = 0; i < edit->Paragraphs().count(); ++i)
        ASSERT_EQ(edit->Paragraphs().at(i)->paraIndex, i);
    EXPECT_EQ(beeps(), 0);
}

TEST_F(FarsiEditTest, SurrogatePairsAreNeverSplitByTheCaretOrTheEdits) {
    make(FES_MULTILINE | FES_WANTRETURN);
    setText(u"a\U0001F600b");
    std::vector<int> offsets{caretOffset()};
    for (int i = 0; i < 4; ++i) {
        press(VK_RIGHT);
        offsets.push_back(caretOffset());
    }
    EXPECT_EQ(offsets, (std::vector<int>{0, 1, 3, 4, 4}));
    press(VK_LEFT);
    press(VK_BACK);  // the whole pair
    EXPECT_EQ(text(), u"ab");
    setText(u"a\U0001F600b");
    press(VK_RIGHT);
    press(VK_DELETE);
    EXPECT_EQ(text(), u"ab");
    // A tap anywhere over the pair puts the caret beside it, never inside.
    setText(u"\U0001F600\U0001F600\U0001F600");
    for (int x = 0; x < kWidth; x += 2) {
        tap(x, 8);
        EXPECT_EQ(caretOffset() % 2, 0) << x;
    }
}

TEST_F(FarsiEditTest, TheTextLimitRefusesWhatWouldPassItAndNeverSplitsASurrogatePair) {
    make(FES_MULTILINE | FES_WANTRETURN);
    edit->SetLimitText(6);
    type(u"abcdefg");
    EXPECT_EQ(text(), u"abcdef");
    EXPECT_EQ(beeps(), 1);
    // The window text messages set any text; typing then stays refused.
    setText(u"ab\r\ncd");  // six characters with the break's CR LF
    press(VK_END);
    type(u"e");
    press(VK_RETURN);
    EXPECT_EQ(text(), u"ab\r\ncd");
    EXPECT_EQ(beeps(), 3);
    // A selection replaced frees its room first; a paste that would pass the limit changes
    // nothing.
    edit->SelectRange(1, 0, 1, 1);
    ASSERT_TRUE(testsupport::putTextOnClipboard(u"xyz"));
    pressControl('V');
    EXPECT_EQ(beeps(), 4);
    EXPECT_EQ(text(), u"ab\r\ncd");
    ASSERT_TRUE(testsupport::putTextOnClipboard(u"xy"));
    pressControl('V');
    EXPECT_EQ(text(), u"ab\r\nxy");
    // One unit left: the first half of a pair is refused rather than typed alone.
    setText(u"abcde");
    press(VK_END);
    type(u"\U0001F600");
    EXPECT_EQ(text(), u"abcde");
    EXPECT_EQ(beeps(), 5);
    edit->SetLimitText(0);
    type(u"\U0001F600");
    EXPECT_EQ(text(), u"abcde\U0001F600");
}
