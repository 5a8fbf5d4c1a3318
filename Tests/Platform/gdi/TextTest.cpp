// Text: fonts and their metrics, extents, alignment of drawn text, DrawTextW's formats, the
// missing-glyph box, and fonts whose file is missing.
#include <device/Fonts.h>
#include <winbase.h>

#include <cstdlib>
#include <string>

#include "GdiTestSupport.h"

namespace {

using gditest::MemoryCanvas;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

HFONT makeFont(LONG height, LONG weight = FW_NORMAL, const char16_t* face = u"Tahoma") {
    LOGFONTW f{};
    f.lfHeight = height;
    f.lfWeight = weight;
    for (int i = 0; face[i] != 0 && i < LF_FACESIZE - 1; ++i) {
        f.lfFaceName[i] = face[i];
    }
    return CreateFontIndirectW(&f);
}

// The smallest rectangle holding every pixel that is not `background`; empty when none.
RECT inkBounds(const MemoryCanvas& canvas, int width, int height, COLORREF background) {
    RECT b{width, height, 0, 0};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (canvas.at(x, y) != background) {
                b.left = std::min<LONG>(b.left, x);
                b.top = std::min<LONG>(b.top, y);
                b.right = std::max<LONG>(b.right, x + 1);
                b.bottom = std::max<LONG>(b.bottom, y + 1);
            }
        }
    }
    if (b.right <= b.left) {
        return RECT{0, 0, 0, 0};
    }
    return b;
}

class TextCanvas : public ::testing::Test {
protected:
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 60;
    void SetUp() override {
        font = makeFont(-16);
        ASSERT_NE(font, nullptr);
        oldFont = SelectObject(canvas.dc, font);
        SetBkMode(canvas.dc, TRANSPARENT);
    }
    void TearDown() override {
        SelectObject(canvas.dc, oldFont);
        DeleteObject(font);
    }
    RECT ink() const { return inkBounds(canvas, kWidth, kHeight, kWhite); }
    void clear() { canvas.fill(RECT{0, 0, kWidth, kHeight}, kWhite); }

    MemoryCanvas canvas{kWidth, kHeight, kWhite};
    HFONT font = nullptr;
    HGDIOBJ oldFont = nullptr;
};

TEST_F(TextCanvas, MetricsMatchTheRequestedCharacterHeight) {
    TEXTMETRICW tm{};
    ASSERT_TRUE(GetTextMetricsW(canvas.dc, &tm));
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 16);  // a negative height is the em
    EXPECT_GT(tm.tmAveCharWidth, 0);
    EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
    // A positive height asks for the whole cell.
    HFONT cell = makeFont(tm.tmHeight);
    HGDIOBJ previous = SelectObject(canvas.dc, cell);
    TEXTMETRICW tm2{};
    ASSERT_TRUE(GetTextMetricsW(canvas.dc, &tm2));
    EXPECT_EQ(tm2.tmHeight, tm.tmHeight);
    SelectObject(canvas.dc, previous);
    DeleteObject(cell);
    WCHAR name[LF_FACESIZE] = {};
    EXPECT_EQ(GetTextFaceW(canvas.dc, LF_FACESIZE, name), 6);
    EXPECT_EQ(std::u16string(name), u"Tahoma");
}

TEST_F(TextCanvas, PartialExtentsAddUpAndTheFitCountStopsAtTheMaximum) {
    const std::u16string text = u"Kelvo types";
    int n = static_cast<int>(text.size());
    std::vector<int> partial(text.size());
    int fit = -1;
    SIZE size{};
    ASSERT_TRUE(
        GetTextExtentExPointW(canvas.dc, text.data(), n, 100000, &fit, partial.data(), &size));
    EXPECT_EQ(fit, n);
    EXPECT_EQ(partial.back(), size.cx);
    TEXTMETRICW tm{};
    GetTextMetricsW(canvas.dc, &tm);
    EXPECT_EQ(size.cy, tm.tmHeight);
    int previous = 0;
    for (int i = 0; i < n; ++i) {
        int width = 0;
        ASSERT_TRUE(GetCharWidth32W(canvas.dc, text[i], text[i], &width));
        EXPECT_EQ(partial[i] - previous, width) << i;
        previous = partial[i];
    }
    // Exactly the extent of five characters fits five; one pixel less fits four.
    ASSERT_TRUE(
        GetTextExtentExPointW(canvas.dc, text.data(), n, partial[4], &fit, nullptr, nullptr));
    EXPECT_EQ(fit, 5);
    ASSERT_TRUE(
        GetTextExtentExPointW(canvas.dc, text.data(), n, partial[4] - 1, &fit, nullptr, nullptr));
    EXPECT_EQ(fit, 4);
    ASSERT_TRUE(GetTextExtentExPointW(canvas.dc, text.data(), n, -1, &fit, nullptr, nullptr));
    EXPECT_EQ(fit, 0);
    SIZE whole{};
    ASSERT_TRUE(GetTextExtentPoint32W(canvas.dc, text.data(), n, &whole));
    EXPECT_EQ(whole.cx, size.cx);
    EXPECT_FALSE(GetTextExtentPoint32W(canvas.dc, text.data(), -3, &whole));
    EXPECT_FALSE(GetTextExtentPoint32W(canvas.dc, nullptr, 3, &whole));
}

TEST_F(TextCanvas, RightAlignedTextEndsAtThePenPosition) {
    SIZE size{};
    GetTextExtentPoint32W(canvas.dc, u"HHH", 3, &size);
    EXPECT_EQ(SetTextAlign(canvas.dc, TA_RIGHT | TA_TOP), static_cast<UINT>(TA_LEFT | TA_TOP));
    EXPECT_EQ(GetTextAlign(canvas.dc), static_cast<UINT>(TA_RIGHT));
    ASSERT_TRUE(TextOutW(canvas.dc, 150, 5, u"HHH", 3));
    RECT r = ink();
    // The ink ends left of x = 150, within the last H's side bearing, and starts after the
    // text's left edge.
    EXPECT_LE(r.right, 150);
    EXPECT_GE(r.right, 150 - 3);
    EXPECT_GE(r.left, 150 - size.cx);
    EXPECT_LE(r.left, 150 - size.cx + 3);
    EXPECT_GE(r.top, 5);

    // Left-aligned text starts at the pen position instead.
    clear();
    SetTextAlign(canvas.dc, TA_LEFT | TA_TOP);
    TextOutW(canvas.dc, 150, 5, u"HHH", 3);
    RECT l = ink();
    EXPECT_GE(l.left, 150);
    EXPECT_LE(l.left, 153);

    // Centred text straddles it; with TA_UPDATECP the pen moves left past the text.
    clear();
    SetTextAlign(canvas.dc, TA_CENTER);
    TextOutW(canvas.dc, 100, 5, u"HHH", 3);
    RECT c = ink();
    EXPECT_LT(c.left, 100);
    EXPECT_GT(c.right, 100);
    SetTextAlign(canvas.dc, TA_RIGHT | TA_UPDATECP);
    MoveToEx(canvas.dc, 120, 5, nullptr);
    TextOutW(canvas.dc, 0, 0, u"HHH", 3);
    POINT p{};
    GetCurrentPositionEx(canvas.dc, &p);
    EXPECT_EQ(p.x, 120 - size.cx);
}

TEST_F(TextCanvas, BaselineAlignmentPutsTheBaselineOnTheGivenRow) {
    SetTextAlign(canvas.dc, TA_LEFT | TA_BASELINE);
    TextOutW(canvas.dc, 10, 40, u"H", 1);
    RECT r = ink();
    EXPECT_EQ(r.bottom, 40);  // H sits on the baseline
    clear();
    TEXTMETRICW tm{};
    GetTextMetricsW(canvas.dc, &tm);
    SetTextAlign(canvas.dc, TA_LEFT | TA_BOTTOM);
    TextOutW(canvas.dc, 10, 40, u"H", 1);
    EXPECT_EQ(ink().bottom, 40 - tm.tmDescent);
}

TEST_F(TextCanvas, TextIsAntiAliasedInTheTextColour) {
    SetTextColor(canvas.dc, RGB(200, 0, 0));
    TextOutW(canvas.dc, 5, 5, u"Kelvo", 5);
    bool solid = false;
    bool partial = false;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            COLORREF c = canvas.at(x, y);
            solid |= c == RGB(200, 0, 0);
            partial |= c != kWhite && c != RGB(200, 0, 0);
            // Every blend lies between white and the text colour.
            EXPECT_EQ(GetGValue(c), GetBValue(c));
        }
    }
    EXPECT_TRUE(solid);
    EXPECT_TRUE(partial);
}

TEST_F(TextCanvas, OpaqueAndClippedExtTextOut) {
    SetBkColor(canvas.dc, RGB(0, 255, 0));
    RECT box{20, 10, 40, 30};
    ASSERT_TRUE(
        ExtTextOutW(canvas.dc, 22, 12, ETO_OPAQUE | ETO_CLIPPED, &box, u"WWWWWW", 6, nullptr));
    EXPECT_EQ(canvas.at(20, 10), RGB(0, 255, 0));
    EXPECT_EQ(canvas.at(39, 29), RGB(0, 255, 0));
    EXPECT_EQ(canvas.at(40, 15), kWhite);
    RECT r = ink();
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.right, 40);  // the W's past x = 40 are cut off

    // Background mode OPAQUE fills the text's cell; per-character advances space it out.
    clear();
    SetBkMode(canvas.dc, OPAQUE);
    const INT advances[3] = {30, 30, 30};
    ExtTextOutW(canvas.dc, 10, 10, 0, nullptr, u"iii", 3, advances);
    TEXTMETRICW tm{};
    GetTextMetricsW(canvas.dc, &tm);
    RECT cell = ink();
    EXPECT_EQ(cell.left, 10);
    EXPECT_EQ(cell.right, 100);
    EXPECT_EQ(cell.bottom - cell.top, tm.tmHeight);
}

TEST_F(TextCanvas, DrawTextCentresASingleLineWithOrWithoutSingleLine) {
    RECT rect{0, 0, kWidth, kHeight};
    TEXTMETRICW tm{};
    GetTextMetricsW(canvas.dc, &tm);
    int topHeight = DrawTextW(canvas.dc, u"Hg", -1, &rect, DT_LEFT | DT_TOP);
    EXPECT_EQ(topHeight, tm.tmHeight);
    RECT atTop = ink();
    int offset = (kHeight - tm.tmHeight) / 2;
    for (UINT format : {UINT{DT_VCENTER | DT_SINGLELINE}, UINT{DT_VCENTER}}) {
        clear();
        int height = DrawTextW(canvas.dc, u"Hg", -1, &rect, format);
        EXPECT_EQ(height, offset + tm.tmHeight) << format;
        RECT centred = ink();
        EXPECT_EQ(centred.top, atTop.top + offset) << format;
        EXPECT_EQ(centred.bottom, atTop.bottom + offset) << format;
        EXPECT_EQ(centred.left, atTop.left) << format;
    }
    clear();
    DrawTextW(canvas.dc, u"Hg", -1, &rect, DT_BOTTOM | DT_SINGLELINE | DT_RIGHT);
    RECT bottomRight = ink();
    EXPECT_EQ(bottomRight.bottom, atTop.bottom + kHeight - tm.tmHeight);
    EXPECT_GT(bottomRight.left, kWidth / 2);
    EXPECT_LE(bottomRight.right, kWidth);
    // Two lines are not centred: they start at the top as on Windows.
    clear();
    DrawTextW(canvas.dc, u"Hg\nHg", -1, &rect, DT_VCENTER);
    EXPECT_EQ(ink().top, atTop.top);
}

TEST_F(TextCanvas, DrawTextCalcRectMeasuresWithoutDrawing) {
    SIZE hello{};
    GetTextExtentPoint32W(canvas.dc, u"Hello", 5, &hello);
    TEXTMETRICW tm{};
    GetTextMetricsW(canvas.dc, &tm);
    RECT r{10, 10, 1000, 1000};
    EXPECT_EQ(DrawTextW(canvas.dc, u"Hello", 5, &r, DT_CALCRECT | DT_SINGLELINE), tm.tmHeight);
    EXPECT_EQ(r.right, 10 + hello.cx);
    EXPECT_EQ(r.bottom, 10 + tm.tmHeight);
    EXPECT_EQ(ink().right, 0);  // nothing drawn

    SIZE widest{};
    GetTextExtentPoint32W(canvas.dc, u"ccc", 3, &widest);
    r = RECT{0, 0, 1000, 1000};
    EXPECT_EQ(DrawTextW(canvas.dc, u"a\r\nbb\nccc", -1, &r, DT_CALCRECT), 3 * tm.tmHeight);
    EXPECT_EQ(r.right, widest.cx);

    // Word breaking: each word on its own line in a narrow rectangle; '&' is not drawn.
    SIZE word{};
    GetTextExtentPoint32W(canvas.dc, u"word", 4, &word);
    r = RECT{0, 0, word.cx + 2, 1000};
    EXPECT_EQ(DrawTextW(canvas.dc, u"word w&ord word", -1, &r, DT_CALCRECT | DT_WORDBREAK),
              3 * tm.tmHeight);
    EXPECT_EQ(r.right, word.cx);
    r = RECT{0, 0, word.cx + 2, 1000};
    EXPECT_EQ(DrawTextW(canvas.dc, u"word w&ord", -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX),
              2 * tm.tmHeight);
    EXPECT_GT(r.right, word.cx);  // with the '&' kept the second word is wider
    // A single line ignores line feeds.
    r = RECT{0, 0, 1000, 1000};
    EXPECT_EQ(DrawTextW(canvas.dc, u"a\nb", -1, &r, DT_CALCRECT | DT_SINGLELINE), tm.tmHeight);
    EXPECT_EQ(DrawTextW(canvas.dc, nullptr, 3, &r, DT_CALCRECT), 0);
    EXPECT_EQ(DrawTextW(canvas.dc, u"a", 1, nullptr, DT_CALCRECT), 0);
}

TEST_F(TextCanvas, DrawTextClipsToItsRectangleUnlessNoClip) {
    RECT r{0, 0, 12, kHeight};
    DrawTextW(canvas.dc, u"WWWW", -1, &r, DT_SINGLELINE);
    EXPECT_LE(ink().right, 12);
    clear();
    DrawTextW(canvas.dc, u"WWWW", -1, &r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(ink().right, 12);
    // An end ellipsis keeps the line inside the rectangle.
    clear();
    r = RECT{0, 0, 60, kHeight};
    DrawTextW(canvas.dc, u"WWWWWWWWWWWW", -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    EXPECT_LE(ink().right, 60);
    EXPECT_GT(ink().right, 30);
}

TEST_F(TextCanvas, AnUnmappedCodePointIsDrawnAsTheMissingGlyphBox) {
    const char16_t missing[] = {0x0378, 0};  // unassigned: no font has it
    SetTextColor(canvas.dc, kBlack);
    TextOutW(canvas.dc, 20, 10, missing, 1);
    RECT box = ink();
    ASSERT_GT(box.right - box.left, 4);
    ASSERT_GT(box.bottom - box.top, 6);
    // A hollow rectangle: ink along its four edges, none in its middle.
    int midX = (box.left + box.right) / 2;
    int midY = (box.top + box.bottom) / 2;
    EXPECT_NE(canvas.at(box.left, midY), kWhite);
    EXPECT_NE(canvas.at(box.right - 1, midY), kWhite);
    EXPECT_NE(canvas.at(midX, box.top), kWhite);
    EXPECT_NE(canvas.at(midX, box.bottom - 1), kWhite);
    EXPECT_EQ(canvas.at(midX, midY), kWhite);
    // A lone surrogate is missing too, and as wide.
    int boxWidth = 0;
    int surrogateWidth = 0;
    GetCharWidth32W(canvas.dc, 0x0378, 0x0378, &boxWidth);
    GetCharWidth32W(canvas.dc, 0xD800, 0xD800, &surrogateWidth);
    EXPECT_EQ(surrogateWidth, boxWidth);
}

TEST(Fonts, FaceNamesAndWeightsChooseTheirFonts) {
    MemoryCanvas canvas(10, 10);
    auto widthOf = [&](HFONT font, const char16_t* text) {
        HGDIOBJ old = SelectObject(canvas.dc, font);
        SIZE s{};
        GetTextExtentPoint32W(canvas.dc, text, static_cast<int>(std::u16string(text).size()), &s);
        SelectObject(canvas.dc, old);
        DeleteObject(font);
        return s.cx;
    };
    LONG regular = widthOf(makeFont(-20), u"Farsi text");
    // The dialog font is the condensed face, as narrow as the device's.
    EXPECT_LT(widthOf(makeFont(-20, FW_NORMAL, u"MS Shell Dlg"), u"Farsi text"), regular);
    EXPECT_EQ(widthOf(makeFont(-20, FW_NORMAL, u"arial"), u"Farsi text"), regular);
    EXPECT_GT(widthOf(makeFont(-20, FW_BOLD), u"Farsi text"), regular);
    // The monospaced face gives every character the same advance.
    EXPECT_EQ(widthOf(makeFont(-20, FW_NORMAL, u"Courier New"), u"iiii"),
              widthOf(makeFont(-20, FW_NORMAL, u"Courier New"), u"WWWW"));
    EXPECT_LT(widthOf(makeFont(-20), u"iiii"), widthOf(makeFont(-20), u"WWWW"));
}

TEST(Fonts, AMissingFontFileFailsFontCreationCleanly) {
    device::setFontDirectory("/nonexistent/fonts");
    SetLastError(0);
    EXPECT_EQ(makeFont(-12), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(CreateFontW(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, u"Tahoma"), nullptr);
    EXPECT_EQ(CreateFontIndirectW(nullptr), nullptr);
}

// A device that starts without its font files cannot make a DC's default font either: such a
// DC measures and draws nothing, and says so. In a process of its own, because the default
// font is made once, by the first DC of the device.
TEST(Fonts, ADeviceStartedWithoutFontsHasDCsThatMeasureAndDrawNothing) {
    auto measureAndDraw = [] {
        device::setFontDirectory("/nonexistent/fonts");
        MemoryCanvas canvas(10, 10);
        SIZE s{};
        RECT r{0, 0, 10, 10};
        const bool nothing = !GetTextExtentPoint32W(canvas.dc, u"x", 1, &s) &&
                             !TextOutW(canvas.dc, 0, 0, u"x", 1) &&
                             DrawTextW(canvas.dc, u"x", 1, &r, 0) == 0;
        std::_Exit(nothing ? 0 : 1);
    };
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(measureAndDraw(), ::testing::ExitedWithCode(0), "");
}

}  // namespace

namespace {

TEST(Text, GlyphIndexStringsAreRefused) {
    gditest::MemoryCanvas canvas(10, 10);
    EXPECT_FALSE(ExtTextOutW(canvas.dc, 0, 0, ETO_GLYPH_INDEX, nullptr, u"\x0024", 1, nullptr));
    EXPECT_EQ(canvas.at(5, 5), RGB(255, 255, 255));
}

}  // namespace
