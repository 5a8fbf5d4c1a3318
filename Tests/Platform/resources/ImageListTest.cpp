// Image lists built from the test module's bitmap the way the input method builds its SIP
// button: the mask colour becomes transparent, a wide bitmap gives several images.
#include <gtest/gtest.h>

#include <commctrl.h>
#include <wingdi.h>
#include <winicon.h>
#include <winresource.h>
#include <winuser.h>

#include "PixelCanvas.h"
#include "ResourceModule.h"

using testresources::ResourceModule;
using testsupport::PixelCanvas;

namespace {

constexpr uint32_t kBackground = 0x123456u;
constexpr COLORREF kMaskColour = RGB(192, 192, 192);

}  // namespace

TEST(ImageLists, LoadBitmapGivesTheResourcePixels) {
    ResourceModule module;
    HBITMAP bitmap = LoadBitmapW(module.instance(), MAKEINTRESOURCEW(2015));
    ASSERT_NE(bitmap, nullptr);
    BITMAP bm{};
    ASSERT_NE(GetObjectW(bitmap, sizeof bm, &bm), 0);
    EXPECT_EQ(bm.bmWidth, 32);
    EXPECT_EQ(bm.bmHeight, 16);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc, 1, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 31, 15), kMaskColour);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(bitmap);
    EXPECT_EQ(LoadBitmapW(module.instance(), MAKEINTRESOURCEW(2016)), nullptr);
}

TEST(ImageLists, MaskColourBecomesTransparentAndAWideBitmapAddsSeveralImages) {
    ResourceModule module;
    HIMAGELIST wide = ImageList_Create(32, 16, ILC_MASK, 1, 1);
    HIMAGELIST narrow = ImageList_Create(16, 16, ILC_MASK, 1, 1);
    ASSERT_NE(wide, nullptr);
    ASSERT_NE(narrow, nullptr);
    HBITMAP bitmap = LoadBitmapW(module.instance(), MAKEINTRESOURCEW(2015));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(ImageList_AddMasked(wide, bitmap, kMaskColour), 0);
    EXPECT_EQ(ImageList_AddMasked(narrow, bitmap, kMaskColour), 0);  // two images, from 0
    DeleteObject(bitmap);
    EXPECT_EQ(ImageList_GetImageCount(wide), 1);
    EXPECT_EQ(ImageList_GetImageCount(narrow), 2);
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(narrow, &cx, &cy));
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);

    PixelCanvas canvas(40, 40, kBackground);
    ASSERT_TRUE(ImageList_Draw(wide, 0, canvas.dc(), 4, 2, ILD_NORMAL));
    EXPECT_EQ(canvas.at(4, 2), 0x0000FFu);     // the blue corner
    EXPECT_EQ(canvas.at(10, 9), 0xFF0000u);    // red left half
    EXPECT_EQ(canvas.at(25, 9), kBackground);  // the grey right half was the mask colour
    EXPECT_EQ(canvas.at(3, 2), kBackground);

    PixelCanvas second(20, 20, kBackground);
    ASSERT_TRUE(ImageList_Draw(narrow, 1, second.dc(), 0, 0, ILD_TRANSPARENT));
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(second.at(x, y), kBackground) << x << "," << y;
    }
    ASSERT_TRUE(ImageList_Draw(narrow, 0, second.dc(), 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(second.at(15, 15), 0xFF0000u);
    EXPECT_FALSE(ImageList_Draw(narrow, 2, second.dc(), 0, 0, ILD_NORMAL));

    EXPECT_TRUE(ImageList_Destroy(wide));
    EXPECT_TRUE(ImageList_Destroy(narrow));
    EXPECT_FALSE(ImageList_Destroy(narrow));
    EXPECT_EQ(ImageList_GetImageCount(narrow), 0);
    EXPECT_FALSE(ImageList_Draw(narrow, 0, second.dc(), 0, 0, ILD_NORMAL));
}

TEST(ImageLists, MaskBitmapsBackgroundColourAndListsWithoutMasks) {
    const uint32_t colours[2] = {0x00FF0000u, 0x0000FF00u};
    HBITMAP image = CreateBitmap(2, 1, 1, 32, colours);
    const uint8_t maskRow[2] = {0x40, 0};  // the second pixel is transparent
    HBITMAP mask = CreateBitmap(2, 1, 1, 1, maskRow);

    HIMAGELIST masked = ImageList_Create(1, 1, ILC_MASK | ILC_COLOR32, 2, 2);
    EXPECT_EQ(ImageList_Add(masked, image, mask), 0);
    HIMAGELIST plain = ImageList_Create(1, 1, ILC_COLOR32, 2, 2);
    EXPECT_EQ(ImageList_AddMasked(plain, image, RGB(0, 255, 0)), 0);

    PixelCanvas canvas(8, 8, kBackground);
    ASSERT_TRUE(ImageList_Draw(masked, 0, canvas.dc(), 0, 0, ILD_NORMAL));
    ASSERT_TRUE(ImageList_Draw(masked, 1, canvas.dc(), 1, 0, ILD_NORMAL));
    EXPECT_EQ(canvas.at(0, 0), 0xFF0000u);
    EXPECT_EQ(canvas.at(1, 0), kBackground);
    // Without ILC_MASK the mask colour is drawn as it is.
    ASSERT_TRUE(ImageList_Draw(plain, 1, canvas.dc(), 2, 0, ILD_TRANSPARENT));
    EXPECT_EQ(canvas.at(2, 0), 0x00FF00u);

    // With a background colour ILD_NORMAL fills transparent pixels; ILD_TRANSPARENT does not.
    EXPECT_EQ(ImageList_SetBkColor(masked, RGB(1, 2, 3)), CLR_NONE);
    EXPECT_EQ(ImageList_GetBkColor(masked), RGB(1, 2, 3));
    ASSERT_TRUE(ImageList_Draw(masked, 1, canvas.dc(), 3, 0, ILD_NORMAL));
    EXPECT_EQ(canvas.at(3, 0), 0x010203u);
    ASSERT_TRUE(ImageList_Draw(masked, 1, canvas.dc(), 4, 0, ILD_TRANSPARENT));
    EXPECT_EQ(canvas.at(4, 0), kBackground);
    ASSERT_TRUE(ImageList_Draw(masked, 1, canvas.dc(), 5, 0, ILD_MASK));
    EXPECT_EQ(canvas.at(5, 0), 0xFFFFFFu);

    // Selected: half the highlight colour over the red pixel; transparency kept.
    const uint32_t highlight = GetSysColor(COLOR_HIGHLIGHT);
    ASSERT_TRUE(ImageList_Draw(masked, 0, canvas.dc(), 6, 0, ILD_TRANSPARENT | ILD_BLEND50));
    const uint32_t r = (GetRValue(highlight) * 128 + 255 * 127 + 127) / 255;
    const uint32_t g = (GetGValue(highlight) * 128 + 127) / 255;
    const uint32_t b = (GetBValue(highlight) * 128 + 127) / 255;
    EXPECT_EQ(canvas.at(6, 0), (r << 16) | (g << 8) | b);
    ASSERT_TRUE(ImageList_Draw(masked, 1, canvas.dc(), 7, 0, ILD_TRANSPARENT | ILD_BLEND50));
    EXPECT_EQ(canvas.at(7, 0), kBackground);

    EXPECT_TRUE(ImageList_Remove(masked, 0));
    EXPECT_EQ(ImageList_GetImageCount(masked), 1);
    EXPECT_EQ(ImageList_Add(masked, nullptr, nullptr), -1);
    EXPECT_EQ(ImageList_Create(0, 16, ILC_MASK, 1, 1), nullptr);
    DeleteObject(image);
    DeleteObject(mask);
    ImageList_Destroy(masked);
    ImageList_Destroy(plain);
}

TEST(ImageLists, IconsAreAddedAndReplacedAtTheListSize) {
    ResourceModule module;
    HIMAGELIST list = ImageList_Create(16, 16, ILC_MASK, 1, 1);
    HICON icon = LoadIconW(module.instance(), MAKEINTRESOURCEW(2001));   // 32 × 32, blue
    HICON small = LoadIconW(module.instance(), MAKEINTRESOURCEW(2002));  // 16 × 16
    ASSERT_NE(icon, nullptr);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(ImageList_AddIcon(list, small), 0);
    EXPECT_EQ(ImageList_AddIcon(list, icon), 1);
    EXPECT_EQ(ImageList_ReplaceIcon(list, 0, icon), 0);
    EXPECT_EQ(ImageList_ReplaceIcon(list, 5, icon), -1);
    EXPECT_EQ(ImageList_GetImageCount(list), 2);

    PixelCanvas canvas(20, 20, kBackground);
    ASSERT_TRUE(ImageList_Draw(list, 0, canvas.dc(), 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(canvas.at(4, 4), 0x0000FFu);   // the icon's opaque top half, halved
    EXPECT_EQ(canvas.at(4, 12), 0x091AABu);  // its half-transparent bottom half over the background
    EXPECT_EQ(canvas.at(16, 4), kBackground);
    DestroyIcon(icon);
    DestroyIcon(small);
    EXPECT_EQ(ImageList_AddIcon(list, icon), -1);  // destroyed
    ImageList_Destroy(list);
}
