// GDI objects behind handles: stale and made-up handles fail cleanly, selected objects cannot
// be deleted, GetObjectW describes each kind, stock objects, and the device's capabilities.
#include <device/Screen.h>
#include <winbase.h>

#include "GdiTestSupport.h"

namespace {

TEST(Handles, StaleAndMadeUpHandlesFailCleanly) {
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_NE(brush, nullptr);
    ASSERT_TRUE(DeleteObject(brush));
    HDC dc = CreateCompatibleDC(nullptr);
    RECT r{0, 0, 1, 1};
    LOGBRUSH lb{};
    SetLastError(0);
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(SelectObject(dc, brush), nullptr);
    EXPECT_EQ(GetObjectW(brush, sizeof(lb), &lb), 0);
    EXPECT_EQ(FillRect(dc, &r, brush), 0);
    EXPECT_EQ(GetObjectType(brush), 0u);

    // A new object may reuse the slot; the old handle still names nothing.
    HBRUSH again = CreateSolidBrush(RGB(4, 5, 6));
    EXPECT_NE(again, brush);
    EXPECT_EQ(GetObjectW(brush, sizeof(lb), &lb), 0);
    EXPECT_EQ(GetObjectW(again, sizeof(lb), &lb), static_cast<int>(sizeof(lb)));
    EXPECT_EQ(lb.lbColor, RGB(4, 5, 6));

    for (uintptr_t garbage : {uintptr_t{1}, uintptr_t{6}, uintptr_t{0x12345678},
                              uintptr_t{0xFFFFFFFF}, ~uintptr_t{0}, uintptr_t{0x7fff00001234}}) {
        auto h = reinterpret_cast<HGDIOBJ>(garbage);
        auto d = reinterpret_cast<HDC>(garbage);
        EXPECT_FALSE(DeleteObject(h));
        EXPECT_EQ(SelectObject(dc, h), nullptr);
        // 1 and 6 are system colours to FillRect, (HBRUSH)(COLOR_SCROLLBAR + 1) and
        // (HBRUSH)(COLOR_WINDOW + 1), which it paints with.
        EXPECT_EQ(FillRect(dc, &r, h), garbage == 1 || garbage == 6 ? 1 : 0);
        EXPECT_FALSE(DeleteDC(d));
        EXPECT_FALSE(BitBlt(d, 0, 0, 1, 1, dc, 0, 0, SRCCOPY));
        EXPECT_FALSE(BitBlt(dc, 0, 0, 1, 1, d, 0, 0, SRCCOPY));
        EXPECT_FALSE(TextOutW(d, 0, 0, u"x", 1));
        EXPECT_EQ(GetPixel(d, 0, 0), CLR_INVALID);
        EXPECT_EQ(SetTextColor(d, 0), CLR_INVALID);
        EXPECT_EQ(GetDeviceCaps(d, HORZRES), 0);
    }
    // A brush handle is not a DC, and a DC handle is not a brush.
    EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(again)));
    EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(dc)));

    ASSERT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_EQ(SelectObject(dc, again), nullptr);
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), 0);
    DeleteObject(again);
}

TEST(Handles, SelectedObjectsCannotBeDeletedAndBitmapsGoToOneDC) {
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(first, 4, 4);
    HGDIOBJ old = SelectObject(first, bitmap);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(GetObjectType(old), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_FALSE(DeleteObject(bitmap));
    EXPECT_EQ(SelectObject(second, bitmap), nullptr);
    EXPECT_EQ(GetCurrentObject(first, OBJ_BITMAP), bitmap);

    HPEN pen = CreatePen(PS_SOLID, 2, RGB(9, 9, 9));
    HGDIOBJ oldPen = SelectObject(first, pen);
    EXPECT_EQ(oldPen, GetStockObject(BLACK_PEN));
    EXPECT_FALSE(DeleteObject(pen));
    // Selecting the old objects back (SelectObject returns the new one) frees them.
    EXPECT_EQ(SelectObject(first, oldPen), pen);
    EXPECT_EQ(SelectObject(first, old), bitmap);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_TRUE(DeleteObject(bitmap));

    // Deleting a DC lets go of what it had selected.
    HBRUSH brush = CreateSolidBrush(0);
    SelectObject(second, brush);
    EXPECT_FALSE(DeleteObject(brush));
    DeleteDC(second);
    EXPECT_TRUE(DeleteObject(brush));
    DeleteDC(first);
}

TEST(Objects, GetObjectDescribesEachKind) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 7, 3);
    BITMAP bm{};
    EXPECT_EQ(GetObjectW(bitmap, 0, nullptr), static_cast<int>(sizeof(BITMAP)));
    EXPECT_EQ(GetObjectW(bitmap, sizeof(bm), &bm), static_cast<int>(sizeof(BITMAP)));
    EXPECT_EQ(bm.bmWidth, 7);
    EXPECT_EQ(bm.bmHeight, 3);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    EXPECT_EQ(bm.bmPlanes, 1);
    EXPECT_EQ(bm.bmWidthBytes, 28);
    // An empty request gives a 1 x 1 monochrome bitmap, as on Windows.
    HBITMAP empty = CreateCompatibleBitmap(dc, 0, 5);
    ASSERT_NE(empty, nullptr);
    GetObjectW(empty, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    DeleteObject(empty);
    GetObjectW(bitmap, sizeof(bm), &bm);
    // A short buffer gets only what fits.
    LONG type = 99;
    EXPECT_EQ(GetObjectW(bitmap, sizeof(type), &type), static_cast<int>(sizeof(type)));
    EXPECT_EQ(type, 0);

    LOGPEN lp{};
    HPEN pen = CreatePen(PS_DASH, 3, RGB(1, 2, 3));
    EXPECT_EQ(GetObjectW(pen, sizeof(lp), &lp), static_cast<int>(sizeof(lp)));
    EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DASH));
    EXPECT_EQ(lp.lopnWidth.x, 3);
    EXPECT_EQ(lp.lopnColor, RGB(1, 2, 3));
    EXPECT_EQ(CreatePen(42, 1, 0), nullptr);

    LOGFONTW in{};
    in.lfHeight = -13;
    in.lfWeight = FW_BOLD;
    const char16_t face[] = u"Tahoma";
    std::copy(std::begin(face), std::end(face), in.lfFaceName);
    HFONT font = CreateFontIndirectW(&in);
    ASSERT_NE(font, nullptr);
    LOGFONTW out{};
    EXPECT_EQ(GetObjectW(font, sizeof(out), &out), static_cast<int>(sizeof(out)));
    EXPECT_EQ(out.lfHeight, -13);
    EXPECT_EQ(out.lfWeight, FW_BOLD);
    EXPECT_EQ(std::u16string(out.lfFaceName), u"Tahoma");
    EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));

    DeleteObject(font);
    DeleteObject(pen);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST(Objects, StockObjectsHaveTheirColoursAndSurviveDeletion) {
    struct Expected {
        int index;
        UINT style;
        COLORREF color;
    };
    for (Expected e :
         {Expected{WHITE_BRUSH, BS_SOLID, RGB(255, 255, 255)},
          Expected{LTGRAY_BRUSH, BS_SOLID, RGB(192, 192, 192)},
          Expected{GRAY_BRUSH, BS_SOLID, RGB(128, 128, 128)},
          Expected{DKGRAY_BRUSH, BS_SOLID, RGB(64, 64, 64)},
          Expected{BLACK_BRUSH, BS_SOLID, RGB(0, 0, 0)}, Expected{NULL_BRUSH, BS_NULL, 0}}) {
        LOGBRUSH lb{};
        HGDIOBJ brush = GetStockObject(e.index);
        ASSERT_EQ(GetObjectW(brush, sizeof(lb), &lb), static_cast<int>(sizeof(lb))) << e.index;
        EXPECT_EQ(lb.lbStyle, e.style) << e.index;
        EXPECT_EQ(lb.lbColor, e.color) << e.index;
        EXPECT_TRUE(DeleteObject(brush));
        EXPECT_EQ(GetStockObject(e.index), brush);
        EXPECT_EQ(GetObjectW(brush, sizeof(lb), &lb), static_cast<int>(sizeof(lb)));
    }
    LOGPEN lp{};
    GetObjectW(GetStockObject(WHITE_PEN), sizeof(lp), &lp);
    EXPECT_EQ(lp.lopnColor, RGB(255, 255, 255));
    GetObjectW(GetStockObject(NULL_PEN), sizeof(lp), &lp);
    EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_NULL));
    EXPECT_EQ(GetObjectType(GetStockObject(SYSTEM_FONT)), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(GetStockObject(-1), nullptr);
    EXPECT_EQ(GetStockObject(9), nullptr);
    EXPECT_EQ(GetStockObject(1000), nullptr);
}

TEST(DeviceCaps, ScreenSizeAndDotsPerInchFollowTheDevice) {
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 240);
    EXPECT_EQ(GetDeviceCaps(screen, VERTRES), 320);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(screen, PLANES), 1);
    ASSERT_TRUE(device::setScreenSize(480, 640));
    EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 480);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 192);
    ASSERT_TRUE(device::setScreenSize(640, 480));  // rotated
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), 192);
    device::setScreenDpi(131);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 131);
    device::setScreenDpi(0);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 192);
    EXPECT_FALSE(device::setScreenSize(0, 100));
    EXPECT_FALSE(device::setScreenSize(100, 100000));
    EXPECT_EQ(device::screenWidth(), 640);
    // A memory DC reports the screen too.
    HDC memory = CreateCompatibleDC(screen);
    EXPECT_EQ(GetDeviceCaps(memory, VERTRES), 480);
    DeleteDC(memory);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 0);
}

}  // namespace

namespace {

TEST(SavedStates, RestoreDCBringsBackObjectsAttributesAndClip) {
    gditest::MemoryCanvas canvas(10, 10);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(SaveDC(canvas.dc), 1);
    SelectObject(canvas.dc, brush);
    SetTextColor(canvas.dc, RGB(9, 9, 9));
    IntersectClipRect(canvas.dc, 0, 0, 2, 2);
    EXPECT_EQ(SaveDC(canvas.dc), 2);
    SetBkMode(canvas.dc, TRANSPARENT);
    HBITMAP other = CreateCompatibleBitmap(canvas.dc, 3, 3);
    HGDIOBJ mine = SelectObject(canvas.dc, other);
    EXPECT_EQ(mine, canvas.bitmap);
    // The first bitmap is only held by a saved state of this DC: it may come back.
    EXPECT_EQ(SelectObject(canvas.dc, mine), other);
    EXPECT_EQ(SelectObject(canvas.dc, other), mine);

    ASSERT_TRUE(RestoreDC(canvas.dc, -1));
    EXPECT_EQ(GetBkMode(canvas.dc), OPAQUE);
    EXPECT_EQ(GetTextColor(canvas.dc), RGB(9, 9, 9));
    EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_BITMAP), canvas.bitmap);
    EXPECT_TRUE(DeleteObject(other));  // no longer selected anywhere
    RECT box{};
    GetClipBox(canvas.dc, &box);
    EXPECT_EQ(box.right, 2);
    // The brush is held by the current selection and by state 1.
    EXPECT_FALSE(DeleteObject(brush));
    ASSERT_TRUE(RestoreDC(canvas.dc, 1));
    EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetTextColor(canvas.dc), RGB(0, 0, 0));
    GetClipBox(canvas.dc, &box);
    EXPECT_EQ(box.right, 10);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_FALSE(RestoreDC(canvas.dc, -1));  // nothing saved any more
    EXPECT_FALSE(RestoreDC(canvas.dc, 0));
    EXPECT_EQ(SaveDC(nullptr), 0);
}

}  // namespace
