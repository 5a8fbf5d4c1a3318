// The input method as the host drives it through Kelvo.dll: selection, the host's queries, the
// taps that reach the callback, the data channel and the calls that come without a panel.
#include <commctrl.h>
#include <device/Screen.h>

#include "ServerFixture.h"

namespace {

RECT windowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

using InputMethod = ServerTest;

TEST_F(InputMethod, HostSelectsLaysOutTypesAndReleasesUntilTheLibraryMayUnload) {
    writeUsualSkin();
    IInputMethod2* im = create();
    ASSERT_NE(im, nullptr);
    EXPECT_EQ(canUnloadNow(), S_FALSE);

    // The SIP window sits 26 pixels above the screen's bottom (a menu bar below it).
    MoveWindow(host->sipWindow(), 0, 320 - 26 - 80, 240, 80, TRUE);
    ASSERT_EQ(im->Select(host->sipWindow()), S_OK);
    ASSERT_NE(panelWindow(), nullptr);
    ASSERT_EQ(im->RegisterCallback(&host->callback()), S_OK);

    IMINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_EQ(im->GetInfo(&info), S_OK);
    EXPECT_EQ(info.cbSize, sizeof(info));
    EXPECT_EQ(info.fdwFlags, static_cast<DWORD>(SIPF_DOCKED));
    EXPECT_EQ(info.iNarrow, 0);
    EXPECT_EQ(info.iWide, 0);
    auto* wide = static_cast<HIMAGELIST>(info.hImageWide);
    auto* narrow = static_cast<HIMAGELIST>(info.hImageNarrow);
    ASSERT_NE(wide, nullptr);
    ASSERT_NE(narrow, nullptr);
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(wide, &cx, &cy));
    EXPECT_EQ(cx, 32);
    EXPECT_EQ(cy, 16);
    EXPECT_TRUE(ImageList_GetIconSize(narrow, &cx, &cy));
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
    // The pictures come from the library's own resources.
    EXPECT_EQ(ImageList_GetImageCount(wide), 1);
    EXPECT_EQ(ImageList_GetImageCount(narrow), 1);

    // Layout 240 x 80 above the 26-pixel margin.
    EXPECT_TRUE(sameRect(info.rcSipRect, RECT{0, 214, 239, 294}));
    EXPECT_TRUE(sameRect(windowRect(host->sipWindow()), RECT{0, 215, 242, 296}));
    EXPECT_TRUE(sameRect(windowRect(panelWindow()), RECT{0, 215, 242, 296}));

    host->tap(panelWindow(), 60, 20);
    EXPECT_EQ(calls(), charPair(0x42, u'b'));

    HWND panel = panelWindow();
    ASSERT_EQ(im->Deselect(), S_OK);
    EXPECT_FALSE(IsWindow(panel));
    EXPECT_EQ(panelWindow(), nullptr);
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    EXPECT_EQ(im->Release(), 0u);
    EXPECT_EQ(canUnloadNow(), S_OK);
}

TEST_F(InputMethod, SelectTwiceFailsAndLeavesTheFirstPanelWorking) {
    writeUsualSkin();
    IInputMethod2* im = create();
    ASSERT_EQ(im->Select(host->sipWindow()), S_OK);
    HWND first = panelWindow();
    im->RegisterCallback(&host->callback());
    EXPECT_EQ(im->Select(host->sipWindow()), E_FAIL);
    EXPECT_EQ(panelWindow(), first);
    EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), nullptr);
    host->tap(first, 20, 20);
    EXPECT_EQ(calls(), charPair(0x41, u'a'));

    // After a deselection the same object selects again (the window class came back).
    EXPECT_EQ(im->Deselect(), S_OK);
    EXPECT_EQ(im->Select(host->sipWindow()), S_OK);
    EXPECT_NE(panelWindow(), nullptr);
    im->Deselect();
    im->Release();
}

TEST_F(InputMethod, GetImDataReportsTheShownLayoutAndChecksTheBlockFirst) {
    writeUsualSkin();
    IInputMethod2* im = create();
    // Unselected there is no layout.
    EXPECT_EQ(shownLayout(im), 0xFFFF);
    ASSERT_EQ(im->Select(host->sipWindow()), S_OK);
    EXPECT_EQ(shownLayout(im), 0);

    // A block too small to hold word 0 is refused without being read (one byte of memory).
    auto tiny = std::make_unique<BYTE[]>(1);
    tiny[0] = 2;
    EXPECT_EQ(im->GetImData(1, tiny.get()), E_FAIL);
    EXPECT_EQ(im->GetImData(4, nullptr), E_FAIL);
    WORD block[4] = {2, 7, 7, 7};
    EXPECT_EQ(im->GetImData(2, block), E_FAIL);
    EXPECT_EQ(im->GetImData(8, block), E_FAIL);
    block[0] = 3;
    EXPECT_EQ(im->GetImData(4, block), E_FAIL);
    EXPECT_EQ(block[1], 7);
    im->Deselect();
    im->Release();
}

TEST_F(InputMethod, SetImDataSwitchesAndPressesThroughPostedMessages) {
    writeUsualSkin();
    IInputMethod2* im = create();
    ASSERT_EQ(im->Select(host->sipWindow()), S_OK);
    im->RegisterCallback(&host->callback());

    // Command 1 with wParam 2 switches the layout, once the posted message is dispatched.
    EXPECT_EQ(sendWords(im, {1, 2, 1}), S_OK);
    EXPECT_EQ(shownLayout(im), 0);
    host->pump();
    EXPECT_EQ(shownLayout(im), 1);
    // Another wParam is no switch.
    EXPECT_EQ(sendWords(im, {1, 3, 0}), S_OK);
    host->pump();
    EXPECT_EQ(shownLayout(im), 1);

    // Command 2 presses row 0, column 1 of the layout shown ('d' on layout 1).
    EXPECT_EQ(sendWords(im, {2, 0, 1}), S_OK);
    EXPECT_TRUE(calls().empty());
    host->pump();
    EXPECT_EQ(calls(), charPair(0x44, u'd'));
    // A position without a key presses nothing; large words stay positive.
    calls().clear();
    EXPECT_EQ(sendWords(im, {2, 0xFFFF, 0xFFFF}), S_OK);
    host->pump();
    EXPECT_TRUE(calls().empty());
    im->Deselect();
    im->Release();
}

TEST_F(InputMethod, SetImDataRefusesWrongSizesAndCommandsWithoutPosting) {
    writeUsualSkin();
    IInputMethod2* im = create();
    ASSERT_EQ(im->Select(host->sipWindow()), S_OK);
    im->RegisterCallback(&host->callback());

    auto tiny = std::make_unique<BYTE[]>(1);
    tiny[0] = 3;
    EXPECT_EQ(im->SetImData(1, tiny.get()), E_FAIL);
    EXPECT_EQ(im->SetImData(6, nullptr), E_FAIL);
    WORD block[4] = {1, 2, 1, 0};
    EXPECT_EQ(im->SetImData(4, block), E_FAIL);  // command 1 needs 6 bytes
    EXPECT_EQ(im->SetImData(8, block), E_FAIL);
    block[0] = 2;
    block[1] = 0;
    EXPECT_EQ(im->SetImData(4, block), E_FAIL);  // command 2 needs 6 bytes
    EXPECT_EQ(im->SetImData(2, block), E_FAIL);
    block[0] = 3;
    block[1] = 2;
    EXPECT_EQ(im->SetImData(6, block), E_FAIL);  // command 3 needs 4 bytes
    EXPECT_EQ(im->SetImData(2, block), E_FAIL);
    for (WORD command : {WORD{0}, WORD{4}, WORD{0xFFFF}}) {
        block[0] = command;
        EXPECT_EQ(im->SetImData(6, block), E_FAIL);
        EXPECT_EQ(im->SetImData(4, block), E_FAIL);
    }
    host->pump();
    EXPECT_EQ(shownLayout(im), 0);
    EXPECT_TRUE(calls().empty());
    im->Deselect();
    im->Release();
}

TEST_F(InputMethod, ReloadCommandReloadsExactlyTheNamedGroups) {
    writeUsualSkin();
    skintest::Skin other;
    other.classes[u"P"] = {layoutOf(200, 50, u"xy")};
    writeSkin(u"Other", other);
    IInputMethod2* im = create();
    ASSERT_EQ(im->Select(host->sipWindow()), S_OK);
    im->RegisterCallback(&host->callback());
    IMINFO info{};
    im->GetInfo(&info);
    EXPECT_EQ(info.rcSipRect.right, 239);

    // New settings and a new skin in the registry; macros and settings reload, the skin not.
    setSetting(u"CurSkin", u"Other");
    setSettingNumber(u"RepeatDelay", 100);
    ASSERT_EQ(sendWords(im, {3, 1}), S_OK);
    host->pump();
    host->stylusDown(panelWindow(), 20, 20);
    host->advance(300);
    host->stylusUp(panelWindow(), 20, 20);
    EXPECT_EQ(calls(), charPair(0x41, u'a'));  // the repeat still waits 500 ms
    calls().clear();

    ASSERT_EQ(sendWords(im, {3, 4}), S_OK);
    host->pump();
    host->stylusDown(panelWindow(), 20, 20);
    host->advance(300);
    host->stylusUp(panelWindow(), 20, 20);
    EXPECT_GT(calls().size(), 2u);  // repeated after 100 ms
    im->GetInfo(&info);
    EXPECT_EQ(info.rcSipRect.right, 239);

    ASSERT_EQ(sendWords(im, {3, 2}), S_OK);
    host->pump();
    im->GetInfo(&info);
    EXPECT_EQ(info.rcSipRect.right, 199);
    EXPECT_EQ(info.rcSipRect.bottom - info.rcSipRect.top, 50);
    im->Deselect();
    im->Release();
}

TEST_F(InputMethod, ShowingReloadsTheSkinOnlyAfterTheScreenChanged) {
    writeUsualSkin();
    IInputMethod2* im = create();
    ASSERT_EQ(im->Select(host->sipWindow()), S_OK);
    sendWords(im, {1, 2, 1});
    host->pump();
    ASSERT_EQ(shownLayout(im), 1);
    // Same screen: nothing is reloaded, layout 1 stays.
    EXPECT_EQ(im->Showing(), S_OK);
    EXPECT_EQ(shownLayout(im), 1);

    ASSERT_TRUE(device::setScreenSize(320, 240));
    EXPECT_EQ(im->Showing(), S_OK);
    EXPECT_EQ(shownLayout(im), 0);
    IMINFO info{};
    im->GetInfo(&info);
    EXPECT_EQ(info.rcSipRect.right, 319);
    EXPECT_EQ(info.rcSipRect.bottom - info.rcSipRect.top, 60);
    EXPECT_EQ(im->Hiding(), S_OK);
    im->Deselect();
    im->Release();
}

TEST_F(InputMethod, HidingEndsAPressUnderWay) {
    writeUsualSkin();
    IInputMethod2* im = create();
    ASSERT_EQ(im->Select(host->sipWindow()), S_OK);
    ASSERT_EQ(im->RegisterCallback(&host->callback()), S_OK);
    host->stylusDown(panelWindow(), 20, 20);
    // The host hides the panel under the held stylus: no repetition, nothing at stylus up.
    EXPECT_EQ(im->Hiding(), S_OK);
    host->advance(2000);
    host->stylusUp(panelWindow(), 20, 20);
    EXPECT_TRUE(calls().empty());
    EXPECT_EQ(GetCapture(), nullptr);
    host->tap(panelWindow(), 20, 20);
    EXPECT_EQ(calls(), charPair(0x41, u'a'));
    im->Deselect();
    im->Release();
}

TEST_F(InputMethod, CallsWithoutAPanelAreHarmless) {
    writeUsualSkin();
    IInputMethod2* im = create();
    EXPECT_EQ(im->RegisterCallback(&host->callback()), E_FAIL);
    EXPECT_EQ(sendWords(im, {3, 7}), E_FAIL);
    EXPECT_EQ(sendWords(im, {2, 0, 0}), E_FAIL);
    EXPECT_EQ(im->Showing(), S_OK);
    EXPECT_EQ(im->Hiding(), S_OK);

    // GetInfo fills the images and flags; with no layout the rectangle is left as it was.
    IMINFO info{};
    info.rcSipRect = RECT{1, 2, 3, 4};
    EXPECT_EQ(im->GetInfo(&info), S_OK);
    EXPECT_NE(info.hImageWide, nullptr);
    EXPECT_EQ(info.fdwFlags, static_cast<DWORD>(SIPF_DOCKED));
    EXPECT_TRUE(sameRect(info.rcSipRect, RECT{1, 2, 3, 4}));
    EXPECT_EQ(im->GetInfo(nullptr), E_FAIL);
    EXPECT_EQ(panelWindow(), nullptr);

    // The options entry needs no panel (the helper program's use).
    EXPECT_EQ(optionsCancelled(im, host->sipWindow()), S_OK);
    EXPECT_EQ(optionsCancelled(im, nullptr), S_OK);
    EXPECT_EQ(im->ReceiveSipInfo(nullptr), S_OK);
    EXPECT_EQ(im->RegisterCallback2(nullptr), S_OK);
    EXPECT_EQ(im->SetIMMActiveContext(nullptr, TRUE, 0, 0, 0), S_OK);
    EXPECT_EQ(im->Deselect(), S_OK);
    EXPECT_EQ(im->Deselect(), S_OK);
    EXPECT_EQ(im->Release(), 0u);
    EXPECT_EQ(canUnloadNow(), S_OK);
}

TEST_F(InputMethod, OptionsEntryMeasuresTheScreenForTheNextShowing) {
    writeUsualSkin();
    IInputMethod2* im = create();
    ASSERT_EQ(im->Select(host->sipWindow()), S_OK);
    sendWords(im, {1, 2, 1});
    host->pump();
    // Measured by the options entry after the rotation, the screen is no change to Showing.
    ASSERT_TRUE(device::setScreenSize(320, 240));
    EXPECT_EQ(optionsCancelled(im, host->sipWindow()), S_OK);
    EXPECT_EQ(im->Showing(), S_OK);
    EXPECT_EQ(shownLayout(im), 1);
    im->Deselect();
    im->Release();
}

TEST_F(InputMethod, ButtonPicturesAreTransparentWhereSilver) {
    IInputMethod2* im = create();
    IMINFO info{};
    ASSERT_EQ(im->GetInfo(&info), S_OK);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 32, 16);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, canvas);
    constexpr COLORREF kRed = RGB(255, 0, 0);
    HBRUSH red = CreateSolidBrush(kRed);
    const RECT all{0, 0, 32, 16};
    FillRect(dc, &all, red);
    DeleteObject(red);
    ASSERT_TRUE(
        ImageList_Draw(static_cast<HIMAGELIST>(info.hImageWide), 0, dc, 0, 0, ILD_TRANSPARENT));
    // The field around the keyboard lets the background through; its frame is drawn.
    EXPECT_EQ(GetPixel(dc, 0, 0), kRed);
    EXPECT_EQ(GetPixel(dc, 31, 15), kRed);
    EXPECT_EQ(GetPixel(dc, 3, 3), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 4, 4), RGB(128, 128, 128));
    SelectObject(dc, old);
    DeleteObject(canvas);
    DeleteDC(dc);
    // Unselected, deselecting destroys the lists GetInfo made.
    EXPECT_EQ(im->Deselect(), S_OK);
    EXPECT_EQ(ImageList_GetImageCount(static_cast<HIMAGELIST>(info.hImageWide)), 0);
    im->Release();
}

TEST_F(InputMethod, ReleasingASelectedObjectDeselectsItSoThatAnotherCanSelect) {
    writeUsualSkin();
    IInputMethod2* first = create();
    ASSERT_EQ(first->Select(host->sipWindow()), S_OK);
    HWND panel = panelWindow();
    // A second object cannot select while the first one's window class is registered.
    IInputMethod2* second = create();
    EXPECT_EQ(second->Select(host->sipWindow()), E_FAIL);
    EXPECT_EQ(second->Deselect(), S_OK);
    EXPECT_TRUE(IsWindow(panel));

    EXPECT_EQ(first->Release(), 0u);
    EXPECT_FALSE(IsWindow(panel));
    EXPECT_EQ(second->Select(host->sipWindow()), S_OK);
    EXPECT_NE(panelWindow(), nullptr);
    EXPECT_EQ(second->Release(), 0u);
    EXPECT_EQ(panelWindow(), nullptr);
    EXPECT_EQ(canUnloadNow(), S_OK);
}

// Deselecting hands the application back with no modifier held down by the keyboard; a host
// that releases without deselecting is sent nothing, as its callback may be gone.
TEST_F(InputMethod, DeselectingSendsTheKeyUpOfALatchedModifierAndNothingElse) {
    skintest::Skin skin;
    skintest::Layout layout = layoutOf(240, 80, u"ab");
    // Control latches until struck again (slot 3).
    layout.rows[0].push_back(skintest::Key{0x3000 | 0x0400, 0, 0x11, RECT{80, 0, 120, 40}});
    skin.classes[u"P"] = {layout};
    writeSkin(u"Test", skin);
    auto selectedWithCallback = [&] {
        IInputMethod2* im = create();
        EXPECT_EQ(im->Select(host->sipWindow()), S_OK);
        EXPECT_EQ(im->RegisterCallback(&host->callback()), S_OK);
        return im;
    };

    IInputMethod2* im = selectedWithCallback();
    host->tap(panelWindow(), 100, 20);
    ASSERT_EQ(calls(), std::vector<CallbackCall>{CallbackCall::virtualKey(0x11, 0)});
    calls().clear();
    ASSERT_EQ(im->Deselect(), S_OK);
    EXPECT_EQ(calls(), std::vector<CallbackCall>{CallbackCall::virtualKey(0x11, KEYEVENTF_KEYUP)});
    im->Release();

    // Nothing latched: nothing to release.
    im = selectedWithCallback();
    host->tap(panelWindow(), 20, 20);
    calls().clear();
    ASSERT_EQ(im->Deselect(), S_OK);
    EXPECT_TRUE(calls().empty());
    im->Release();

    im = selectedWithCallback();
    host->tap(panelWindow(), 100, 20);
    calls().clear();
    EXPECT_EQ(im->Release(), 0u);
    EXPECT_TRUE(calls().empty());
}
