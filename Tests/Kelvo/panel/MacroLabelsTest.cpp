// The macros face's labels drawn onto a canvas: a Farsi name right-aligned and a Latin one
// left-aligned in their keys, date macros showing the date, the pressed key's label moved with
// its picture, and the record key held down while a recording is armed.
#include <PixelCanvas.h>
#include <device/Clock.h>
#include <oleauto.h>

#include "MacroLayouts.h"
#include "panel/MacroExpansion.h"
#include "panel/MacroLabels.h"

using namespace skintest;
using testsupport::PixelCanvas;
using MacroLabels = PanelTest;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

// Row 0: macros 0 and 1, 120 pixels wide each; row 1: macro 2 across the layout.
Layout labelsLayout() {
    Layout layout;
    layout.flags = LF_MACROS;
    layout.picture = bmpPicture(240, 80, 0xE0E0E0);
    layout.rows = {
        {Key{KF_MACRO, 0, 0, rect(0, 0, 120, 40)}, Key{KF_MACRO, 1, 0, rect(120, 0, 240, 40)}},
        {Key{KF_MACRO, 2, 0, rect(0, 40, 240, 80)}}};
    return layout;
}

struct Ink {
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    bool any() const { return right >= 0; }
};

// The bounds of every pixel in `area` that is not white.
Ink inkIn(const PixelCanvas& canvas, const RECT& area) {
    Ink ink;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (canvas.at(x, y) == kWhite)
                continue;
            ink.left = std::min(ink.left, x);
            ink.top = std::min(ink.top, y);
            ink.right = std::max(ink.right, x);
            ink.bottom = std::max(ink.bottom, y);
        }
    }
    return ink;
}

void paintLabels(CMyPanel& panel, const PixelCanvas& canvas) {
    CDC dc;
    dc.Attach(canvas.dc());
    PaintMacroLabels(panel, dc);
    dc.Detach();
}

}  // namespace

TEST_F(MacroLabels, FarsiNameIsRightAlignedAndLatinNameLeftAligned) {
    writePortraitSkin({labelsLayout()});
    createPanel();
    MacroTable[0].name = u"سلام";
    MacroTable[1].name = u"Hi";
    PixelCanvas canvas(240, 80, kWhite);
    paintLabels(*panel, canvas);

    // Keys inset by 3 pixels left and right: (3..117) and (123..237).
    const Ink farsi = inkIn(canvas, rect(0, 0, 120, 40));
    ASSERT_TRUE(farsi.any());
    EXPECT_GE(farsi.right, 110);
    EXPECT_LE(farsi.right, 116);
    EXPECT_GT(farsi.left, 40);
    const Ink latin = inkIn(canvas, rect(120, 0, 240, 40));
    ASSERT_TRUE(latin.any());
    EXPECT_GE(latin.left, 123);
    EXPECT_LE(latin.left, 128);
    EXPECT_LT(latin.right, 180);
    // Vertically centred: as much room above as below, within a pixel or two of font padding.
    EXPECT_NEAR(latin.top - 1, 39 - latin.bottom, 6);
    // Drawn in the skin's text colour.
    EXPECT_EQ(canvas.at(latin.left + 1, (latin.top + latin.bottom) / 2) & 0xFFFFFF,
              panel->textColor & 0xFFFFFF);
}

TEST_F(MacroLabels, DateMacroWithAFarsiNameShowsTheDateRightAligned) {
    SYSTEMTIME now{2026, 12, 2, 8, 9, 30, 0, 0};
    device::setDeviceLocalTime(now);
    writePortraitSkin({labelsLayout()});
    createPanel();
    MacroTable[2].name = u"تاریخ";
    setMacroText(MacroTable[2], u"@@DT0@@");
    MacroTable[2].kind = MacroDate;
    PixelCanvas canvas(240, 80, kWhite);
    paintLabels(*panel, canvas);

    // The same text drawn as the label must be: the date, right-aligned in the inset key.
    PixelCanvas expected(240, 80, kWhite);
    HGDIOBJ kept = SelectObject(expected.dc(), static_cast<HFONT>(*panel->labelFont));
    SetBkMode(expected.dc(), TRANSPARENT);
    SetTextColor(expected.dc(), panel->textColor);
    RECT inset = rect(3, 41, 237, 79);
    const std::u16string date = u"12/8/2026";
    DrawTextW(expected.dc(), date.c_str(), static_cast<int>(date.size()), &inset,
              DT_VCENTER | DT_RIGHT);
    SelectObject(expected.dc(), kept);
    ASSERT_TRUE(inkIn(expected, rect(0, 40, 240, 80)).any());
    for (int y = 40; y < 80; ++y)
        for (int x = 0; x < 240; ++x)
            ASSERT_EQ(canvas.at(x, y), expected.at(x, y)) << x << "," << y;
}

TEST_F(MacroLabels, PressedKeysLabelMovesWithItsPicture) {
    writePortraitSkin({labelsLayout()});
    createPanel();
    MacroTable[1].name = u"Hi";
    PixelCanvas still(240, 80, kWhite);
    paintLabels(*panel, still);
    panel->pressedKey = panel->layout->keyAtRowCol(0, 1);
    panel->gesture = kGestureTap;
    PixelCanvas pressed(240, 80, kWhite);
    paintLabels(*panel, pressed);
    const Ink before = inkIn(still, rect(120, 0, 240, 40));
    const Ink after = inkIn(pressed, rect(120, 0, 240, 40));
    EXPECT_EQ(after.left, before.left + 1);
    EXPECT_EQ(after.top, before.top + 1);
    // Only a tap moves it: a stroke in progress leaves the label in place.
    panel->gesture = kGestureRight;
    PixelCanvas stroked(240, 80, kWhite);
    paintLabels(*panel, stroked);
    EXPECT_EQ(inkIn(stroked, rect(120, 0, 240, 40)).left, before.left);
}

TEST_F(MacroLabels, RecordKeyIsHeldDownWhileARecordingIsArmed) {
    Skin skin;
    skin.frameColor = 0x000000FF;  // red
    skin.classes[u"P"] = {typingLayout(), macrosLayout()};
    writeSkin(skin);
    createPanel();
    tap(kGotoMacros.x, kGotoMacros.y);
    PixelCanvas idle(240, 80, kWhite);
    paintLabels(*panel, idle);
    EXPECT_EQ(idle.at(181, 41), kWhite);

    tap(kRecordKey.x, kRecordKey.y);
    ASSERT_EQ(panel->recordCount, 0);
    PixelCanvas armed(240, 80, kWhite);
    paintLabels(*panel, armed);
    EXPECT_EQ(armed.at(181, 41), 0xFF0000u);  // frame
    EXPECT_EQ(armed.at(239, 79), 0xFF0000u);
    EXPECT_EQ(armed.at(200, 60), 0xE0E0E0u);  // the key's picture, pushed
    EXPECT_EQ(armed.at(180, 40), kWhite);     // its first row and column are not drawn

    tap(kRecordKey.x, kRecordKey.y);
    PixelCanvas ended(240, 80, kWhite);
    paintLabels(*panel, ended);
    EXPECT_EQ(ended.at(181, 41), kWhite);
}

TEST_F(MacroLabels, WideScreensInsetLabelsTwiceAsFar) {
    writePortraitSkin({labelsLayout()});
    createPanel();
    MacroTable[0].name = u"سلام";
    MacroTable[1].name = u"Hi";
    PixelCanvas narrow(240, 80, kWhite);
    paintLabels(*panel, narrow);
    panel->scale = 2;
    PixelCanvas wide(240, 80, kWhite);
    paintLabels(*panel, wide);
    EXPECT_EQ(inkIn(wide, rect(120, 0, 240, 40)).left,
              inkIn(narrow, rect(120, 0, 240, 40)).left + 3);
    EXPECT_EQ(inkIn(wide, rect(0, 0, 120, 40)).right, inkIn(narrow, rect(0, 0, 120, 40)).right - 3);
}
