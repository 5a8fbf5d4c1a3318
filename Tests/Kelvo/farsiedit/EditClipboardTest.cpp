// The Farsi edit control's clipboard and its modes: copy across paragraphs, cut, paste (an
// empty clipboard, a block without a terminator, a single-line control), the tap-and-hold menu,
// the stylus selecting, digits only, read-only forwarding, and select all on focus.
#include <device/Clock.h>
#include <winbase_memory.h>

#include "ClipboardText.h"
#include "EditFixture.h"

using namespace edittest;

namespace {

// A control that records the states of its popup menu's items as the menu opens, then taps
// outside the menu to close it, or on one of its items.
class MenuProbe : public CFarsiEdit {
public:
    std::vector<UINT> states;
    int chooseItem = -1;  // -1: dismiss

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_INITMENUPOPUP) {
            HMENU menu = reinterpret_cast<HMENU>(wParam);
            for (int i = 0; i < GetMenuItemCount(menu); ++i)
                states.push_back(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION));
            ::PostMessageW(m_hWnd, WM_APP, 0, 0);
        } else if (message == WM_APP) {
            HWND menuWindow = FindWindowW(u"#32768", nullptr);
            RECT r{};
            ::GetWindowRect(menuWindow, &r);
            // The stylus held for the menu comes up first; then the tap.
            device::stylusUp(r.left - 1, r.top - 1);
            if (chooseItem < 0) {
                device::stylusDown(1, 1);
                device::stylusUp(1, 1);
            } else {
                const int y = r.top + 1 + (r.bottom - r.top - 2) * (2 * chooseItem + 1) / 12;
                device::stylusDown(r.left + 10, y);
                device::stylusUp(r.left + 10, y);
            }
        }
        return CFarsiEdit::WindowProc(message, wParam, lParam);
    }
};

}  // namespace

TEST_F(FarsiEditTest, ACopyAcrossTwoParagraphsPutsCrLfBetweenThem) {
    make(FES_MULTILINE | FES_WANTRETURN);
    setText(u"ab\r\ncd");
    edit->SelectRange(0, 1, 1, 0);
    EXPECT_EQ(edit->SelectedText(), u"b\r\nc");
    pressControl('C');
    EXPECT_EQ(clipboardText(), u"b\r\nc");
    EXPECT_EQ(text(), u"ab\r\ncd");
    // Cut copies and removes; the paragraphs join.
    pressControl('X');
    EXPECT_EQ(clipboardText(), u"b\r\nc");
    EXPECT_EQ(text(), u"ad");
    EXPECT_EQ(caretOffset(), 1);
    // Paste brings it back where the caret is, the caret after it.
    pressControl('V');
    EXPECT_EQ(text(), u"ab\r\ncd");
    EXPECT_EQ(caretParagraph(), 1);
    EXPECT_EQ(caretOffset(), 1);
    // Without a selection copy and cut leave the clipboard alone.
    ASSERT_TRUE(testsupport::putTextOnClipboard(u"kept"));
    pressControl('C');
    pressControl('X');
    EXPECT_EQ(clipboardText(), u"kept");
    EXPECT_EQ(text(), u"ab\r\ncd");
}

TEST_F(FarsiEditTest, PasteReplacesTheSelectionAndAnEmptyClipboardChangesNothing) {
    make(FES_MULTILINE | FES_WANTRETURN);
    setText(u"hello world");
    emptyClipboard();
    pressControl('V');
    EXPECT_EQ(text(), u"hello world");
    EXPECT_EQ(beeps(), 0);
    ASSERT_TRUE(testsupport::putTextOnClipboard(u"one\r\ntwo\r\n"));
    edit->SelectRange(0, 0, 0, 4);
    pressControl('V');
    EXPECT_EQ(text(), u"one\r\ntwo\r\n world");
    EXPECT_EQ(caretParagraph(), 2);
    EXPECT_EQ(caretOffset(), 0);
    // A block another program left without a terminator is read only as far as it reaches.
    ASSERT_TRUE(testsupport::putTextOnClipboard(u"xyz", nullptr, testsupport::Terminator::Without));
    setText(u"");
    pressControl('V');
    EXPECT_EQ(text(), u"xyz");
    // Read-only: no paste.
    edit->ModifyStyle(FES_READONLY, 0);
    pressControl('V');
    EXPECT_EQ(text(), u"xyz");
}

TEST_F(FarsiEditTest, ASingleLineControlLeavesEnterToTheDialogAndPastesOneLine) {
    make(FES_LEFT);
    type(u"ab");
    press(VK_RETURN);
    EXPECT_EQ(text(), u"ab");
    ASSERT_TRUE(testsupport::putTextOnClipboard(u"cd\r\nef"));
    pressControl('V');
    EXPECT_EQ(text(), u"abcd");
    EXPECT_EQ(edit->Paragraphs().count(), 1);
    // A text set with breaks keeps only its first paragraph.
    setText(u"one\r\ntwo");
    EXPECT_EQ(text(), u"one");
}

TEST_F(FarsiEditTest, DigitsOnlyTakesLatinFarsiAndArabicDigits) {
    make(FES_DIGITSONLY | FES_LEFT);
    type(u"1\u0633a\u06f5 \u0662-9");
    EXPECT_EQ(text(), u"1\u06f5\u06629");
}

TEST_F(FarsiEditTest, AReadOnlyControlForwardsTypedCharactersToItsParent) {
    make(FES_READONLY | FES_FORWARDCHARS | FES_MULTILINE | FES_WANTRETURN);
    type(u"a\u0633\b\r");
    EXPECT_EQ(text(), u"");
    ASSERT_EQ(hostLog().chars.size(), 2u);
    EXPECT_EQ(hostLog().chars[0], (std::pair<WPARAM, LPARAM>{u'a', kForwardedCharMark}));
    EXPECT_EQ(hostLog().chars[1], (std::pair<WPARAM, LPARAM>{0x0633, kForwardedCharMark}));
    // Without the forwarding bit, typing does nothing at all.
    make(FES_READONLY | FES_MULTILINE);
    setText(u"fixed");
    type(u"x");
    press(VK_DELETE);
    EXPECT_EQ(text(), u"fixed");
    EXPECT_EQ(hostLog().chars.size(), 2u);
}

TEST_F(FarsiEditTest, ASingleLineControlSelectsAllWhenItGetsTheFocus) {
    make(FES_LEFT);
    setText(u"hello");
    EXPECT_EQ(edit->SelectedText(), u"");
    SetFocus(host);
    SetFocus(edit->GetSafeHwnd());
    pump();
    EXPECT_EQ(edit->SelectedText(), u"hello");
    type(u"x");  // typing replaces it
    EXPECT_EQ(text(), u"x");
    // A multi-line control keeps its caret.
    make(FES_MULTILINE);
    setText(u"hello");
    SetFocus(host);
    SetFocus(edit->GetSafeHwnd());
    EXPECT_EQ(edit->SelectedText(), u"");
}

TEST_F(FarsiEditTest, TheStylusPlacesTheCaretSelectsByDraggingAndByDoubleTapping) {
    make(FES_MULTILINE | FES_WANTRETURN | FES_LEFT);
    setText(u"mmmm mmmm mmmm");
    const CRect inner = edit->InnerRect();
    const int y = inner.top + 5;
    tap(inner.left + 1, y);
    EXPECT_EQ(caretOffset(), 0);
    // A drag from the start to the middle selects what it passed.
    POINT from{inner.left + 1, y};
    POINT to{inner.left + 60, y};
    ClientToScreen(edit->GetSafeHwnd(), &from);
    ClientToScreen(edit->GetSafeHwnd(), &to);
    device::stylusDown(from.x, from.y);
    device::stylusMove(from.x + 20, from.y);
    device::stylusMove(to.x, to.y);
    device::stylusUp(to.x, to.y);
    pump();
    EXPECT_FALSE(edit->SelectedText().empty());
    EXPECT_EQ(edit->AnchorIndex(), 0);
    // A double tap selects the word under it.
    device::advanceClock(1000);
    POINT word{inner.left + 60, y};
    ClientToScreen(edit->GetSafeHwnd(), &word);
    for (int i = 0; i < 2; ++i) {
        device::stylusDown(word.x, word.y);
        device::stylusUp(word.x, word.y);
    }
    pump();
    EXPECT_EQ(edit->SelectedText(), u"mmmm");
    EXPECT_EQ(caretOffset(), 9);
}

TEST_F(FarsiEditTest, ATapAndHoldOutsideTheSelectionMovesTheCaretAndGraysItsCommands) {
    auto probe = std::make_unique<MenuProbe>();
    MenuProbe* menu = probe.get();
    edit = std::move(probe);
    const RECT r{10, 10, 10 + kWidth, 10 + kHeight};
    ASSERT_TRUE(edit->Create(WS_CHILD | WS_VISIBLE | FES_MULTILINE | FES_LEFT, r, &hostWnd, 1));
    SetFocus(edit->GetSafeHwnd());
    pump();
    setText(u"hello world");
    // Over the "r" of "world".
    edit->SelectRange(0, 8, 0, 8);
    POINT held{caretPos().x - 2, caretPos().y + 5};
    edit->SelectRange(0, 0, 0, 4);
    emptyClipboard();
    // Held over "world": the menu opens with Cut, Copy, Delete and Paste grayed.
    ClientToScreen(edit->GetSafeHwnd(), &held);
    device::stylusDown(held.x, held.y);
    pump();
    ASSERT_EQ(menu->states.size(), 6u);
    EXPECT_TRUE(menu->states[0] & MF_GRAYED);  // Cut
    EXPECT_TRUE(menu->states[1] & MF_GRAYED);  // Copy
    EXPECT_TRUE(menu->states[2] & MF_GRAYED);  // Paste: the clipboard is empty
    EXPECT_TRUE(menu->states[3] & MF_GRAYED);  // Delete
    EXPECT_TRUE(menu->states[4] & MF_SEPARATOR);
    EXPECT_FALSE(menu->states[5] & MF_GRAYED);  // Select All
    EXPECT_EQ(edit->SelectedText(), u"");
    EXPECT_GT(caretOffset(), 5);
    EXPECT_EQ(text(), u"hello world");

    // Held inside a selection: Cut, Copy and Delete are there, and Copy works.
    menu->states.clear();
    menu->chooseItem = 1;
    ASSERT_TRUE(testsupport::putTextOnClipboard(u"old"));
    edit->SelectRange(0, 0, 0, 10);
    device::advanceClock(1000);
    device::stylusDown(held.x, held.y);
    pump();
    ASSERT_EQ(menu->states.size(), 6u);
    EXPECT_FALSE(menu->states[0] & MF_GRAYED);
    EXPECT_FALSE(menu->states[2] & MF_GRAYED);
    EXPECT_EQ(clipboardText(), u"hello world");
    EXPECT_EQ(edit->SelectedText(), u"hello world");
}
