// A Farsi edit control in a top-level window of the test's thread, focused, with helpers that
// deliver messages as a program's message loop does (pre-translation, translation, dispatch)
// and read the text, the caret and the screen back.
#pragma once

#include <DeviceTest.h>
#include <device/Display.h>
#include <device/EventLog.h>
#include <device/Input.h>
#include <device/Screen.h>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "farsiedit/CFarsiEdit.h"

namespace edittest {

// Farsi words and letters the tests type.
inline constexpr char16_t kSalam[] = u"\u0633\u0644\u0627\u0645";  // with a lam-alef
inline constexpr char16_t kDonya[] = u"\u062f\u0646\u06cc\u0627";
inline constexpr char16_t kBeh = u'\u0628';
inline constexpr char16_t kSeen = u'\u0633';

// What the host window received: characters forwarded by a read-only control.
struct HostLog {
    std::vector<std::pair<WPARAM, LPARAM>> chars;
};
HostLog& hostLog();

}  // namespace edittest

class FarsiEditTest : public DeviceTest {
protected:
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 100;

    void SetUp() override;
    void TearDown() override;

    // A control with the FES_* bits of `style`, at (10, 10) of the host window.
    CFarsiEdit& make(DWORD style, int width = kWidth, int height = kHeight);

    // Handles every queued message as a program's loop does.
    void pump();
    void setText(const std::u16string& text);
    std::u16string text() const;
    // Each character as a keyboard's WM_CHAR (with key flags); spaces typed at once.
    void type(const std::u16string& chars);
    // A key pressed and released, through pre-translation and translation.
    void press(UINT vk, int times = 1);
    // A key pressed with Control held.
    void pressControl(UINT vk);
    void command(UINT id);
    // The stylus at a point of the control's client area (down and up), settled.
    void tap(int x, int y);

    // The caret's logical offset and paragraph; the system caret on the screen.
    int caretOffset() const { return edit->CaretOffset(); }
    int caretParagraph() const { return edit->CaretParagraph(); }
    POINT caretPos() const;
    bool caretShown() const;
    // Columns of the control's client area with dark pixels in rows [top, bottom).
    std::vector<bool> inkColumns(int top, int bottom) const;
    // First and last dark column between the frame's sides ({-1, -1} without ink).
    std::pair<int, int> inkExtent(int top, int bottom) const;
    // A dark pixel at a point of the control's client area.
    bool darkAt(int x, int y) const;
    int beeps() const;

    // The clipboard's text, or nullopt without one.
    static std::optional<std::u16string> clipboardText();
    static void emptyClipboard();

    HWND host = nullptr;
    CWnd hostWnd;
    std::unique_ptr<CFarsiEdit> edit;
};
