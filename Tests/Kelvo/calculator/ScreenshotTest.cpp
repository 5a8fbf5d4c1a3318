// The calculator face after "2 + 3 x 4 =", saved as a PNG screenshot below the build folder.
// It shows the built default skin's calculator face when that skin has one; otherwise a
// calculator layout drawn here, with a key for every operation.
#include <device/PngEncoder.h>

#include <PixelCanvas.h>

#include <iostream>
#include <iterator>

#include "CalculatorFixture.h"
#include "FaceScreenshot.h"

using namespace skintest;

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 120;
constexpr int kColumns = 9;
constexpr int kKeyWidth = 26;
constexpr int kKeyHeight = 19;
constexpr int kFirstRowTop = 24;
constexpr RECT kDisplay{3, 2, 237, 22};

struct FaceKey {
    WORD code;
    const char16_t* label;
};
// Row by row, nine keys to a row.
constexpr FaceKey kFaceKeys[] = {
    {CalcMemoryClear, u"MC"},
    {CalcMemoryRecall, u"MR"},
    {CalcMemoryAdd, u"M+"},
    {CalcMemoryStore, u"MS"},
    {CalcClearEntry, u"CE"},
    {CalcClearAll, u"C"},
    {CalcBackspace, u"\u2190"},
    {CalcGroupingSwitch, u"1,000"},
    {CalcDigitsSwitch, u"\u0661\u0662\u0663"},
    {7, u"7"},
    {8, u"8"},
    {9, u"9"},
    {CalcDivide, u"\u00F7"},
    {CalcSquareRoot, u"\u221A"},
    {CalcSquare, u"x\u00B2"},
    {CalcFactorial, u"n!"},
    {CalcCopy, u"Copy"},
    {CalcPaste, u"Paste"},
    {4, u"4"},
    {5, u"5"},
    {6, u"6"},
    {CalcMultiply, u"\u00D7"},
    {CalcReciprocal, u"1/x"},
    {CalcPower, u"x^y"},
    {CalcRoot, u"y\u221Ax"},
    {CalcType, u"Type"},
    {CalcRemainder, u"mod"},
    {1, u"1"},
    {2, u"2"},
    {3, u"3"},
    {CalcSubtract, u"\u2212"},
    {CalcPercent, u"%"},
    {CalcExp, u"e^x"},
    {CalcLn, u"ln"},
    {CalcLog10, u"log"},
    {CalcPi, u"\u03C0"},
    {0, u"0"},
    {CalcPoint, u"."},
    {CalcChangeSign, u"\u00B1"},
    {CalcAdd, u"+"},
    {CalcEquals, u"="},
};

RECT faceKeyRect(size_t i) {
    const LONG x = 3 + static_cast<LONG>(i % kColumns) * kKeyWidth;
    const LONG y = kFirstRowTop + static_cast<LONG>(i / kColumns) * kKeyHeight;
    return RECT{x, y, x + kKeyWidth, y + kKeyHeight};
}

std::string encodePng(const testsupport::PixelCanvas& canvas) {
    std::vector<uint32_t> pixels;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            pixels.push_back(canvas.at(x, y));
    std::vector<uint8_t> png;
    EXPECT_TRUE(
        device::encodePng(canvas.width(), canvas.height(), pixels, device::PngColours::Rgb, png));
    return std::string(png.begin(), png.end());
}

// The picture of the drawn calculator: a dark body, light keys with their labels, and the
// display's white field.
std::string calculatorPicture() {
    testsupport::PixelCanvas canvas(kWidth, kHeight, 0x303840);
    HDC dc = canvas.dc();
    HBRUSH keyBrush = CreateSolidBrush(RGB(0xD8, 0xDC, 0xE0));
    HBRUSH opBrush = CreateSolidBrush(RGB(0xF0, 0xC8, 0x80));
    HBRUSH displayBrush = CreateSolidBrush(RGB(0xF8, 0xF8, 0xF0));
    FillRect(dc, &kDisplay, displayBrush);
    LOGFONTW font{};
    font.lfHeight = -9;
    font.lfWeight = FW_NORMAL;
    std::copy_n(u"Tahoma", 7, font.lfFaceName);
    HFONT labelFont = CreateFontIndirectW(&font);
    HGDIOBJ previousFont = SelectObject(dc, labelFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0x20, 0x20, 0x20));
    for (size_t i = 0; i < std::size(kFaceKeys); ++i) {
        RECT r = faceKeyRect(i);
        InflateRect(&r, -1, -1);
        FillRect(dc, &r, kFaceKeys[i].code <= CalcPoint ? keyBrush : opBrush);
        DrawTextW(dc, kFaceKeys[i].label, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    SelectObject(dc, previousFont);
    DeleteObject(labelFont);
    DeleteObject(keyBrush);
    DeleteObject(opBrush);
    DeleteObject(displayBrush);
    return encodePng(canvas);
}

Layout drawnCalculatorLayout() {
    Layout layout;
    layout.flags = LF_CALC;
    layout.width = kWidth;
    layout.height = kHeight;
    layout.picture = calculatorPicture();
    layout.rows.assign(1, {Key{0, 0, 0, kDisplay}});
    for (size_t i = 0; i < std::size(kFaceKeys); ++i) {
        if (i % kColumns == 0)
            layout.rows.emplace_back();
        WORD flags = KF_CALC;
        if (kFaceKeys[i].code == CalcGroupingSwitch)
            flags |= kGroupingSlot << 12;
        if (kFaceKeys[i].code == CalcDigitsSwitch)
            flags |= kNativeDigitsSlot << 12;
        layout.rows.back().push_back(Key{flags, kFaceKeys[i].code, 0, faceKeyRect(i)});
    }
    return layout;
}

class CalculatorScreenshot : public FaceScreenshotTest {
protected:
    // Presses the calculator key of operation `code` by its row and column.
    void press(WORD code) {
        SkinLayout& layout = *panel->layout;
        for (int r = 0; r < layout.rowCount; ++r) {
            for (int c = 0; c < layout.rowKeyCount[r]; ++c) {
                const KeyRecord& key = layout.keys[r][c];
                if ((key.flags & KF_CALC) && key.param == code) {
                    SendMessageW(panelWindow(), WM_PANEL_PRESSKEY, r, c);
                    return;
                }
            }
        }
        ADD_FAILURE() << "the calculator face has no key for operation " << code;
    }
};

}  // namespace

TEST_F(CalculatorScreenshot, TwoPlusThreeTimesFourShowsTwenty) {
    const bool fromDefaultSkin = showDefaultSkinFace(LF_CALC);
    if (!fromDefaultSkin) {
        std::cout << "The built default skin has no calculator face: the screenshot shows the "
                     "calculator layout this test draws.\n";
        Skin skin;
        skin.textColor = 0x00202020;
        skin.frameColor = 0x00C06000;
        skin.classes[u"P"] = {drawnCalculatorLayout()};
        writeSkin(skin);
        createPanel();
        ASSERT_TRUE(showFirstLayoutWith(LF_CALC));
    }
    IMINFO info{};
    panel->LayoutPanel(info);
    for (WORD code :
         {WORD{2}, WORD{CalcAdd}, WORD{3}, WORD{CalcMultiply}, WORD{4}, WORD{CalcEquals}})
        press(code);
    EXPECT_EQ(panel->calcText, u"20");
    EXPECT_EQ(CalcDisplayText(*panel), u"20.");
    saveScreenshot(fromDefaultSkin ? "calculator-default-skin.png" : "calculator-test-layout.png");
}
