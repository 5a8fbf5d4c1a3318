// Buttons and statics with the stylus and on the screen: a push button clicks only when the pen
// is lifted on it and shows itself pushed meanwhile, automatic check boxes change state,
// messages set states without notifying, statics take their parent's colours and the size of
// their pictures.
#include <device/Input.h>
#include <device/Screen.h>

#include "UserTest.h"
#include "windows.h"

using namespace usertest;

namespace {

constexpr int kPushId = 5;
constexpr int kCheckId = 6;

void tap(int x, int y) {
    device::stylusDown(x, y);
    device::stylusUp(x, y);
    pump();
}

HWND makeControl(LPCWSTR className, LPCWSTR text, DWORD style, int x, int y, int w, int h,
                 HWND parent, int id) {
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

// The WM_COMMAND messages the parent received: (id, code) each.
std::vector<std::pair<WORD, WORD>> commands() {
    std::vector<std::pair<WORD, WORD>> out;
    for (const Seen& s : recorder().with(WM_COMMAND))
        out.emplace_back(LOWORD(s.wParam), HIWORD(s.wParam));
    return out;
}

uint32_t screenPixel(int x, int y) {
    const device::ScreenImage image = device::copyScreen();
    return image.pixels[static_cast<size_t>(y * image.width + x)];
}

// A system colour as the screen stores it (0x00RRGGBB).
uint32_t onScreen(int colorIndex) {
    const COLORREF c = GetSysColor(colorIndex);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

constexpr COLORREF kParentColour = RGB(10, 200, 30);

// A parent that paints its statics' background in its own colour.
LRESULT CALLBACK colouringParent(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    static HBRUSH brush = CreateSolidBrush(kParentColour);
    if (message == WM_CTLCOLORSTATIC) {
        SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 255));
        return reinterpret_cast<LRESULT>(brush);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

TEST_F(UserTest, APushButtonClicksWhenThePenLiftsOnIt) {
    HWND parent = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
    HWND push = makeControl(WC_BUTTON, u"Go", BS_PUSHBUTTON, 10, 10, 80, 24, parent, kPushId);
    pump();
    recorder().clear();

    device::stylusDown(50, 20);
    pump();
    EXPECT_EQ(SendMessageW(push, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
    EXPECT_EQ(GetFocus(), push);
    EXPECT_EQ(screenPixel(15, 14), onScreen(COLOR_HIGHLIGHT));  // drawn pushed
    device::stylusMove(150, 150);  // the pen leaves: the button comes up again
    pump();
    EXPECT_EQ(SendMessageW(push, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    EXPECT_EQ(screenPixel(15, 14), onScreen(COLOR_BTNFACE));
    device::stylusUp(150, 150);
    pump();
    EXPECT_TRUE(commands().empty());

    tap(50, 20);
    const std::vector<std::pair<WORD, WORD>> once = {{kPushId, BN_CLICKED}};
    EXPECT_EQ(commands(), once);
    EXPECT_EQ(recorder().with(WM_COMMAND).at(0).lParam, reinterpret_cast<LPARAM>(push));

    // Disabled, it takes no taps; BM_CLICK still clicks it for a program.
    EnableWindow(push, FALSE);
    recorder().clear();
    tap(50, 20);
    EXPECT_TRUE(commands().empty());
    SendMessageW(push, BM_CLICK, 0, 0);
    EXPECT_EQ(commands(), once);
    DestroyWindow(parent);
}

TEST_F(UserTest, AnAutomaticCheckBoxChangesStateWithEachTapAndMessagesSetItQuietly) {
    HWND parent = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
    HWND check =
        makeControl(WC_BUTTON, u"Gestures", BS_AUTOCHECKBOX, 10, 50, 120, 20, parent, kCheckId);
    HWND manual = makeControl(WC_BUTTON, u"Manual", BS_CHECKBOX, 10, 80, 120, 20, parent, 7);
    pump();
    recorder().clear();

    tap(60, 60);
    EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(parent, kCheckId), BST_CHECKED);
    // The box shows the mark: a dark pixel on the check's stroke.
    EXPECT_EQ(screenPixel(10 + 5, 50 + 3 + 9), 0u);
    tap(60, 60);
    EXPECT_EQ(SendMessageW(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(screenPixel(10 + 5, 50 + 3 + 9), onScreen(COLOR_WINDOW));
    const std::vector<std::pair<WORD, WORD>> twice = {{kCheckId, BN_CLICKED},
                                                      {kCheckId, BN_CLICKED}};
    EXPECT_EQ(commands(), twice);

    recorder().clear();
    EXPECT_TRUE(CheckDlgButton(parent, kCheckId, BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(parent, kCheckId), BST_CHECKED);
    EXPECT_TRUE(commands().empty());

    // A plain check box tells its parent but leaves the state to it.
    tap(60, 90);
    EXPECT_EQ(SendMessageW(manual, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(commands().size(), 1u);
    DestroyWindow(parent);
}

TEST_F(UserTest, StaticsTakeTheirParentsColoursAndTheSizeOfTheirPictures) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = colouringParent;
    wc.lpszClassName = u"ColouringParent";
    RegisterClassW(&wc);
    HWND parent = CreateWindowExW(0, u"ColouringParent", u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320,
                                  nullptr, nullptr, nullptr, nullptr);
    makeControl(WC_STATIC, u"", SS_LEFT, 10, 10, 60, 20, parent, 1);
    pump();
    EXPECT_EQ(screenPixel(40, 20), 0x0AC81Eu);  // RGB(10, 200, 30)

    // A bitmap static takes its picture's size and hands back the one it had.
    HWND picture = makeControl(WC_STATIC, u"", SS_BITMAP, 10, 40, 5, 5, parent, 2);
    const uint32_t red[4 * 3] = {0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000,
                                 0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000};
    HBITMAP first = CreateBitmap(4, 3, 1, 32, red);
    HBITMAP second = CreateBitmap(40, 30, 1, 32, nullptr);
    EXPECT_EQ(SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(first)),
              0);
    RECT r{};
    GetWindowRect(picture, &r);
    EXPECT_EQ(r.right - r.left, 4);
    EXPECT_EQ(r.bottom - r.top, 3);
    pump();
    EXPECT_EQ(screenPixel(12, 41), 0xFF0000u);
    EXPECT_EQ(SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(second)),
              reinterpret_cast<LRESULT>(first));
    GetWindowRect(picture, &r);
    EXPECT_EQ(r.right - r.left, 40);
    EXPECT_EQ(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0),
              reinterpret_cast<LRESULT>(second));
    // An icon is not a bitmap static's picture.
    EXPECT_EQ(SendMessageW(picture, STM_SETIMAGE, IMAGE_ICON, 1), 0);

    // With SS_CENTERIMAGE the control keeps its size and centres the picture.
    HWND centred =
        makeControl(WC_STATIC, u"", SS_BITMAP | SS_CENTERIMAGE, 100, 100, 20, 20, parent, 3);
    SendMessageW(centred, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(first));
    GetWindowRect(centred, &r);
    EXPECT_EQ(r.right - r.left, 20);
    pump();
    EXPECT_EQ(screenPixel(110, 110), 0xFF0000u);
    EXPECT_EQ(screenPixel(101, 101), 0x0AC81Eu);

    DestroyWindow(parent);  // the pictures were given, not owned: they outlive the statics
    BITMAP info{};
    EXPECT_NE(GetObjectW(first, sizeof(info), &info), 0);
    DeleteObject(first);
    DeleteObject(second);
}
