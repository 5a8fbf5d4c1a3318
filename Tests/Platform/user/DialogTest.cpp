// The dialog manager: dialogs made from template resources with their controls at the
// template's rectangles in dialog units of the dialog font, modal loops that disable the owner
// until EndDialog, Return, Escape and closing as the default button and Cancel, Tab along the
// tab stops, and the failures that leave no dialog behind.
#include <device/Input.h>
#include <device/Screen.h>

#include <atomic>
#include <string>

#include "DeviceThread.h"
#include "UserTest.h"
#include "wingdi.h"

using namespace usertest;

namespace {

constexpr int kControlsDialog = 100;
constexpr int kBrokenDialog = 101;
constexpr int kTabStopsDialog = 102;

HINSTANCE program() {
    return GetModuleHandleW(nullptr);
}

std::atomic<LPARAM> g_initParam{0};

// Ends the dialog with 77 on OK and 55 on Cancel.
INT_PTR CALLBACK endingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        g_initParam = lParam;
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam) == IDOK ? 77 : 55);
        return TRUE;
    }
    return FALSE;
}

// Rectangles compared as text, so that a difference shows its numbers.
std::string text(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// A control's rectangle in its dialog's client coordinates.
RECT placeOf(HWND dialog, int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(dialog, id), &r);
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MapWindowPoints(nullptr, dialog, corners, 2);
    return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

// A template rectangle (origin and size in dialog units) in pixels: the origin and the size
// are each converted.
RECT pixelsOf(HWND dialog, RECT units) {
    RECT origin{units.left, units.top, units.left, units.top};
    RECT size{0, 0, units.right, units.bottom};
    MapDialogRect(dialog, &origin);
    MapDialogRect(dialog, &size);
    return RECT{origin.left, origin.top, origin.left + size.right, origin.top + size.bottom};
}

SIZE baseUnits(HWND dialog) {
    RECT unit{0, 0, 4, 8};
    MapDialogRect(dialog, &unit);
    return SIZE{unit.right, unit.bottom};
}

// Runs dialog 100 modally on a device thread, with an owner window of that thread.
struct ModalRun {
    std::atomic<HWND> owner{nullptr};
    std::atomic<INT_PTR> result{0};
    std::atomic<bool> ownerEnabledAfter{false};
    DeviceThread thread{[this] {
        HWND made = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
        owner = made;
        result = DialogBoxParamW(program(), MAKEINTRESOURCEW(kControlsDialog), made, endingProc, 7);
        ownerEnabledAfter = IsWindowEnabled(made) != FALSE;
        DestroyWindow(made);
    }};

    HWND dialog() {
        settleDevice();
        return FindWindowW(WC_DIALOG, u"Controls");
    }
};

// Puts the screen back to its size when the test ends.
struct ScreenSizeGuard {
    int width = device::screenWidth();
    int height = device::screenHeight();
    ~ScreenSizeGuard() { device::setScreenSize(width, height); }
};

// Pumps the calling thread with the dialog's keyboard handling, as a modeless dialog's
// program does.
void pumpDialog(HWND dialog) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (IsDialogMessageW(dialog, &m))
            continue;
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

}  // namespace

TEST_F(UserTest, ControlsSitAtTheirTemplateRectanglesInDialogUnitsOfTheDialogFont) {
    HWND dialog =
        CreateDialogParamW(program(), MAKEINTRESOURCEW(kControlsDialog), nullptr, endingProc, 42);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(g_initParam, 42);

    // The dialog's font is the template's: 8 points on this 96-dpi screen (11 pixels per em).
    auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW described{};
    ASSERT_NE(GetObjectW(font, sizeof(described), &described), 0);
    EXPECT_EQ(described.lfHeight, -11);
    EXPECT_EQ(std::u16string(described.lfFaceName), u"MS Shell Dlg");
    EXPECT_EQ(SendMessageW(GetDlgItem(dialog, IDOK), WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(font));

    // Base units: the average width of the font's Latin letters and its height.
    HDC screen = GetDC(nullptr);
    SelectObject(screen, font);
    SIZE letters{};
    GetTextExtentPoint32W(screen, u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52,
                          &letters);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    ReleaseDC(nullptr, screen);
    const SIZE units = baseUnits(dialog);
    EXPECT_EQ(units.cx, (letters.cx / 26 + 1) / 2);
    EXPECT_EQ(units.cy, metrics.tmHeight);

    // The dialog itself, at the work area's corner, and a control of each kind at its place.
    RECT frame{};
    GetWindowRect(dialog, &frame);
    EXPECT_EQ(frame.right - frame.left, (150 * units.cx + 2) / 4);
    EXPECT_EQ(text(placeOf(dialog, 10)), text(pixelsOf(dialog, RECT{4, 20, 80, 10})));
    EXPECT_EQ(text(placeOf(dialog, IDOK)), text(pixelsOf(dialog, RECT{40, 100, 50, 14})));
    EXPECT_EQ(text(placeOf(dialog, 14)), text(pixelsOf(dialog, RECT{4, 34, 100, 20})));

    // The drop-down list keeps the field's height; the template's height is its list's.
    const RECT combo = placeOf(dialog, 11);
    const RECT template11 = pixelsOf(dialog, RECT{50, 2, 90, 60});
    EXPECT_EQ(combo.left, template11.left);
    EXPECT_EQ(combo.right, template11.right);
    EXPECT_LT(combo.bottom - combo.top, (template11.bottom - template11.top) / 2);
    RECT dropped{};
    SendDlgItemMessageW(dialog, 11, CB_GETDROPPEDCONTROLRECT, 0,
                        reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ(dropped.bottom - dropped.top, template11.bottom - template11.top);
    EXPECT_EQ(SendDlgItemMessageW(dialog, 11, CB_GETCOUNT, 0, 0), 3);  // the template's items

    // Pictures size their statics: the icon to the device's icon size, the bitmap to its own.
    const RECT icon = placeOf(dialog, 12);
    EXPECT_EQ(icon.left, pixelsOf(dialog, RECT{110, 34, 0, 0}).left);
    EXPECT_EQ(icon.right - icon.left, 32);
    EXPECT_EQ(icon.bottom - icon.top, 32);
    EXPECT_NE(SendDlgItemMessageW(dialog, 12, STM_GETICON, 0, 0), 0);
    const RECT bitmap = placeOf(dialog, 13);
    EXPECT_EQ(bitmap.right - bitmap.left, 32);
    EXPECT_EQ(bitmap.bottom - bitmap.top, 16);

    // The labels' id is the template's -1.
    EXPECT_NE(GetDlgItem(dialog, 0xFFFF), nullptr);
    DestroyWindow(dialog);
}

TEST_F(UserTest, DialogsGrowWithTheScreensDensity) {
    const ScreenSizeGuard restore;
    HWND small =
        CreateDialogParamW(program(), MAKEINTRESOURCEW(kControlsDialog), nullptr, endingProc, 0);
    ASSERT_NE(small, nullptr);
    const SIZE smallUnits = baseUnits(small);
    DestroyWindow(small);

    ASSERT_TRUE(device::setScreenSize(480, 640));
    HWND large =
        CreateDialogParamW(program(), MAKEINTRESOURCEW(kControlsDialog), nullptr, endingProc, 0);
    ASSERT_NE(large, nullptr);
    const SIZE largeUnits = baseUnits(large);
    EXPECT_NEAR(largeUnits.cx, 2 * smallUnits.cx, 1);
    EXPECT_NEAR(largeUnits.cy, 2 * smallUnits.cy, 2);
    // The icon grows too, but keeps within the place the template gives it.
    const RECT icon = placeOf(large, 12);
    const RECT place = pixelsOf(large, RECT{110, 34, 21, 20});
    EXPECT_EQ(icon.right - icon.left, icon.bottom - icon.top);
    EXPECT_GT(icon.right - icon.left, 48);
    EXPECT_EQ(icon.right - icon.left, std::max(place.right - place.left, place.bottom - place.top));
    DestroyWindow(large);
}

TEST_F(UserTest, AModalDialogDisablesItsOwnerUntilItEnds) {
    ModalRun run;
    HWND dialog = run.dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(g_initParam, 7);
    EXPECT_FALSE(IsWindowEnabled(run.owner));
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(GetForegroundWindow(), dialog);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), run.owner.load());

    // A tap on the owner's part of the screen reaches nothing while the dialog runs.
    RECT frame{};
    GetWindowRect(dialog, &frame);
    tapScreen(frame.right + 2, frame.bottom + 2);
    EXPECT_TRUE(IsWindow(dialog));

    tapCentre(GetDlgItem(dialog, IDOK));
    run.thread.join();
    EXPECT_EQ(run.result, 77);
    EXPECT_TRUE(run.ownerEnabledAfter);
    EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(UserTest, ReturnEscapeAndClosingEndTheDialogAsItsButtonsDo) {
    {
        ModalRun run;
        ASSERT_NE(run.dialog(), nullptr);
        pressKey(VK_RETURN);  // the default button is OK
        run.thread.join();
        EXPECT_EQ(run.result, 77);
    }
    {
        ModalRun run;
        ASSERT_NE(run.dialog(), nullptr);
        pressKey(VK_ESCAPE);
        run.thread.join();
        EXPECT_EQ(run.result, 55);
    }
    {
        ModalRun run;
        HWND dialog = run.dialog();
        ASSERT_NE(dialog, nullptr);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        settleDevice();
        run.thread.join();
        EXPECT_EQ(run.result, 55);
    }
}

TEST_F(UserTest, AQuitMessageEndsTheModalLoopAsCancelAndStaysForTheProgram) {
    std::atomic<INT_PTR> result{0};
    std::atomic<WPARAM> quitCode{0};
    DeviceThread thread([&] {
        result =
            DialogBoxParamW(program(), MAKEINTRESOURCEW(kControlsDialog), nullptr, endingProc, 0);
        MSG m{};
        if (PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
            quitCode = m.wParam;
    });
    settleDevice();
    PostThreadMessageW(thread.id(), WM_QUIT, 3, 0);
    thread.join();
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(quitCode, 3u);
}

TEST_F(UserTest, TabMovesTheFocusAlongTheVisibleEnabledTabStops) {
    HWND dialog =
        CreateDialogParamW(program(), MAKEINTRESOURCEW(kTabStopsDialog), nullptr, endingProc, 0);
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    pumpDialog(dialog);
    HWND first = GetDlgItem(dialog, 21);
    HWND last = GetDlgItem(dialog, 25);
    EXPECT_EQ(GetFocus(), first);  // WM_INITDIALOG asked for the first tab stop
    EXPECT_EQ(GetNextDlgTabItem(dialog, first, FALSE), last);
    EXPECT_EQ(GetNextDlgTabItem(dialog, first, TRUE), last);
    EXPECT_EQ(GetNextDlgTabItem(dialog, nullptr, FALSE), first);

    device::keyDown(VK_TAB);
    device::keyUp(VK_TAB);
    pumpDialog(dialog);
    EXPECT_EQ(GetFocus(), last);
    device::keyDown(VK_TAB);
    device::keyUp(VK_TAB);
    pumpDialog(dialog);
    EXPECT_EQ(GetFocus(), first);
    device::keyDown(VK_SHIFT);
    device::keyDown(VK_TAB);
    device::keyUp(VK_TAB);
    device::keyUp(VK_SHIFT);
    pumpDialog(dialog);
    EXPECT_EQ(GetFocus(), last);

    // The space bar clicks the focused check box; the tab key made no character on the way.
    device::keyDown(VK_SPACE);
    device::keyUp(VK_SPACE);
    pumpDialog(dialog);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 25), BST_CHECKED);
    EXPECT_TRUE(CheckDlgButton(dialog, 25, BST_UNCHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog, 25), BST_UNCHECKED);
    EXPECT_FALSE(CheckDlgButton(dialog, 99, BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog, 99), 0u);
    DestroyWindow(dialog);
}

TEST_F(UserTest, DialogsThatCannotBeMadeLeaveNothingBehind) {
    HWND owner = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
    EXPECT_EQ(DialogBoxParamW(program(), MAKEINTRESOURCEW(999), owner, endingProc, 0), -1);
    EXPECT_EQ(DialogBoxParamW(program(), MAKEINTRESOURCEW(kBrokenDialog), owner, endingProc, 0),
              -1);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(FindWindowW(WC_DIALOG, nullptr), nullptr);
    EXPECT_FALSE(EndDialog(owner, 1));  // not a dialog
    RECT r{0, 0, 4, 8};
    EXPECT_FALSE(MapDialogRect(owner, &r));
    DestroyWindow(owner);
}
