// The Farsi edit control on the screen: alignment of short texts, the style word's
// normalisation, the vertical bar's strip on the left and scrolling with it, a long single-line
// text scrolling to keep the caret in the middle, and the system caret following focus.
#include "EditFixture.h"

using namespace edittest;

TEST_F(FarsiEditTest, ShortFarsiStandsFlushRightAndLatinFlushLeftByParagraphDirection) {
    // As the Macros page's controls: right-aligned, by direction, vertically centred.
    make(0x0028, 150, 24);
    EXPECT_EQ(edit->EditStyle() & 0xFFFF, 0x002Bu);
    const CRect inner = edit->InnerRect();
    setText(kSalam);
    const auto farsi = inkExtent(2, 22);
    ASSERT_GE(farsi.first, 0);
    EXPECT_GE(farsi.second, inner.right - 3);
    EXPECT_LE(farsi.second, inner.right);
    EXPECT_GT(farsi.first, 150 / 2);
    setText(u"abc");
    const auto latin = inkExtent(2, 22);
    ASSERT_GE(latin.first, 0);
    EXPECT_GE(latin.first, inner.left);
    EXPECT_LE(latin.first, inner.left + 2);
    EXPECT_LT(latin.second, 150 / 2);
    // The frame is drawn around the text area.
    EXPECT_TRUE(darkAt(0, 12));
    EXPECT_TRUE(darkAt(149, 12));
    EXPECT_TRUE(darkAt(70, 0));
    EXPECT_TRUE(darkAt(70, 23));
}

TEST_F(FarsiEditTest, TheStyleIsNormalisedAsItIsSet) {
    make(FES_MULTILINE);
    EXPECT_EQ(edit->EditStyle() & 0xFFFF, static_cast<DWORD>(FES_MULTILINE | FES_RIGHT | FES_TOP));
    edit->SetStyle(FES_HSCROLL | FES_CENTER);  // a horizontal bar: right-aligned, vertical bar
    EXPECT_EQ(edit->EditStyle() & 0xFFFF,
              static_cast<DWORD>(FES_HSCROLL | FES_VSCROLL | FES_MULTILINE | FES_RIGHT | FES_TOP));
    edit->SetStyle(FES_CENTER | FES_BYDIRECTION | FES_DIGITSONLY | FES_MULTILINE);
    EXPECT_EQ(edit->EditStyle() & 0xFFFF, static_cast<DWORD>(FES_CENTER | FES_MULTILINE | FES_TOP));
    edit->ModifyStyle(0, FES_MULTILINE);
    EXPECT_EQ(edit->EditStyle() & 0xFFFF, static_cast<DWORD>(FES_CENTER | FES_TOP));
    edit->SetAlignment(FES_LEFT, FES_BOTTOM);
    EXPECT_EQ(edit->EditStyle() & 0xFFFF, static_cast<DWORD>(FES_LEFT | FES_BOTTOM));
}

TEST_F(FarsiEditTest, TheVerticalBarTakesTheLeftStripAndScrollsTheView) {
    make(FES_MULTILINE | FES_WANTRETURN | FES_VSCROLL | FES_LEFT);
    EXPECT_EQ(edit->TextRect().left, 15);
    EXPECT_EQ(edit->InnerRect().left, 20);
    CScrollBar* bar = edit->VerticalBar();
    ASSERT_NE(bar, nullptr);
    RECT r{};
    bar->GetWindowRect(&r);
    RECT control{};
    GetWindowRect(edit->GetSafeHwnd(), &control);
    EXPECT_EQ(r.left - control.left, 0);
    EXPECT_EQ(r.right - r.left, 15);
    EXPECT_EQ(r.bottom - r.top, edit->TextRect().bottom + 1);
    // Short text: no bar.
    setText(u"one");
    EXPECT_FALSE(bar->IsWindowVisible());
    std::u16string lines;
    for (int i = 0; i < 30; ++i)
        lines += u"line\r\n";
    setText(lines);
    EXPECT_TRUE(bar->IsWindowVisible());
    int low = -1;
    int high = -1;
    bar->GetScrollRange(&low, &high);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, edit->TotalLines() - edit->InnerRect().Height() / edit->LineHeight());
    // Text never reaches into the strip: inside the frame, nothing dark left of the margin.
    const auto ink = inkColumns(2, kHeight - 2);
    const auto firstText = std::find(ink.begin() + 16, ink.end(), true) - ink.begin();
    EXPECT_GE(firstText, 19);
    // Tapping the bar's lower arrow scrolls one line; the bar follows.
    tap(7, r.bottom - r.top - 4);
    EXPECT_EQ(edit->TopLine(), 1);
    EXPECT_EQ(bar->GetScrollPos(), 1);
    // The caret's line scrolled out of view; a caret key brings it back.
    EXPECT_FALSE(caretShown());
    press(VK_END);
    EXPECT_EQ(edit->TopLine(), 0);
    EXPECT_TRUE(caretShown());
    press(VK_DOWN, 29);
    EXPECT_EQ(edit->TopLine(), 29 - edit->InnerRect().Height() / edit->LineHeight() + 1);
    EXPECT_TRUE(caretShown());
}

TEST_F(FarsiEditTest, ALongSingleLineTextScrollsToKeepTheCaretInTheMiddle) {
    make(FES_LEFT, 120, 24);
    const CRect inner = edit->InnerRect();
    const int middle = inner.left + inner.Width() / 2;
    // Typing at the end keeps the end in view, at the right edge.
    type(std::u16string(40, u'x'));
    EXPECT_GT(edit->HOffset(), 0);
    EXPECT_TRUE(caretShown());
    EXPECT_EQ(caretPos().x, inner.right);
    press(VK_HOME);
    EXPECT_EQ(edit->HOffset(), 0);
    EXPECT_EQ(caretPos().x, inner.left);
    // Walking right: once the caret would leave the view it comes back to the middle.
    int steps = 0;
    while (edit->HOffset() == 0 && steps < 40) {
        press(VK_RIGHT);
        ++steps;
    }
    EXPECT_LT(steps, 40);
    EXPECT_NEAR(caretPos().x, middle, 1);
    EXPECT_TRUE(caretShown());

    // Right-aligned: the offset runs the other way, and the end of a long text shows first.
    make(FES_RIGHT, 120, 24);
    setText(std::u16string(40, u'y'));
    press(VK_END);
    EXPECT_EQ(edit->HOffset(), 0);
    EXPECT_EQ(caretPos().x, edit->InnerRect().right);
    press(VK_HOME);
    EXPECT_GT(edit->HOffset(), 0);
    EXPECT_EQ(caretPos().x, edit->InnerRect().left);
    const int scrolled = edit->HOffset();
    steps = 0;
    while (edit->HOffset() == scrolled && steps < 40) {
        press(VK_RIGHT);
        ++steps;
    }
    EXPECT_LT(steps, 40);
    EXPECT_NEAR(caretPos().x, middle, 1);
}

TEST_F(FarsiEditTest, TheCaretIsShownWhileFocusedAndOnlyInsideTheText) {
    make(FES_MULTILINE | FES_WANTRETURN | FES_LEFT);
    EXPECT_TRUE(caretShown());
    EXPECT_EQ(caretPos().x, edit->InnerRect().left);
    EXPECT_EQ(caretPos().y, edit->InnerRect().top);
    SetFocus(host);
    pump();
    EXPECT_EQ(device::caretState().window, nullptr);
    SetFocus(edit->GetSafeHwnd());
    pump();
    EXPECT_TRUE(caretShown());
    // Scrolled away from the caret's line, the caret is hidden.
    std::u16string lines;
    for (int i = 0; i < 30; ++i)
        lines += u"line\r\n";
    setText(lines);
    SendMessageW(edit->GetSafeHwnd(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10), 0);
    pump();
    EXPECT_EQ(edit->TopLine(), 10);
    EXPECT_FALSE(caretShown());
    press(VK_RIGHT);  // a caret command brings it back
    EXPECT_EQ(edit->TopLine(), 0);
    EXPECT_TRUE(caretShown());
}

TEST_F(FarsiEditTest, TheSelectionIsDrawnInverted) {
    make(FES_MULTILINE | FES_WANTRETURN | FES_LEFT);
    setText(u"mmmm");
    const CRect inner = edit->InnerRect();
    // Above the letters' ink, at the top of the line: light until selected.
    const int y = inner.top + 1;
    EXPECT_FALSE(darkAt(inner.left + 3, y));
    edit->SelectRange(0, 0, 0, 1);
    pump();
    EXPECT_TRUE(darkAt(inner.left + 3, y));
    EXPECT_FALSE(darkAt(inner.left + 60, y));
    edit->SelectRange(0, 2, 0, 3);
    pump();
    EXPECT_FALSE(darkAt(inner.left + 3, y));
}

TEST_F(FarsiEditTest, AnObjectAttachedToAnExistingControlWindowTakesItOver) {
    // As a dialog makes its "FarsiEditCtrl" control from a template and the page binds it.
    CFarsiEdit registersTheClass;
    const HWND control = CreateWindowExW(0, kFarsiEditClass, u"", WS_CHILD | WS_VISIBLE | 0x0028,
                                         10, 10, 150, 24, host, reinterpret_cast<HMENU>(2013),
                                         nullptr, nullptr);
    ASSERT_NE(control, nullptr);
    edit = std::make_unique<CFarsiEdit>();
    ASSERT_TRUE(edit->SubclassDlgItem(2013, &hostWnd));
    EXPECT_EQ(edit->EditStyle() & 0xFFFF, 0x002Bu);
    SetFocus(control);
    pump();
    // The window text calls of the page reach the control.
    EXPECT_TRUE(SetDlgItemTextW(host, 2013, kSalam));
    WCHAR buffer[16] = {};
    EXPECT_EQ(GetDlgItemTextW(host, 2013, buffer, 16), 4u);
    EXPECT_EQ(std::u16string(buffer), kSalam);
    type(u"x");  // a new text puts the caret at its start
    EXPECT_EQ(text(), u"x" + std::u16string(kSalam));
    EXPECT_TRUE(caretShown());
}
