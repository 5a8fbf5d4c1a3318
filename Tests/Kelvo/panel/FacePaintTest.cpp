// What the faces draw over their keys: the calculator display with its font and memory mark,
// the task list's titles and close icons, the launcher's icons, and the place of the macro
// labels in the order of the faces.
#include <climits>

#include "CalculatorLayout.h"
#include "PaintSupport.h"
#include "TypingLayouts.h"
#include "panel/Macros.h"
#include "panel/PanelPaint.h"
#include "panel/TaskSwitcher.h"

using namespace skintest;
using painttest::PanelPixels;
using FacePaint = PanelTest;

namespace {

constexpr uint32_t kPaper = 0xE0E0E0;
constexpr COLORREF kBlueText = 0x00800000;  // as a colour reference: dark blue
constexpr uint32_t kCloseRed = 0xC82828;
constexpr uint32_t kIconColour = 0x123456;

uint32_t paper(int, int) {
    return kPaper;
}

Layout plainLayout(WORD flags, std::vector<std::vector<Key>> rows) {
    Layout layout;
    layout.flags = flags;
    layout.picture = bmpPicture(240, 80, kPaper);
    layout.rows = std::move(rows);
    return layout;
}

// A 16 x 16 opaque icon of one colour (0x00RRGGBB).
HICON solidIcon(uint32_t rgb) {
    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateCompatibleBitmap(screen, 16, 16);
    ReleaseDC(nullptr, screen);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, colour);
    HBRUSH brush = CreateSolidBrush(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    RECT all{0, 0, 16, 16};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SelectObject(dc, previous);
    DeleteDC(dc);
    const BYTE opaque[16 * 2] = {};
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, opaque);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colour);
    return icon;
}

constexpr const WCHAR* kTaskClass = u"FacePaintTask";

HWND taskWindow(const WCHAR* title) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kTaskClass;
    RegisterClassW(&wc);
    // Away from the input panel at the bottom of the screen.
    return CreateWindowExW(0, kTaskClass, title, WS_POPUP | WS_VISIBLE, 0, 0, 60, 60, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

Layout taskLayout() {
    return plainLayout(
        LF_TASKS,
        {{Key{KF_TASKS, 0, 0, rect(0, 0, 40, 40)}, Key{KF_TASKS, 0, 1, rect(40, 0, 240, 40)}},
         {Key{KF_TASKS, 1, 0, rect(0, 40, 40, 80)}, Key{KF_TASKS, 25, 1, rect(40, 40, 240, 80)}}});
}

}  // namespace

TEST_F(FacePaint, CalculatorDisplayIsRightAlignedWithMemoryMarkAtItsLeft) {
    Skin skin;
    skin.textColor = kBlueText;
    skin.classes[u"P"] = {calculatorLayout(kPaper)};
    writeSkin(skin);
    createPanel();
    UpdateWindow(panelWindow());

    ASSERT_TRUE(panel->labelFont);
    LOGFONTW font{};
    ASSERT_NE(GetObjectW(*panel->labelFont, sizeof font, &font), 0);
    EXPECT_EQ(font.lfHeight, -12);  // the display key is 20 pixels high
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(std::u16string(font.lfFaceName), u"Tahoma");

    const RECT display = kCalcDisplayRect;
    RECT ink = PanelPixels(panelWindow()).inkBounds(display, paper);
    EXPECT_LE(ink.right, 237);  // "0." three pixels in from the right edge
    EXPECT_GE(ink.right, 234);
    EXPECT_GT(ink.left, 200);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 10, 3);

    panel->calcMemory = 4;
    panel->Invalidate(FALSE);
    UpdateWindow(panelWindow());
    RECT mark = PanelPixels(panelWindow()).inkBounds(RECT{0, 0, 120, 20}, paper);
    EXPECT_GE(mark.left, 2);  // 2 * scale in
    EXPECT_LE(mark.left, 4);
    EXPECT_LE(mark.top, 4);  // at the top, not centred
    EXPECT_GT(mark.right - mark.left, 5);
}

TEST_F(FacePaint, MemoryMarkIsFourPixelsInOnWideScreens) {
    host.reset();
    ASSERT_TRUE(device::setScreenSize(480, 640));
    host = std::make_unique<TestInputPanelHost>(80);
    Layout layout = calculatorLayout(kPaper);
    layout.width = 480;
    layout.picture = bmpPicture(480, 80, kPaper);
    Skin skin;
    skin.classes[u"PH"] = {layout};
    writeSkin(skin);
    createPanel();
    panel->calcMemory = 1;
    panel->Invalidate(FALSE);
    UpdateWindow(panelWindow());
    RECT mark = PanelPixels(panelWindow()).inkBounds(RECT{0, 0, 120, 20}, paper);
    EXPECT_GE(mark.left, 4);  // 2 * scale
    EXPECT_LE(mark.left, 6);
}

TEST_F(FacePaint, CalculatorDisplayKeepsItsLastGlyphInsideTheDisplay) {
    for (const int width : {240, 480}) {
        SCOPED_TRACE(width);
        host.reset();
        ASSERT_TRUE(device::setScreenSize(width, 640));
        host = std::make_unique<TestInputPanelHost>(80);
        Layout layout = calculatorLayout(kPaper);
        layout.width = width;
        layout.picture = bmpPicture(width, 80, kPaper);
        layout.rows[0][0].rect = rect(0, 0, width, 20);
        Skin skin;
        skin.classes[width > 400 ? u"PH" : u"P"] = {layout};
        writeSkin(skin);
        createPanel();
        const int inset = 3 * panel->scale;
        for (const char* shown : {"Error", "native"}) {
            SCOPED_TRACE(shown);
            if (std::string(shown) == "Error") {
                panel->calcText = u"Error";
            } else {
                // "1/5" in Arabic-Indic digits: the five's tail reaches past its advance.
                panel->calcText = u"1.5";
                panel->calcNativeDigits = 1;
            }
            panel->Invalidate(FALSE);
            UpdateWindow(panelWindow());
            const RECT ink =
                PanelPixels(panelWindow()).inkBounds(rect(0, 0, width, 20), paper);
            ASSERT_LT(ink.left, ink.right);
            EXPECT_LE(ink.right, width - inset);
            EXPECT_GE(ink.right, width - inset - 2);
        }
        panel.reset();
        UnregisterClassW(kPanelClassName, GetModuleHandleW(nullptr));
    }
}

TEST_F(FacePaint, TheLabelFontIsMadeOncePerLayout) {
    Layout tall = calculatorLayout(kPaper);
    tall.rows[0][0].rect = rect(0, 0, 240, 32);
    writePortraitSkin({calculatorLayout(kPaper), tall});
    createPanel();
    UpdateWindow(panelWindow());
    ASSERT_TRUE(panel->labelFont);
    const HGDIOBJ first = panel->labelFont->GetSafeHandle();
    panel->Invalidate(FALSE);
    UpdateWindow(panelWindow());
    EXPECT_EQ(panel->labelFont->GetSafeHandle(), first);

    panel->SwitchLayout(1);
    EXPECT_FALSE(panel->labelFont);  // made by the first face that needs it
    UpdateWindow(panelWindow());
    ASSERT_TRUE(panel->labelFont);
    LOGFONTW font{};
    ASSERT_NE(GetObjectW(*panel->labelFont, sizeof font, &font), 0);
    EXPECT_EQ(font.lfHeight, -20);
}

TEST_F(FacePaint, TaskListShowsTitlesAndCloseIconsOfFilledSlots) {
    Skin skin;
    skin.textColor = kBlueText;
    skin.classes[u"P"] = {taskLayout()};
    writeSkin(skin);
    createPanel();
    HWND notes = taskWindow(u"Notes");
    panel->taskWnd[0] = notes;
    panel->Invalidate(FALSE);
    UpdateWindow(panelWindow());
    PanelPixels p(panelWindow());
    // The 16 x 16 close icon at the key's top-left corner.
    RECT icon = p.inkBounds(rect(0, 0, 40, 40), paper);
    EXPECT_LE(icon.left, 1);  // the disc's edge
    EXPECT_LE(icon.top, 1);
    EXPECT_GE(icon.right, 15);
    EXPECT_LE(icon.right, 16);
    EXPECT_LE(icon.bottom, 16);
    EXPECT_EQ(p.at(8, 3), kCloseRed);
    // The title, left-aligned 3 pixels in and vertically centred.
    RECT title = p.inkBounds(rect(40, 0, 240, 40), paper);
    EXPECT_GE(title.left, 43);
    EXPECT_LE(title.left, 45);
    EXPECT_LT(title.right, 140);
    EXPECT_NEAR((title.top + title.bottom) / 2.0, 20, 3);
    // An empty slot and a slot beyond the list show nothing.
    EXPECT_EQ(p.inkBounds(rect(0, 40, 240, 80), paper).right, 0);

    // A held key is drawn one pixel right and down.
    down(100, 20);
    UpdateWindow(panelWindow());
    RECT held = PanelPixels(panelWindow()).inkBounds(rect(40, 0, 240, 40), paper);
    EXPECT_EQ(held.left, title.left + 1);
    EXPECT_EQ(held.top, title.top + 1);
    up(100, 20);
    DestroyWindow(notes);
}

TEST_F(FacePaint, AVanishedTaskWindowRebuildsTheListAndRepaints) {
    writePortraitSkin({taskLayout()});
    createPanel();
    HWND kept = taskWindow(u"Kept");
    HWND gone = taskWindow(u"Gone");
    panel->taskWnd[0] = gone;
    DestroyWindow(gone);
    panel->Invalidate(FALSE);
    UpdateWindow(panelWindow());
    // The list was rebuilt without the vanished window, and the whole face is to be painted.
    EXPECT_EQ(panel->taskWnd[0], kept);
    EXPECT_EQ(taskCount, 1);
    RECT update{};
    ASSERT_TRUE(GetUpdateRect(panelWindow(), &update, FALSE));
    EXPECT_EQ(update.right - update.left, 240);
    UpdateWindow(panelWindow());
    EXPECT_FALSE(GetUpdateRect(panelWindow(), nullptr, FALSE));
    EXPECT_GT(PanelPixels(panelWindow()).inkBounds(rect(40, 0, 240, 40), paper).right, 0);
    DestroyWindow(kept);
}

TEST_F(FacePaint, WideScreensShowTheLargeCloseIcon) {
    host.reset();
    ASSERT_TRUE(device::setScreenSize(480, 640));
    host = std::make_unique<TestInputPanelHost>(80);
    Layout layout = taskLayout();
    layout.width = 480;
    layout.picture = bmpPicture(480, 80, kPaper);
    Skin skin;
    skin.classes[u"PH"] = {layout};
    writeSkin(skin);
    createPanel();
    HWND notes = taskWindow(u"Notes");
    panel->taskWnd[0] = notes;
    panel->Invalidate(FALSE);
    UpdateWindow(panelWindow());
    PanelPixels p(panelWindow());
    RECT icon = p.inkBounds(rect(0, 0, 40, 40), paper);
    EXPECT_GT(icon.right, 24);
    EXPECT_LE(icon.right, 32);
    EXPECT_EQ(p.at(16, 4), kCloseRed);
    // The title is 3 * scale pixels in.
    RECT title = p.inkBounds(rect(40, 0, 480, 40), paper);
    EXPECT_GE(title.left, 46);
    EXPECT_LE(title.left, 48);
    DestroyWindow(notes);
}

TEST_F(FacePaint, ProgramIconsAreCentredInTheirKeys) {
    writePortraitSkin({plainLayout(
        LF_LAUNCHER,
        {{Key{KF_LAUNCH, 0, 0, rect(0, 0, 40, 40)}, Key{KF_LAUNCH, 14, 1, rect(40, 0, 80, 40)},
          Key{KF_LAUNCH, 30, 0, rect(80, 0, 120, 40)}, Key{KF_LAUNCH, 15, 1, rect(120, 0, 160, 40)},
          Key{KF_LAUNCH, 0, 2, rect(160, 0, 200, 40)},
          Key{KF_LAUNCH, 1, 0, rect(200, 0, 240, 40)}}})});
    createPanel();
    panel->programIcons[0] = solidIcon(kIconColour);
    panel->gameIcons[14] = solidIcon(kIconColour);
    panel->Invalidate(FALSE);
    UpdateWindow(panelWindow());
    PanelPixels p(panelWindow());
    EXPECT_EQ(p.inkBounds(rect(0, 0, 40, 40), paper).left, 12);
    RECT program = p.inkBounds(rect(0, 0, 40, 40), paper);
    EXPECT_EQ(program.top, 12);
    EXPECT_EQ(program.right, 28);
    EXPECT_EQ(program.bottom, 28);
    EXPECT_EQ(p.at(20, 20), kIconColour);
    RECT game = p.inkBounds(rect(40, 0, 80, 40), paper);
    EXPECT_EQ(game.left, 52);
    EXPECT_EQ(game.right, 68);
    // Codes beyond the lists, another list and an empty entry show nothing.
    EXPECT_EQ(p.inkBounds(rect(80, 0, 240, 80), paper).right, 0);
}

TEST_F(FacePaint, MacroLabelsShowOnMacroFacesOnlyAndProgramIconsComeOverThem) {
    const Key macro{KF_MACRO, 0, 0, rect(0, 20, 240, 60)};
    const Key program{KF_LAUNCH, 0, 0, rect(0, 20, 40, 60)};
    writePortraitSkin({plainLayout(LF_MACROS | LF_LAUNCHER, {{macro, program}}),
                       plainLayout(LF_LAUNCHER, {{macro, program}})});
    createPanel();
    MacroTable[0].name = u"WWWWWWWWWWWWWWWWWWWW";
    MacroTable[0].kind = MacroString;
    panel->programIcons[0] = solidIcon(kIconColour);
    panel->Invalidate(FALSE);
    UpdateWindow(panelWindow());
    PanelPixels p(panelWindow());
    // The label runs from the key's left inset under the icon, which is drawn whole over it.
    EXPECT_GT(p.inkBounds(rect(28, 20, 240, 60), paper).right, 60);
    for (int y = 32; y < 48; ++y) {
        for (int x = 12; x < 28; ++x)
            ASSERT_EQ(p.at(x, y), kIconColour) << x << "," << y;
    }

    panel->SwitchLayout(1);  // no macros face: no labels
    UpdateWindow(panelWindow());
    EXPECT_EQ(PanelPixels(panelWindow()).inkBounds(rect(28, 20, 240, 60), paper).right, 0);
}
