// The Farsi edit control's fixture.
#include "EditFixture.h"

#include <device/Clock.h>
#include <device/Display.h>
#include <winbase_memory.h>

#include "ScreenInk.h"

namespace edittest {

HostLog& hostLog() {
    static HostLog log;
    return log;
}

namespace {

LRESULT CALLBACK hostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CHAR)
        hostLog().chars.emplace_back(wParam, lParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

constexpr WCHAR kHostClass[] = u"EditTestHost";
constexpr int kOrigin = 10;

}  // namespace

}  // namespace edittest

using namespace edittest;

void FarsiEditTest::SetUp() {
    DeviceTest::SetUp();
    hostLog().chars.clear();
    device::clearEventLog();
    WNDCLASSW wc{};
    wc.lpfnWndProc = hostProc;
    wc.lpszClassName = kHostClass;
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    RegisterClassW(&wc);
    host = CreateWindowExW(0, kHostClass, u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr,
                           nullptr, nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    hostWnd.Attach(host);
    SetForegroundWindow(host);
    pump();
}

void FarsiEditTest::TearDown() {
    edit.reset();
    hostWnd.Detach();
    DestroyWindow(host);
    UnregisterClassW(kHostClass, nullptr);
    emptyClipboard();
    DeviceTest::TearDown();
}

CFarsiEdit& FarsiEditTest::make(DWORD style, int width, int height) {
    edit = std::make_unique<CFarsiEdit>();
    const RECT r{kOrigin, kOrigin, kOrigin + width, kOrigin + height};
    EXPECT_TRUE(edit->Create(WS_CHILD | WS_VISIBLE | style, r, &hostWnd, 1));
    SetFocus(edit->GetSafeHwnd());
    pump();
    return *edit;
}

void FarsiEditTest::pump() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        platform::handleMessage(msg);
    }
}

void FarsiEditTest::setText(const std::u16string& value) {
    ASSERT_TRUE(
        SendMessageW(edit->GetSafeHwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str())));
    pump();
}

std::u16string FarsiEditTest::text() const {
    const HWND h = edit->GetSafeHwnd();
    const auto length = static_cast<size_t>(SendMessageW(h, WM_GETTEXTLENGTH, 0, 0));
    std::vector<WCHAR> buffer(length + 1);
    const LRESULT n =
        SendMessageW(h, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return std::u16string(buffer.data(), static_cast<size_t>(n));
}

void FarsiEditTest::type(const std::u16string& chars) {
    for (char16_t c : chars) {
        // A keyboard character: repeat count 1 and a scan code in the key flags.
        SendMessageW(edit->GetSafeHwnd(), WM_CHAR, c, 0x00390001);
    }
    pump();
}

void FarsiEditTest::press(UINT vk, int times) {
    for (int i = 0; i < times; ++i) {
        ASSERT_TRUE(device::keyDown(vk, 0x40));
        ASSERT_TRUE(device::keyUp(vk, 0x40));
        pump();
    }
}

void FarsiEditTest::pressControl(UINT vk) {
    ASSERT_TRUE(device::keyDown(VK_CONTROL, 0x1D));
    press(vk);
    ASSERT_TRUE(device::keyUp(VK_CONTROL, 0x1D));
    pump();
}

void FarsiEditTest::command(UINT id) {
    SendMessageW(edit->GetSafeHwnd(), WM_COMMAND, id, 0);
    pump();
}

void FarsiEditTest::tap(int x, int y) {
    POINT p{x, y};
    ClientToScreen(edit->GetSafeHwnd(), &p);
    device::stylusDown(p.x, p.y);
    device::stylusUp(p.x, p.y);
    pump();
}

POINT FarsiEditTest::caretPos() const {
    POINT p{};
    GetCaretPos(&p);
    return p;
}

bool FarsiEditTest::caretShown() const {
    const device::CaretState caret = device::caretState();
    return caret.window == edit->GetSafeHwnd() && caret.shown;
}

std::vector<bool> FarsiEditTest::inkColumns(int top, int bottom) const {
    RECT r{};
    GetWindowRect(edit->GetSafeHwnd(), &r);
    return testsupport::darkColumns(
        RECT{r.left, r.top + top, r.right, std::min<LONG>(r.top + bottom, r.bottom)});
}

std::pair<int, int> FarsiEditTest::inkExtent(int top, int bottom) const {
    const std::vector<bool> ink = inkColumns(top, bottom);
    // The frame's columns at both sides are not text.
    return testsupport::inkExtent(ink, 1, ink.empty() ? 0 : ink.size() - 1);
}

bool FarsiEditTest::darkAt(int x, int y) const {
    POINT p{x, y};
    ClientToScreen(edit->GetSafeHwnd(), &p);
    const device::ScreenImage screen = device::copyScreen();
    const uint32_t px = screen.pixels[static_cast<size_t>(p.y * screen.width + p.x)];
    return ((px >> 16) & 0xFF) < 128;
}

int FarsiEditTest::beeps() const {
    return static_cast<int>(device::eventsOfKind(u"beep").size());
}

std::optional<std::u16string> FarsiEditTest::clipboardText() {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(nullptr))
        return std::nullopt;
    std::optional<std::u16string> out;
    if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
        const auto* units = static_cast<const WCHAR*>(LocalLock(block));
        out.emplace(units);
        LocalUnlock(block);
    }
    CloseClipboard();
    return out;
}

void FarsiEditTest::emptyClipboard() {
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}
