// Notes as a device program: started with CreateProcessW, it fills the work area and follows
// it, takes keys and characters as the device delivers them, answers the window text messages,
// draws Latin from the left and Farsi shaped from the right, scrolls to the caret, places the
// caret where the stylus taps, runs once, and ends when closed.
#include <device/Clock.h>
#include <device/Display.h>
#include <device/EventLog.h>
#include <device/Input.h>
#include <device/Screen.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DeviceTest.h"
#include "ScreenInk.h"
#include "programs/Notes.h"

namespace {

class NotesProgram : public DeviceTest {
protected:
    // Where the frame inside the edit control's scroll-bar strip begins, and the text after
    // the frame and its margin.
    static constexpr int kTextLeft = 15;
    static constexpr int kTextMargin = 6;

    void SetUp() override {
        DeviceTest::SetUp();
        registerNotesProgram();
    }
    void TearDown() override {
        if (m_process) {
            if (IsWindow(m_frame))
                PostMessageW(m_frame, WM_CLOSE, 0, 0);
            EXPECT_EQ(WaitForSingleObject(m_process, 10000), WAIT_OBJECT_0);
            CloseHandle(m_process);
        }
        DeviceTest::TearDown();
    }

    // Starts notes.exe and waits until it has shown its window.
    void start() {
        PROCESS_INFORMATION info{};
        ASSERT_TRUE(CreateProcessW(u"notes.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, nullptr, &info));
        m_process = info.hProcess;
        CloseHandle(info.hThread);
        settle();
        m_frame = FindWindowW(kNotesWindowClass, nullptr);
        ASSERT_NE(m_frame, nullptr);
        m_edit = GetDlgItem(m_frame, kNotesEditId);
        ASSERT_NE(m_edit, nullptr);
    }

    // Lets every device thread handle what it has been sent: the virtual clock moves only
    // once they all wait.
    static void settle() { device::advanceClock(1); }

    std::u16string text() const {
        std::vector<WCHAR> buffer(4096);
        const LRESULT n = SendMessageW(m_edit, WM_GETTEXT, buffer.size(),
                                       reinterpret_cast<LPARAM>(buffer.data()));
        return std::u16string(buffer.data(), static_cast<size_t>(n));
    }
    static void type(std::u16string_view s) {
        for (char16_t c : s)
            ASSERT_TRUE(device::typeChar(c));
        settle();
    }
    static void press(UINT vk, int times = 1) {
        for (int i = 0; i < times; ++i) {
            ASSERT_TRUE(device::keyDown(vk));
            ASSERT_TRUE(device::keyUp(vk));
        }
        settle();
    }
    void setText(std::u16string_view s) const {
        const std::u16string copy(s);
        ASSERT_TRUE(SendMessageW(m_edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str())));
        settle();
    }

    RECT editRect() const {
        RECT r{};
        GetWindowRect(m_edit, &r);
        return r;
    }

    // Columns of the edit window (from its left edge) that have dark pixels in the rows
    // [top, bottom) of the window, leaving out the caret and what lies outside the frame
    // around the text (the scroll bar's strip on the left, the frame itself).
    std::vector<bool> inkColumns(int top, int bottom) const {
        const RECT r = editRect();
        std::vector<bool> ink(static_cast<size_t>(kTextLeft), false);
        const std::vector<bool> text =
            testsupport::darkColumns(RECT{r.left + kTextLeft, r.top + top, r.right - 1,
                                          std::min<LONG>(r.top + bottom, r.bottom)});
        ink.insert(ink.end(), text.begin(), text.end());
        return ink;
    }
    // First and last inked column of the first line; {-1, -1} without ink.
    std::pair<int, int> inkExtent(int top = 2, int bottom = 18) const {
        const std::vector<bool> ink = inkColumns(top, bottom);
        return testsupport::inkExtent(ink, 0, ink.size());
    }

    HANDLE m_process = nullptr;
    HWND m_frame = nullptr;
    HWND m_edit = nullptr;
};

bool same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

TEST_F(NotesProgram, FillsTheWorkAreaFocusedAndFollowsTheShellAndRotation) {
    RECT shellArea{0, 26, 240, 294};
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &shellArea, 0));
    start();
    RECT r{};
    GetWindowRect(m_frame, &r);
    EXPECT_TRUE(same(r, shellArea));
    WCHAR title[16] = {};
    GetWindowTextW(m_frame, title, 16);
    EXPECT_EQ(std::u16string(title), u"Notes");
    EXPECT_EQ(GetForegroundWindow(), m_frame);
    EXPECT_EQ(device::foregroundFocusWindow(), m_edit);
    EXPECT_TRUE(same(editRect(), shellArea));
    EXPECT_EQ(device::caretState().window, m_edit);
    EXPECT_TRUE(device::caretState().shown);

    // The shell gives the programs another area and says so.
    RECT taller{0, 26, 240, 320};
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &taller, SPIF_SENDCHANGE));
    settle();
    GetWindowRect(m_frame, &r);
    EXPECT_TRUE(same(r, taller));
    EXPECT_TRUE(same(editRect(), taller));

    // A rotation: the work area set for the old screen is gone, so the whole new screen.
    ASSERT_TRUE(device::setScreenSize(320, 240));
    device::onScreenSizeChanged();
    settle();
    GetWindowRect(m_frame, &r);
    EXPECT_TRUE(same(r, RECT{0, 0, 320, 240}));
    EXPECT_TRUE(same(editRect(), RECT{0, 0, 320, 240}));
}

TEST_F(NotesProgram, CharactersKeysAndEnterEditTheTextAtTheCaret) {
    start();
    type(u"Hi");
    press('A');  // a hardware key: the program's TranslateMessage makes the character
    EXPECT_EQ(text(), u"Hia");
    press(VK_RETURN);
    type(u"xz");
    EXPECT_EQ(text(), u"Hia\r\nxz");
    EXPECT_EQ(SendMessageW(m_edit, WM_GETTEXTLENGTH, 0, 0), 7);

    press(VK_LEFT);
    type(u"y");
    EXPECT_EQ(text(), u"Hia\r\nxyz");
    press(VK_HOME);
    press(VK_BACK);  // at a paragraph's start: joins it to the one above
    EXPECT_EQ(text(), u"Hiaxyz");
    press(VK_DELETE);
    EXPECT_EQ(text(), u"Hiayz");
    press(VK_END);
    press(VK_BACK);
    EXPECT_EQ(text(), u"Hiay");
    press(VK_UP);  // nothing above the first line: the caret stays
    type(u"!");
    EXPECT_EQ(text(), u"Hiay!");

    // Escape and other control characters type nothing; a tab types a space.
    press(VK_ESCAPE);
    type(u"\x01\t");
    EXPECT_EQ(text(), u"Hiay! ");
}

TEST_F(NotesProgram, TheInputPanelsMessagesTypeEachCharacterOnce) {
    start();
    // As the host delivers a character key of the panel: the key down marked as making no
    // character, the character without key flags, the key up.
    ASSERT_TRUE(device::keyDown('A', 0, device::kKeyNoCharacter));
    ASSERT_TRUE(device::typeChar(u'\u0633', 0));
    ASSERT_TRUE(device::keyUp('A'));
    settle();
    EXPECT_EQ(text(), u"\u0633");
    // A plain key of the panel (Backspace as a virtual key): the program's TranslateMessage
    // makes its character.
    press(VK_BACK);
    EXPECT_EQ(text(), u"");
    // A typed text with a line break: CR and LF arrive as two characters, one break.
    for (char16_t c : std::u16string(u"\u0633\r\n\u0645"))
        ASSERT_TRUE(device::typeChar(c, 0));
    ASSERT_TRUE(device::typeChar(u'\n', 0));  // a LF alone is a line break of its own
    settle();
    EXPECT_EQ(text(), u"\u0633\r\n\u0645\r\n");
}

TEST_F(NotesProgram, WindowTextMessagesReplaceAndCopyTheText) {
    start();
    setText(u"first\nsecond");
    EXPECT_EQ(text(), u"first\r\nsecond");
    type(u">");  // the caret went to the start
    EXPECT_EQ(text(), u">first\r\nsecond");

    WCHAR small[5];
    std::fill(std::begin(small), std::end(small), u'#');
    EXPECT_EQ(SendMessageW(m_edit, WM_GETTEXT, 4, reinterpret_cast<LPARAM>(small)), 3);
    EXPECT_EQ(std::u16string(small), u">fi");
    EXPECT_EQ(small[4], u'#');

    // A paragraph too long for the view is refused and the text kept.
    const std::u16string tooLong(70000, u'x');
    EXPECT_FALSE(SendMessageW(m_edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(tooLong.c_str())));
    EXPECT_EQ(text(), u">first\r\nsecond");
    EXPECT_TRUE(SendMessageW(m_edit, WM_SETTEXT, 0, 0));  // no text: empty
    EXPECT_EQ(SendMessageW(m_edit, WM_GETTEXTLENGTH, 0, 0), 0);
}

TEST_F(NotesProgram, LatinIsDrawnFromTheLeftAndFarsiShapedFromTheRight) {
    start();
    const int width = editRect().right - editRect().left;
    setText(u"abc");
    const auto latin = inkExtent();
    ASSERT_GE(latin.first, 0);
    EXPECT_GE(latin.first, kTextLeft + kTextMargin - 1);
    EXPECT_LE(latin.first, kTextLeft + kTextMargin + 2);
    EXPECT_LT(latin.second, width / 4);

    // Three behs joined (initial, medial, final) and then a lone alef after a space: read
    // from the right, the wide joined group stands right of the gap, the thin alef left of it.
    setText(u"\u0628\u0628\u0628 \u0627");
    const auto farsi = inkExtent();
    ASSERT_GE(farsi.first, 0);
    EXPECT_GE(farsi.second, width - kTextMargin - 3);
    EXPECT_LT(farsi.second, width - kTextMargin);
    EXPECT_GT(farsi.first, width / 2);
    const std::vector<bool> ink = inkColumns(2, 18);
    int gapStart = -1;
    int gapEnd = -1;
    for (int x = farsi.first, run = -1; x <= farsi.second; ++x) {
        if (!ink[static_cast<size_t>(x)] && run < 0)
            run = x;
        if (ink[static_cast<size_t>(x)] && run >= 0) {
            if (x - run > gapEnd - gapStart) {
                gapStart = run;
                gapEnd = x;
            }
            run = -1;
        }
    }
    ASSERT_GT(gapEnd, gapStart);
    EXPECT_GT(farsi.second - gapEnd, 2 * (gapStart - farsi.first));

    // Shaped: the joined behs take less room than three behs kept apart (isolated forms).
    setText(u"\u0628\u0628\u0628");
    const auto joined = inkExtent();
    setText(u"\u0628\u200c\u0628\u200c\u0628");
    const auto apart = inkExtent();
    EXPECT_LT(joined.second - joined.first, apart.second - apart.first);
}

TEST_F(NotesProgram, TheViewScrollsToKeepTheCaretInSight) {
    start();
    std::u16string many;
    for (int i = 0; i < 60; ++i)
        many += u"line\r\n";
    many += u"last";
    setText(many);
    const RECT r = editRect();
    press(VK_DOWN, 60);
    device::CaretState caret = device::caretState();
    EXPECT_GE(caret.rect.top, r.top);
    EXPECT_LE(caret.rect.bottom, r.bottom);
    press(VK_END);
    type(u"!");
    EXPECT_EQ(text().substr(text().size() - 5), u"last!");
    // The caret's line shows its text.
    caret = device::caretState();
    const auto ink = inkExtent(caret.rect.top - r.top, caret.rect.bottom - r.top);
    EXPECT_GE(ink.first, 0);

    // Paging up comes back to the first line, at the top with the caret on it.
    press(VK_PRIOR, 10);
    caret = device::caretState();
    EXPECT_LT(caret.rect.top - r.top, 16);
    press(VK_HOME);
    type(u"^");
    EXPECT_EQ(text().substr(0, 5), u"^line");
}

TEST_F(NotesProgram, ATapPutsTheCaretWhereThePenIs) {
    start();
    setText(u"abcdef");
    const RECT r = editRect();
    // Right of the text's end, then at the very left of the line.
    device::stylusDown(r.left + 150, r.top + 5);
    device::stylusUp(r.left + 150, r.top + 5);
    type(u"Z");
    device::stylusDown(r.left, r.top + 5);
    device::stylusUp(r.left, r.top + 5);
    type(u"A");
    EXPECT_EQ(text(), u"AabcdefZ");
    // Below the last line: the last line.
    device::stylusDown(r.left, r.bottom - 5);
    device::stylusUp(r.left, r.bottom - 5);
    type(u"<");
    EXPECT_EQ(text(), u"<AabcdefZ");
}

TEST_F(NotesProgram, StartingItAgainBringsTheRunningOneToTheFrontAndClosingEndsIt) {
    start();
    type(u"kept");
    PROCESS_INFORMATION second{};
    ASSERT_TRUE(CreateProcessW(u"\\Windows\\Notes.exe", nullptr, nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, nullptr, &second));
    EXPECT_EQ(WaitForSingleObject(second.hProcess, 10000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(second.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(second.hProcess);
    CloseHandle(second.hThread);
    settle();
    EXPECT_EQ(GetForegroundWindow(), m_frame);
    EXPECT_EQ(text(), u"kept");

    PostMessageW(m_frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(m_process, 10000), WAIT_OBJECT_0);
    EXPECT_FALSE(IsWindow(m_frame));
    EXPECT_FALSE(IsWindow(m_edit));
}
