// Blits: copies into window-like surface DCs with an origin and a clip, black outside the
// source, raster operations, stretching, colour keys, DIB sections and monochrome sources.
#include <cstring>

#include "GdiTestSupport.h"
#include "gdi/Region.h"
#include "gdi/WindowDC.h"

namespace {

using gditest::MemoryCanvas;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

COLORREF surfaceAt(const platform::Surface& s, int x, int y) {
    return platform::colorrefFromPixel(s.pixel(x, y));
}

TEST(BitBlt, CopiesAPieceToAnOffsetInAWindowDCWithOriginAndClip) {
    platform::Surface screen(100, 80);
    screen.fill(0x00FFFFFF);
    // A window whose client origin is at (20, 10), visible only in (25, 15)-(60, 50).
    HDC window =
        platform::createSurfaceDC(screen, POINT{20, 10}, platform::Region(RECT{25, 15, 60, 50}));
    ASSERT_NE(window, nullptr);
    MemoryCanvas source(40, 40, kBlue);
    source.fill(RECT{10, 10, 20, 20}, kRed);

    ASSERT_TRUE(BitBlt(window, 5, 5, 10, 10, source.dc, 10, 10, SRCCOPY));
    EXPECT_EQ(surfaceAt(screen, 25, 15), kRed);
    EXPECT_EQ(surfaceAt(screen, 34, 24), kRed);
    EXPECT_EQ(surfaceAt(screen, 35, 24), kWhite);
    EXPECT_EQ(surfaceAt(screen, 34, 25), kWhite);
    EXPECT_EQ(surfaceAt(screen, 24, 15), kWhite);

    // A copy that reaches past the visible region is cut at its edge.
    ASSERT_TRUE(BitBlt(window, 30, 30, 20, 20, source.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(surfaceAt(screen, 50, 40), kBlue);
    EXPECT_EQ(surfaceAt(screen, 59, 49), kBlue);
    EXPECT_EQ(surfaceAt(screen, 60, 45), kWhite);
    EXPECT_EQ(surfaceAt(screen, 55, 50), kWhite);

    // A new visible region takes effect for the next drawing.
    ASSERT_TRUE(platform::setDCClip(window, platform::Region(RECT{0, 0, 100, 80})));
    ASSERT_TRUE(BitBlt(window, 30, 30, 20, 20, source.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(surfaceAt(screen, 50, 59), kBlue);
    EXPECT_EQ(surfaceAt(screen, 69, 59), kRed);
    EXPECT_TRUE(platform::releaseSurfaceDC(window));
    EXPECT_FALSE(platform::releaseSurfaceDC(window));
}

TEST(BitBlt, ReadingOutsideTheSourceGivesBlack) {
    MemoryCanvas source(10, 10, kWhite);
    MemoryCanvas dest(20, 20, kRed);
    ASSERT_TRUE(BitBlt(dest.dc, 0, 0, 20, 20, source.dc, -5, -5, SRCCOPY));
    EXPECT_EQ(dest.at(0, 0), kBlack);
    EXPECT_EQ(dest.at(4, 10), kBlack);
    EXPECT_EQ(dest.at(5, 5), kWhite);
    EXPECT_EQ(dest.at(14, 14), kWhite);
    EXPECT_EQ(dest.at(15, 14), kBlack);
    EXPECT_EQ(dest.at(19, 19), kBlack);
}

TEST(BitBlt, RasterOperationsCombineSourceDestinationAndBrush) {
    MemoryCanvas source(4, 1, RGB(0x0F, 0xF0, 0x55));
    MemoryCanvas dest(4, 1, RGB(0x33, 0x33, 0x33));
    auto blitAt = [&](DWORD rop) {
        dest.fill(RECT{0, 0, 4, 1}, RGB(0x33, 0x33, 0x33));
        EXPECT_TRUE(BitBlt(dest.dc, 0, 0, 4, 1, source.dc, 0, 0, rop));
        return dest.at(2, 0);
    };
    EXPECT_EQ(blitAt(SRCCOPY), RGB(0x0F, 0xF0, 0x55));
    EXPECT_EQ(blitAt(SRCINVERT), RGB(0x0F ^ 0x33, 0xF0 ^ 0x33, 0x55 ^ 0x33));
    EXPECT_EQ(blitAt(SRCAND), RGB(0x0F & 0x33, 0xF0 & 0x33, 0x55 & 0x33));
    EXPECT_EQ(blitAt(SRCPAINT), RGB(0x0F | 0x33, 0xF0 | 0x33, 0x55 | 0x33));
    EXPECT_EQ(blitAt(DSTINVERT), RGB(0xCC, 0xCC, 0xCC));
    EXPECT_EQ(blitAt(BLACKNESS), kBlack);
    EXPECT_EQ(blitAt(WHITENESS), kWhite);
    EXPECT_EQ(blitAt(NOTSRCCOPY), RGB(0xF0, 0x0F, 0xAA));
    HBRUSH brush = CreateSolidBrush(RGB(0x80, 0x01, 0xFF));
    HGDIOBJ oldBrush = SelectObject(dest.dc, brush);
    EXPECT_EQ(blitAt(PATCOPY), RGB(0x80, 0x01, 0xFF));
    EXPECT_EQ(blitAt(PATINVERT), RGB(0x80 ^ 0x33, 0x01 ^ 0x33, 0xFF ^ 0x33));
    dest.fill(RECT{0, 0, 4, 1}, kWhite);
    EXPECT_TRUE(PatBlt(dest.dc, 3, 1, -2, -1, PATCOPY));  // negative extents reach back
    EXPECT_EQ(dest.at(0, 0), kWhite);
    EXPECT_EQ(dest.at(1, 0), RGB(0x80, 0x01, 0xFF));
    EXPECT_EQ(dest.at(2, 0), RGB(0x80, 0x01, 0xFF));
    EXPECT_EQ(dest.at(3, 0), kWhite);
    SelectObject(dest.dc, oldBrush);
    DeleteObject(brush);
    // An operation that reads a source needs one.
    EXPECT_FALSE(BitBlt(dest.dc, 0, 0, 4, 1, nullptr, 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(dest.dc, 0, 0, 4, 1, nullptr, 0, 0, BLACKNESS));
}

TEST(BitBlt, SrcInvertTwiceRestoresTheDestination) {
    MemoryCanvas source(8, 8, RGB(12, 200, 77));
    MemoryCanvas dest(8, 8, RGB(90, 10, 250));
    dest.fill(RECT{2, 2, 6, 6}, RGB(1, 2, 3));
    BitBlt(dest.dc, 0, 0, 8, 8, source.dc, 0, 0, SRCINVERT);
    EXPECT_EQ(dest.at(0, 0), RGB(90 ^ 12, 10 ^ 200, 250 ^ 77));
    BitBlt(dest.dc, 0, 0, 8, 8, source.dc, 0, 0, SRCINVERT);
    EXPECT_EQ(dest.at(0, 0), RGB(90, 10, 250));
    EXPECT_EQ(dest.at(3, 3), RGB(1, 2, 3));
}

TEST(BitBlt, OverlappingCopyWithinOneBitmapMovesThePicture) {
    MemoryCanvas canvas(10, 10, kWhite);
    for (int x = 0; x < 10; ++x) {
        canvas.fill(RECT{x, 0, x + 1, 10}, RGB(x * 20, 0, 0));
    }
    ASSERT_TRUE(BitBlt(canvas.dc, 1, 1, 9, 9, canvas.dc, 0, 0, SRCCOPY));
    for (int x = 1; x < 10; ++x) {
        EXPECT_EQ(canvas.at(x, 5), RGB((x - 1) * 20, 0, 0)) << x;
    }
    EXPECT_EQ(canvas.at(0, 5), RGB(0, 0, 0));
}

TEST(StretchBlt, NearestNeighbourScalingAndMirroring) {
    MemoryCanvas source(2, 2, kWhite);
    source.fill(RECT{0, 0, 1, 1}, kRed);
    source.fill(RECT{1, 0, 2, 1}, kBlue);
    source.fill(RECT{0, 1, 1, 2}, kBlack);
    MemoryCanvas dest(8, 8, RGB(9, 9, 9));
    ASSERT_TRUE(StretchBlt(dest.dc, 0, 0, 4, 4, source.dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(dest.at(0, 0), kRed);
    EXPECT_EQ(dest.at(1, 1), kRed);
    EXPECT_EQ(dest.at(2, 0), kBlue);
    EXPECT_EQ(dest.at(3, 1), kBlue);
    EXPECT_EQ(dest.at(1, 3), kBlack);
    EXPECT_EQ(dest.at(3, 3), kWhite);
    EXPECT_EQ(dest.at(4, 0), RGB(9, 9, 9));
    // A negative destination width mirrors left and right.
    ASSERT_TRUE(StretchBlt(dest.dc, 8, 4, -4, 4, source.dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(dest.at(4, 4), kBlue);
    EXPECT_EQ(dest.at(7, 4), kRed);
    // Shrinking picks one source pixel per destination pixel.
    MemoryCanvas big(8, 8, kBlue);
    big.fill(RECT{0, 0, 4, 8}, kRed);
    ASSERT_TRUE(StretchBlt(dest.dc, 0, 0, 2, 1, big.dc, 0, 0, 8, 8, SRCCOPY));
    EXPECT_EQ(dest.at(0, 0), kRed);
    EXPECT_EQ(dest.at(1, 0), kBlue);
}

TEST(TransparentBlt, TheKeyColourLeavesTheDestinationShowing) {
    MemoryCanvas source(4, 4, RGB(192, 192, 192));
    source.fill(RECT{1, 1, 3, 3}, kRed);
    MemoryCanvas dest(4, 4, kBlue);
    ASSERT_TRUE(TransparentBlt(dest.dc, 0, 0, 4, 4, source.dc, 0, 0, 4, 4, RGB(192, 192, 192)));
    EXPECT_EQ(dest.at(0, 0), kBlue);
    EXPECT_EQ(dest.at(1, 1), kRed);
    EXPECT_EQ(dest.at(3, 3), kBlue);
    // TransparentImage also takes a bitmap as its source.
    MemoryCanvas dest2(4, 4, kBlue);
    SelectObject(source.dc, source.old);
    ASSERT_TRUE(
        TransparentImage(dest2.dc, 0, 0, 4, 4, source.bitmap, 0, 0, 4, 4, RGB(192, 192, 192)));
    SelectObject(source.dc, source.bitmap);
    EXPECT_EQ(dest2.at(2, 2), kRed);
    EXPECT_EQ(dest2.at(0, 3), kBlue);
}

TEST(DibSection, BottomUpThirtyTwoBitRowsAreReversedInMemory) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 3;
    info.bmiHeader.biHeight = 2;  // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(dib, nullptr);
    ASSERT_NE(bits, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    SetPixel(dc, 0, 0, RGB(1, 2, 3));  // top row, first pixel
    auto* words = static_cast<uint32_t*>(bits);
    EXPECT_EQ(words[3], 0x00010203u);  // the top row is the second in memory
    words[2] = 0x00AABBCC;             // bottom row, last pixel
    EXPECT_EQ(GetPixel(dc, 2, 1), RGB(0xAA, 0xBB, 0xCC));
    BITMAP bm{};
    EXPECT_EQ(GetObjectW(dib, sizeof(bm), &bm), static_cast<int>(sizeof(bm)));
    EXPECT_EQ(bm.bmBits, bits);
    EXPECT_EQ(bm.bmWidthBytes, 12);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(dib);
}

TEST(DibSection, TwentyFourBitBitsAreKeptInStepWithDrawing) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 3;
    info.bmiHeader.biHeight = -2;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(dib, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    RECT r{1, 1, 2, 2};
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    FillRect(dc, &r, brush);
    auto* bytes = static_cast<uint8_t*>(bits);
    // Rows are padded to 4 bytes: 9 bytes of pixels, 12 per row. Blue comes first.
    EXPECT_EQ(bytes[12 + 3], 30);
    EXPECT_EQ(bytes[12 + 4], 20);
    EXPECT_EQ(bytes[12 + 5], 10);
    bytes[0] = 0x11;
    bytes[1] = 0x22;
    bytes[2] = 0x33;
    MemoryCanvas dest(3, 2, kWhite);
    BitBlt(dest.dc, 0, 0, 3, 2, dc, 0, 0, SRCCOPY);
    EXPECT_EQ(dest.at(0, 0), RGB(0x33, 0x22, 0x11));
    EXPECT_EQ(dest.at(1, 1), RGB(10, 20, 30));
    SelectObject(dc, old);
    DeleteObject(brush);
    DeleteDC(dc);
    DeleteObject(dib);
}

TEST(DibSection, MalformedHeadersAreRefused) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 100000;
    info.bmiHeader.biHeight = 100000;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = reinterpret_cast<void*>(1);
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(bits, nullptr);
    info.bmiHeader.biWidth = 4;
    info.bmiHeader.biHeight = INT32_MIN;
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    info.bmiHeader.biHeight = 4;
    info.bmiHeader.biBitCount = 8;
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    info.bmiHeader.biBitCount = 32;
    // Bit fields other than the plain 0x00RRGGBB layout are refused; the plain one is taken.
    struct {
        BITMAPINFOHEADER header;
        DWORD masks[3];
    } fields{info.bmiHeader, {0xF800, 0x07E0, 0x001F}};
    fields.header.biCompression = BI_BITFIELDS;
    auto* asInfo = reinterpret_cast<BITMAPINFO*>(&fields);
    EXPECT_EQ(CreateDIBSection(nullptr, asInfo, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    fields.masks[0] = 0xFF0000;
    fields.masks[1] = 0xFF00;
    fields.masks[2] = 0xFF;
    HBITMAP plain = CreateDIBSection(nullptr, asInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
    EXPECT_NE(plain, nullptr);
    DeleteObject(plain);
    info.bmiHeader.biSize = 12;
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(CreateBitmap(-1, 5, 1, 32, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(5, 5, 1, 7, nullptr), nullptr);
}

TEST(MonochromeBitmap, BlitsInTheDestinationsTextAndBackgroundColours) {
    const uint8_t row[2] = {0xF0, 0x00};  // 4 set bits, then 4 clear (rows padded to 16 bits)
    HBITMAP mono = CreateBitmap(8, 1, 1, 1, row);
    ASSERT_NE(mono, nullptr);
    HDC monoDC = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(monoDC, mono);
    MemoryCanvas dest(8, 1, kWhite);
    SetTextColor(dest.dc, kRed);
    SetBkColor(dest.dc, kBlue);
    BitBlt(dest.dc, 0, 0, 8, 1, monoDC, 0, 0, SRCCOPY);
    EXPECT_EQ(dest.at(0, 0), kBlue);  // 1 bits take the background colour
    EXPECT_EQ(dest.at(3, 0), kBlue);
    EXPECT_EQ(dest.at(4, 0), kRed);  // 0 bits the text colour
    // Into a monochrome bitmap, the source's background colour becomes white.
    MemoryCanvas colour(8, 1, kBlue);
    colour.fill(RECT{0, 0, 2, 1}, kRed);
    SetBkColor(colour.dc, kBlue);
    BitBlt(monoDC, 0, 0, 8, 1, colour.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(GetPixel(monoDC, 0, 0), kBlack);
    EXPECT_EQ(GetPixel(monoDC, 5, 0), kWhite);
    SelectObject(monoDC, old);
    DeleteDC(monoDC);
    DeleteObject(mono);
}

TEST(Blend, PixelsBlendByAlphaAndStayInsideTheClip) {
    MemoryCanvas canvas(4, 2, kWhite);
    IntersectClipRect(canvas.dc, 0, 0, 3, 2);
    const uint32_t pixels[4] = {0xFF0000FF, 0x80000000, 0x00FF0000, 0xFFFF0000};
    ASSERT_TRUE(platform::blendPixels(canvas.dc, 0, 0, pixels, 4, 1, 4));
    EXPECT_EQ(canvas.at(0, 0), kBlue);
    EXPECT_EQ(canvas.at(1, 0), RGB(127, 127, 127));
    EXPECT_EQ(canvas.at(2, 0), kWhite);  // fully transparent
    EXPECT_EQ(canvas.at(3, 0), kWhite);  // clipped away
    ASSERT_TRUE(platform::copyPixels(canvas.dc, 1, 1, pixels, 2, 1, 4));
    EXPECT_EQ(canvas.at(1, 1), kBlue);
    EXPECT_EQ(canvas.at(2, 1), kBlack);                                    // copying ignores alpha
    EXPECT_FALSE(platform::copyPixels(canvas.dc, 0, 0, pixels, 4, 1, 2));  // stride too small
    EXPECT_FALSE(platform::blendPixels(nullptr, 0, 0, pixels, 4, 1, 4));
}

}  // namespace
