// Painting on the device screen: window DCs clipped to the visible region, paint DCs clipped
// to the update region, erasing with the class brush, what a move uncovers, and the caret.
#include "UserTest.h"
#include "device/Display.h"
#include "device/EventLog.h"
#include "device/Screen.h"
#include "wingdi.h"

using namespace usertest;

namespace {

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kGreen = 0x00FF00;

uint32_t pixelAt(int x, int y) {
    device::ScreenImage s = device::copyScreen();
    return s.pixels[static_cast<size_t>(y) * s.width + x];
}

void fillWindow(HWND h, COLORREF color) {
    HDC dc = GetDC(h);
    ASSERT_NE(dc, nullptr);
    RECT r;
    GetClientRect(h, &r);
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    EXPECT_EQ(ReleaseDC(h, dc), 1);
}

RECT updateRect(HWND h) {
    RECT r{};
    GetUpdateRect(h, &r, FALSE);
    return r;
}

bool operator==(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

}  // namespace

TEST_F(UserTest, WindowDCsDoNotDrawOverWindowsAboveOrClippedChildren) {
    HWND below = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND above = makeWindow(WS_POPUP | WS_VISIBLE, 50, 50, 100, 100);
    drain();
    fillWindow(below, RGB(255, 0, 0));
    EXPECT_EQ(pixelAt(10, 10), kRed);
    EXPECT_EQ(pixelAt(99, 49), kRed);
    EXPECT_NE(pixelAt(60, 60), kRed);  // covered by the window above
    fillWindow(above, RGB(0, 0, 255));
    EXPECT_EQ(pixelAt(60, 60), kBlue);
    EXPECT_EQ(pixelAt(149, 149), kBlue);

    // A parent draws over its children unless it has WS_CLIPCHILDREN.
    HWND parent = makeWindow(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 200, 100, 100);
    makeWindow(WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, parent);
    HWND plain = makeWindow(WS_POPUP | WS_VISIBLE, 120, 200, 100, 100);
    makeWindow(WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, plain);
    drain();
    fillWindow(parent, RGB(0, 255, 0));
    fillWindow(plain, RGB(0, 255, 0));
    EXPECT_EQ(pixelAt(5, 205), kGreen);
    EXPECT_NE(pixelAt(15, 215), kGreen);
    EXPECT_EQ(pixelAt(135, 215), kGreen);

    // A DC kept after its window is gone draws nothing more.
    HDC kept = GetDC(above);
    DestroyWindow(above);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT all{0, 0, 100, 100};
    FillRect(kept, &all, red);
    DeleteObject(red);
    EXPECT_EQ(pixelAt(140, 140), kBlue);
    EXPECT_EQ(ReleaseDC(reinterpret_cast<HWND>(0x5555), kept), 0);
}

TEST_F(UserTest, PaintDCsClipToTheUpdateRegionAndErasingUsesTheClassBrush) {
    registerRecordingClass(u"White", 0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    HWND w = CreateWindowExW(0, u"White", u"", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                             nullptr, nullptr, nullptr);
    drain();
    fillWindow(w, RGB(255, 0, 0));
    RECT part{0, 0, 10, 10};
    InvalidateRect(w, &part, FALSE);
    EXPECT_TRUE(updateRect(w) == part);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    ASSERT_NE(dc, nullptr);
    EXPECT_TRUE(ps.rcPaint == part);
    EXPECT_FALSE(ps.fErase);
    RECT all{0, 0, 100, 100};
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &all, blue);
    DeleteObject(blue);
    EndPaint(w, &ps);
    EXPECT_EQ(pixelAt(5, 5), kBlue);
    EXPECT_EQ(pixelAt(20, 20), kRed);  // outside the update region
    EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE));

    // With erasing, WM_PAINT through DefWindowProc fills the invalid part with the class brush.
    recorder().clear();
    RECT corner{50, 50, 100, 100};
    InvalidateRect(w, &corner, TRUE);
    UpdateWindow(w);
    EXPECT_EQ(recorder().of(w, {WM_PAINT, WM_ERASEBKGND}),
              (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
    EXPECT_EQ(pixelAt(60, 60), 0xFFFFFFu);
    EXPECT_EQ(pixelAt(40, 40), kRed);
    EXPECT_TRUE(drain().empty());

    // Programs may name a system colour as a brush: (COLOR_x + 1).
    HDC dc2 = GetDC(w);
    RECT band{0, 90, 100, 100};
    EXPECT_EQ(FillRect(dc2, &band, reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1)), 1);
    ReleaseDC(w, dc2);
    EXPECT_EQ(pixelAt(5, 95), 0x000080u);
}

TEST_F(UserTest, MovingOrHidingAWindowInvalidatesWhatItUncovers) {
    HWND below = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND elsewhere = makeWindow(WS_POPUP | WS_VISIBLE, 150, 150, 50, 50);
    HWND above = makeWindow(WS_POPUP | WS_VISIBLE, 50, 50, 30, 30);
    drain();
    SetWindowPos(above, nullptr, 120, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(updateRect(below) == (RECT{50, 50, 80, 80}));
    EXPECT_TRUE(updateRect(above) == (RECT{0, 0, 30, 30}));  // moved: painted whole
    EXPECT_FALSE(GetUpdateRect(elsewhere, nullptr, FALSE));
    drain();

    // Hiding uncovers too; raising a window shows what was covered of it.
    SetWindowPos(above, nullptr, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    drain();
    ShowWindow(above, SW_HIDE);
    EXPECT_TRUE(updateRect(below) == (RECT{10, 10, 40, 40}));
    drain();
    ShowWindow(above, SW_SHOWNOACTIVATE);
    drain();
    EXPECT_FALSE(GetUpdateRect(below, nullptr, FALSE));
    SetWindowPos(below, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_TRUE(updateRect(below) == (RECT{10, 10, 40, 40}));
    EXPECT_FALSE(GetUpdateRect(above, nullptr, FALSE));
    auto painted = drain();
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0].hwnd, below);
}

TEST_F(UserTest, AChildThatGoesUncoversItsParentWhichPaintsThere) {
    HWND parent = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND child = makeWindow(WS_CHILD | WS_VISIBLE, 10, 20, 30, 40, parent);
    HWND moving = makeWindow(WS_CHILD | WS_VISIBLE, 60, 60, 10, 10, parent);
    drain();
    ShowWindow(child, SW_HIDE);
    EXPECT_TRUE(updateRect(parent) == (RECT{10, 20, 40, 60}));
    drain();
    SetWindowPos(moving, nullptr, 80, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(updateRect(parent) == (RECT{60, 60, 70, 70}));
    drain();
    DestroyWindow(moving);
    EXPECT_TRUE(updateRect(parent) == (RECT{80, 80, 90, 90}));
}

TEST_F(UserTest, CaretBlinksByInvertingItsRectangleAndKeepsAHideCount) {
    HWND w = makeWindow(WS_POPUP | WS_VISIBLE, 20, 20, 100, 100);
    drain();
    fillWindow(w, RGB(255, 0, 0));
    ASSERT_TRUE(CreateCaret(w, nullptr, 2, 10));
    SetCaretPos(5, 6);
    EXPECT_FALSE(device::caretState().shown);  // a new caret starts hidden
    EXPECT_EQ(pixelAt(25, 26), kRed);
    ASSERT_TRUE(ShowCaret(w));
    device::CaretState c = device::caretState();
    EXPECT_EQ(c.window, w);
    EXPECT_TRUE(c.rect == (RECT{25, 26, 27, 36}));
    EXPECT_TRUE(c.blinkOn);
    EXPECT_EQ(pixelAt(25, 26), 0x00FFFFu);  // red inverted
    EXPECT_EQ(pixelAt(27, 26), kRed);
    EXPECT_FALSE(ShowCaret(w));  // already shown: the count does not go below zero

    device::advanceClock(GetCaretBlinkTime());
    pump();
    EXPECT_FALSE(device::caretState().blinkOn);
    EXPECT_EQ(pixelAt(25, 26), kRed);
    device::advanceClock(GetCaretBlinkTime());
    pump();
    EXPECT_TRUE(device::caretState().blinkOn);

    HideCaret(w);
    HideCaret(w);
    EXPECT_EQ(pixelAt(25, 26), kRed);
    ShowCaret(w);
    EXPECT_FALSE(device::caretState().shown);  // hidden twice, shown once
    ShowCaret(w);
    EXPECT_TRUE(device::caretState().shown);
    POINT p;
    EXPECT_TRUE(GetCaretPos(&p));
    EXPECT_EQ(p.x, 5);
    EXPECT_TRUE(DestroyCaret());
    EXPECT_EQ(device::caretState().window, nullptr);
    EXPECT_EQ(pixelAt(25, 26), kRed);
    EXPECT_FALSE(DestroyCaret());
}

TEST_F(UserTest, ScreenChangeReachesTopLevelWindowsAndTheDeviceReportsItsState) {
    HWND top = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND child = makeWindow(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
    drain();
    recorder().clear();
    ASSERT_TRUE(device::setScreenSize(320, 240));
    device::onScreenSizeChanged();
    pump();
    auto changes = recorder().with(WM_SETTINGCHANGE);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].hwnd, top);
    EXPECT_EQ(changes[0].wParam, static_cast<WPARAM>(SETTINGCHANGE_RESET));
    EXPECT_EQ(recorder().of(top, {WM_PAINT}).size(), 1u);
    EXPECT_EQ(recorder().of(child, {WM_PAINT}).size(), 1u);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 320);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 240);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 13);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    EXPECT_NE(GetSysColorBrush(COLOR_BTNFACE), nullptr);
    EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), GetSysColorBrush(COLOR_3DFACE));

    MessageBeep(MB_ICONASTERISK);
    auto beeps = device::eventsOfKind(u"beep");
    ASSERT_EQ(beeps.size(), 1u);
    EXPECT_EQ(beeps[0].text, u"0x40");

    EXPECT_FALSE(device::cursorIsWait());
    HCURSOR arrow = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    EXPECT_EQ(arrow, LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_TRUE(device::cursorIsWait());
    SetCursor(arrow);
    EXPECT_FALSE(device::cursorIsWait());
    EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(1)), nullptr);
}

TEST_F(UserTest, InvalidatingAParentReachesItsChildrenUnlessItClipsThem) {
    HWND plain = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND plainChild = makeWindow(WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, plain);
    HWND clipping = makeWindow(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 120, 0, 100, 100);
    HWND clippedChild = makeWindow(WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, clipping);
    drain();
    RECT part{0, 0, 15, 15};
    InvalidateRect(plain, &part, FALSE);
    InvalidateRect(clipping, &part, FALSE);
    EXPECT_TRUE(updateRect(plainChild) == (RECT{0, 0, 5, 5}));
    EXPECT_FALSE(GetUpdateRect(clippedChild, nullptr, FALSE));
    EXPECT_TRUE(updateRect(clipping) == part);
    drain();

    HRGN rgn = CreateRectRgn(40, 40, 60, 50);
    EXPECT_TRUE(InvalidateRgn(plain, rgn, FALSE));
    EXPECT_TRUE(updateRect(plain) == (RECT{40, 40, 60, 50}));
    DeleteObject(rgn);
    EXPECT_FALSE(InvalidateRgn(plain, rgn, FALSE));  // a dead region
    EXPECT_TRUE(ValidateRect(plain, nullptr));
    EXPECT_FALSE(GetUpdateRect(plain, nullptr, FALSE));

    // A window covered by another one is invalid only where it can be seen.
    HWND cover = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 100, 50);
    drain();
    InvalidateRect(plain, nullptr, FALSE);
    EXPECT_TRUE(updateRect(plain) == (RECT{0, 50, 100, 100}));
    (void)cover;
}
