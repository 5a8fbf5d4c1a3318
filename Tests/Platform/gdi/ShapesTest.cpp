// Shapes and lines: which pixels the outline and the fill cover, inversion, Bresenham lines
// without their last pixel, pixels under a clip, and the viewport origin.
#include "GdiTestSupport.h"
#include "gdi/SystemColors.h"

namespace {

using gditest::MemoryCanvas;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

TEST(Rectangle, PenOutlinesBrushFillsRightAndBottomExclusive) {
    MemoryCanvas canvas(20, 20, kWhite);
    HPEN pen = CreatePen(PS_SOLID, 1, kRed);
    HBRUSH brush = CreateSolidBrush(kBlue);
    HGDIOBJ oldPen = SelectObject(canvas.dc, pen);
    HGDIOBJ oldBrush = SelectObject(canvas.dc, brush);
    ASSERT_TRUE(Rectangle(canvas.dc, 2, 3, 10, 12));
    EXPECT_EQ(canvas.at(2, 3), kRed);   // top-left corner
    EXPECT_EQ(canvas.at(9, 3), kRed);   // last column of the top edge
    EXPECT_EQ(canvas.at(9, 11), kRed);  // bottom-right corner is right - 1, bottom - 1
    EXPECT_EQ(canvas.at(2, 7), kRed);
    EXPECT_EQ(canvas.at(3, 4), kBlue);
    EXPECT_EQ(canvas.at(8, 10), kBlue);
    EXPECT_EQ(canvas.at(10, 5), kWhite);
    EXPECT_EQ(canvas.at(5, 12), kWhite);
    EXPECT_EQ(canvas.at(1, 3), kWhite);

    // Without a pen the filled area is one pixel smaller at the right and bottom.
    SelectObject(canvas.dc, GetStockObject(NULL_PEN));
    canvas.fill(RECT{0, 0, 20, 20}, kWhite);
    ASSERT_TRUE(Rectangle(canvas.dc, 2, 3, 10, 12));
    EXPECT_EQ(canvas.at(2, 3), kBlue);
    EXPECT_EQ(canvas.at(8, 10), kBlue);
    EXPECT_EQ(canvas.at(9, 5), kWhite);
    EXPECT_EQ(canvas.at(5, 11), kWhite);

    // A hollow brush leaves the inside alone.
    SelectObject(canvas.dc, pen);
    SelectObject(canvas.dc, GetStockObject(NULL_BRUSH));
    ASSERT_TRUE(Rectangle(canvas.dc, 0, 0, 20, 20));
    EXPECT_EQ(canvas.at(0, 0), kRed);
    EXPECT_EQ(canvas.at(19, 19), kRed);
    EXPECT_EQ(canvas.at(5, 5), kBlue);

    SelectObject(canvas.dc, oldPen);
    SelectObject(canvas.dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

TEST(InvertRect, InvertingTwiceRestoresThePixels) {
    MemoryCanvas canvas(10, 10, RGB(10, 100, 200));
    canvas.fill(RECT{3, 3, 6, 6}, RGB(250, 1, 77));
    RECT r{2, 2, 8, 8};
    ASSERT_TRUE(InvertRect(canvas.dc, &r));
    EXPECT_EQ(canvas.at(2, 2), RGB(245, 155, 55));
    EXPECT_EQ(canvas.at(4, 4), RGB(5, 254, 178));
    EXPECT_EQ(canvas.at(8, 8), RGB(10, 100, 200));
    ASSERT_TRUE(InvertRect(canvas.dc, &r));
    EXPECT_EQ(canvas.at(2, 2), RGB(10, 100, 200));
    EXPECT_EQ(canvas.at(4, 4), RGB(250, 1, 77));
    EXPECT_FALSE(InvertRect(canvas.dc, nullptr));
}

TEST(Lines, LineToLeavesOutTheLastPixelAndMovesThePen) {
    MemoryCanvas canvas(10, 10, kWhite);
    MoveToEx(canvas.dc, 1, 1, nullptr);
    ASSERT_TRUE(LineTo(canvas.dc, 6, 1));
    for (int x = 1; x < 6; ++x) {
        EXPECT_EQ(canvas.at(x, 1), kBlack) << x;
    }
    EXPECT_EQ(canvas.at(6, 1), kWhite);
    EXPECT_EQ(canvas.at(0, 1), kWhite);
    POINT p{};
    GetCurrentPositionEx(canvas.dc, &p);
    EXPECT_EQ(p.x, 6);
    // The next segment starts where the last one ended, so the corner is drawn.
    ASSERT_TRUE(LineTo(canvas.dc, 6, 5));
    EXPECT_EQ(canvas.at(6, 1), kBlack);
    EXPECT_EQ(canvas.at(6, 4), kBlack);
    EXPECT_EQ(canvas.at(6, 5), kWhite);

    MoveToEx(canvas.dc, 0, 9, nullptr);
    LineTo(canvas.dc, 4, 5);
    EXPECT_EQ(canvas.at(0, 9), kBlack);
    EXPECT_EQ(canvas.at(3, 6), kBlack);
    EXPECT_EQ(canvas.at(4, 5), kWhite);

    // A line from far away only costs its visible part.
    MoveToEx(canvas.dc, -200000000, 8, nullptr);
    LineTo(canvas.dc, 200000000, 8);
    EXPECT_EQ(canvas.at(0, 8), kBlack);
    EXPECT_EQ(canvas.at(9, 8), kBlack);
}

TEST(Lines, XorPenDrawsAndUndraws) {
    MemoryCanvas canvas(10, 10, RGB(0x12, 0x34, 0x56));
    HPEN pen = CreatePen(PS_SOLID, 1, kWhite);
    HGDIOBJ old = SelectObject(canvas.dc, pen);
    EXPECT_EQ(SetROP2(canvas.dc, R2_XORPEN), R2_COPYPEN);
    MoveToEx(canvas.dc, 0, 0, nullptr);
    LineTo(canvas.dc, 5, 0);
    EXPECT_EQ(canvas.at(2, 0), RGB(0xED, 0xCB, 0xA9));
    MoveToEx(canvas.dc, 0, 0, nullptr);
    LineTo(canvas.dc, 5, 0);
    EXPECT_EQ(canvas.at(2, 0), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(SetROP2(canvas.dc, 0), 0);
    SelectObject(canvas.dc, old);
    DeleteObject(pen);
}

TEST(Shapes, EllipseAndPolygonFillTheirInsidesOnly) {
    MemoryCanvas canvas(40, 40, kWhite);
    HBRUSH brush = CreateSolidBrush(kBlue);
    HGDIOBJ oldBrush = SelectObject(canvas.dc, brush);
    ASSERT_TRUE(Ellipse(canvas.dc, 0, 0, 20, 10));
    EXPECT_EQ(canvas.at(10, 5), kBlue);   // centre
    EXPECT_EQ(canvas.at(0, 5), kBlack);   // the pen at the left end
    EXPECT_EQ(canvas.at(10, 0), kBlack);  // and at the top
    EXPECT_EQ(canvas.at(0, 0), kWhite);   // corners stay
    EXPECT_EQ(canvas.at(19, 9), kWhite);
    EXPECT_EQ(canvas.at(20, 5), kWhite);

    SelectObject(canvas.dc, GetStockObject(NULL_PEN));
    const POINT triangle[3] = {{20, 20}, {39, 20}, {20, 39}};
    ASSERT_TRUE(Polygon(canvas.dc, triangle, 3));
    EXPECT_EQ(canvas.at(22, 22), kBlue);
    EXPECT_EQ(canvas.at(36, 36), kWhite);
    EXPECT_FALSE(Polygon(canvas.dc, triangle, 1));
    EXPECT_FALSE(Polygon(canvas.dc, nullptr, 3));

    SelectObject(canvas.dc, GetStockObject(BLACK_PEN));
    const POINT path[3] = {{0, 30}, {10, 30}, {10, 39}};
    ASSERT_TRUE(Polyline(canvas.dc, path, 3));
    EXPECT_EQ(canvas.at(5, 30), kBlack);
    EXPECT_EQ(canvas.at(10, 35), kBlack);
    EXPECT_EQ(canvas.at(10, 39), kWhite);
    SelectObject(canvas.dc, oldBrush);
    DeleteObject(brush);
}

TEST(Pixels, SetPixelHonoursTheClipAndTheViewportOrigin) {
    MemoryCanvas canvas(10, 10, kWhite);
    EXPECT_EQ(IntersectClipRect(canvas.dc, 0, 0, 5, 5), SIMPLEREGION);
    EXPECT_EQ(SetPixel(canvas.dc, 2, 2, kRed), kRed);
    EXPECT_EQ(SetPixel(canvas.dc, 7, 7, kRed), CLR_INVALID);
    EXPECT_EQ(canvas.at(7, 7), kWhite);
    EXPECT_EQ(GetPixel(canvas.dc, 2, 2), kRed);
    EXPECT_EQ(GetPixel(canvas.dc, 7, 7), CLR_INVALID);
    EXPECT_EQ(ExcludeClipRect(canvas.dc, 1, 1, 3, 3), COMPLEXREGION);
    EXPECT_EQ(SetPixel(canvas.dc, 2, 2, kBlue), CLR_INVALID);
    RECT box{};
    EXPECT_EQ(GetClipBox(canvas.dc, &box), COMPLEXREGION);
    EXPECT_EQ(box.right, 5);
    EXPECT_EQ(SelectClipRgn(canvas.dc, nullptr), SIMPLEREGION);
    EXPECT_NE(SetPixel(canvas.dc, 7, 7, kBlue), CLR_INVALID);

    // The viewport origin moves logical coordinates, and the clip box with them.
    SetViewportOrgEx(canvas.dc, 3, 4, nullptr);
    SetPixel(canvas.dc, 0, 0, kBlack);
    EXPECT_EQ(canvas.at(3, 4), kBlack);
    EXPECT_EQ(GetClipBox(canvas.dc, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, -3);
    EXPECT_EQ(box.top, -4);
    POINT previous{};
    OffsetViewportOrgEx(canvas.dc, 1, 1, &previous);
    EXPECT_EQ(previous.x, 3);
    GetViewportOrgEx(canvas.dc, &previous);
    EXPECT_EQ(previous.y, 5);
}

}  // namespace

namespace {

HBRUSH windowBrush(int index) {
    return index == 5 ? static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)) : nullptr;
}

TEST(FillRect, SystemColourIndexesPlusOneComeFromTheWindowManager) {
    MemoryCanvas canvas(4, 4, kWhite);
    RECT r{0, 0, 2, 2};
    // The window manager gives the system colours from the start: COLOR_BTNSHADOW + 1.
    EXPECT_EQ(FillRect(canvas.dc, &r, reinterpret_cast<HBRUSH>(uintptr_t{16 + 1})), 1);
    EXPECT_EQ(canvas.at(1, 1), RGB(128, 128, 128));
    canvas.fill(r, kWhite);
    // The brush is whatever the window manager's source gives for the index.
    auto colourWindow = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(5 + 1));
    platform::setSystemColorBrushSource(&windowBrush);
    EXPECT_EQ(FillRect(canvas.dc, &r, colourWindow), 1);
    EXPECT_EQ(canvas.at(1, 1), RGB(128, 128, 128));
    EXPECT_EQ(canvas.at(2, 2), kWhite);
    auto unknown = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(7 + 1));
    EXPECT_EQ(FillRect(canvas.dc, &r, unknown), 0);
}

}  // namespace
