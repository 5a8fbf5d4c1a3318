// Icons from the test module's icon groups: the image chosen by size, its transparency from
// the alpha channel or the AND mask, drawing at its own or a given size, and hostile bytes.
#include <gtest/gtest.h>

#include <wingdi.h>
#include <winicon.h>
#include <winresource.h>

#include <cstring>
#include <memory>

#include "PixelCanvas.h"
#include "ResourceModule.h"
#include "resources/IconResource.h"

using testresources::ResourceModule;
using testsupport::iconSize;
using testsupport::PixelCanvas;

namespace {

constexpr uint32_t kGray = 0x404040u;

}  // namespace

TEST(Icons, LoadIconPicksTheImageNearest32AndBlendsByItsAlpha) {
    ResourceModule module;
    HICON icon = LoadIconW(module.instance(), MAKEINTRESOURCEW(2001));
    ASSERT_NE(icon, nullptr);
    SIZE size = iconSize(icon);
    EXPECT_EQ(size.cx, 32);
    EXPECT_EQ(size.cy, 32);

    PixelCanvas canvas(40, 40, kGray);
    ASSERT_TRUE(DrawIconEx(canvas.dc(), 2, 3, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(canvas.at(2, 3), kGray);            // alpha 0 at the icon's top-left
    EXPECT_EQ(canvas.at(3, 3), 0x0000FFu);        // opaque blue top half
    EXPECT_EQ(canvas.at(10, 3 + 20), 0x2020A0u);  // alpha 128 over gray in the bottom half
    EXPECT_EQ(canvas.at(34, 3), kGray);           // beyond the icon's 32 pixels
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_FALSE(DrawIconEx(canvas.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
}

TEST(Icons, FourBitImageTakesItsTransparencyFromTheAndMask) {
    ResourceModule module;
    HICON icon = LoadIconW(module.instance(), MAKEINTRESOURCEW(2002));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(iconSize(icon).cx, 16);  // the only image, at its own size

    PixelCanvas canvas(40, 40, kGray);
    ASSERT_TRUE(DrawIconEx(canvas.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(canvas.at(3, 3), 0xFFFFFFu);   // white left half
    EXPECT_EQ(canvas.at(12, 3), 0xFF0000u);  // red right half
    EXPECT_EQ(canvas.at(15, 3), kGray);      // the masked last column
    EXPECT_EQ(canvas.at(16, 3), kGray);

    // Scaled to 32 × 32: every source pixel covers 2 × 2.
    ASSERT_TRUE(DrawIconEx(canvas.dc(), 0, 20, icon, 32, 16, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(canvas.at(15, 20), 0xFFFFFFu);
    EXPECT_EQ(canvas.at(16, 20), 0xFF0000u);
    EXPECT_EQ(canvas.at(29, 35), 0xFF0000u);
    EXPECT_EQ(canvas.at(30, 35), kGray);
    EXPECT_EQ(canvas.at(31, 20), kGray);

    // DI_IMAGE ignores the mask; DI_MASK blackens the opaque part.
    PixelCanvas parts(40, 20, kGray);
    ASSERT_TRUE(DrawIconEx(parts.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_IMAGE));
    EXPECT_EQ(parts.at(15, 3), 0xFF0000u);
    ASSERT_TRUE(DrawIconEx(parts.dc(), 20, 0, icon, 0, 0, 0, nullptr, DI_MASK));
    EXPECT_EQ(parts.at(23, 3), 0x000000u);
    EXPECT_EQ(parts.at(35, 3), kGray);
    EXPECT_FALSE(DrawIconEx(parts.dc(), 0, 0, icon, 0, 0, 0, nullptr, 0));

    // A flicker-free brush fills the icon's box first.
    HBRUSH brush = CreateSolidBrush(RGB(0, 255, 0));
    ASSERT_TRUE(DrawIconEx(parts.dc(), 0, 0, icon, 0, 0, 0, brush, DI_NORMAL));
    EXPECT_EQ(parts.at(15, 3), 0x00FF00u);
    EXPECT_EQ(parts.at(3, 3), 0xFFFFFFu);
    DeleteObject(brush);
    DestroyIcon(icon);
}

TEST(Icons, LoadImageChoosesBySizeAndScalesToIt) {
    ResourceModule module;
    HINSTANCE instance = module.instance();

    // 48 × 48 is the PNG-compressed image: green, its first column transparent.
    HICON png =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(2001), IMAGE_ICON, 48, 48, 0));
    ASSERT_NE(png, nullptr);
    EXPECT_EQ(iconSize(png).cx, 48);
    PixelCanvas canvas(64, 64, kGray);
    ASSERT_TRUE(DrawIconEx(canvas.dc(), 0, 0, png, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(canvas.at(0, 10), kGray);
    EXPECT_EQ(canvas.at(1, 10), 0x00FF00u);
    DestroyIcon(png);

    HICON small =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(2001), IMAGE_ICON, 16, 16, 0));
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(iconSize(small).cx, 16);
    DestroyIcon(small);

    // An image of another size is scaled to the size asked for.
    HICON stretched =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(2002), IMAGE_ICON, 24, 24, 0));
    ASSERT_NE(stretched, nullptr);
    EXPECT_EQ(iconSize(stretched).cx, 24);
    DestroyIcon(stretched);
    HICON defaultSize = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(2002), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    ASSERT_NE(defaultSize, nullptr);
    EXPECT_EQ(iconSize(defaultSize).cx, 32);
    DestroyIcon(defaultSize);

    EXPECT_EQ(LoadIconW(instance, MAKEINTRESOURCEW(2003)), nullptr);
    EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCEW(2001)), nullptr);
    EXPECT_EQ(LoadImageW(instance, MAKEINTRESOURCEW(2001), IMAGE_CURSOR, 0, 0, 0), nullptr);
}

TEST(Icons, IconFromBitmapsUsesTheMaskAndDrawIconUsesTheDefaultSize) {
    const uint32_t colours[4] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0x00FFFFFFu};
    HBITMAP colour = CreateBitmap(2, 2, 1, 32, colours);
    const uint8_t maskRows[4] = {0x40, 0, 0x80, 0};  // rows padded to 16 bits: (1,0) and (0,1) set
    HBITMAP mask = CreateBitmap(2, 2, 1, 1, maskRows);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&info);
    ASSERT_NE(icon, nullptr);
    DeleteObject(colour);
    DeleteObject(mask);

    PixelCanvas canvas(40, 40, kGray);
    ASSERT_TRUE(DrawIconEx(canvas.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(canvas.at(0, 0), 0xFF0000u);
    EXPECT_EQ(canvas.at(1, 0), kGray);
    EXPECT_EQ(canvas.at(0, 1), kGray);
    EXPECT_EQ(canvas.at(1, 1), 0xFFFFFFu);

    // DrawIcon stretches to 32 × 32: the top-left quarter is red.
    PixelCanvas big(40, 40, kGray);
    ASSERT_TRUE(DrawIcon(big.dc(), 0, 0, icon));
    EXPECT_EQ(big.at(15, 15), 0xFF0000u);
    EXPECT_EQ(big.at(16, 0), kGray);
    EXPECT_EQ(big.at(31, 31), 0xFFFFFFu);
    EXPECT_EQ(big.at(32, 32), kGray);
    DestroyIcon(icon);

    ICONINFO noMask{TRUE, 0, 0, nullptr, colour};
    EXPECT_EQ(CreateIconIndirect(&noMask), nullptr);
    EXPECT_EQ(CreateIconIndirect(nullptr), nullptr);
}

TEST(Icons, TruncatedIconResourcesFailWithoutReadingPastThem) {
    ResourceModule module;
    HINSTANCE instance = module.instance();
    HRSRC group = FindResourceW(instance, MAKEINTRESOURCEW(2001), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    auto* groupBytes = static_cast<const uint8_t*>(LockResource(LoadResource(instance, group)));
    const size_t groupSize = SizeofResource(instance, group);
    for (size_t size = 0; size < groupSize; ++size) {
        std::unique_ptr<uint8_t[]> exact(new uint8_t[size + 1]);
        std::memcpy(exact.get(), groupBytes, size);
        EXPECT_FALSE(platform::chooseIconImage(exact.get(), size, 32, 32).has_value()) << size;
    }

    for (WORD id : {1, 2, 3}) {
        HRSRC image = FindResourceW(instance, MAKEINTRESOURCEW(id), RT_ICON);
        ASSERT_NE(image, nullptr);
        auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(instance, image)));
        const size_t full = SizeofResource(instance, image);
        ASSERT_TRUE(platform::decodeIconImage(bytes, full).has_value());
        // Shorter than the colour pixels: no icon. (A DIB image missing only its AND mask is
        // still an opaque icon, and a PNG needs all but its end chunk.)
        const size_t needed = id == 1 ? 40 + 64 + 16 * 8 : id == 2 ? 40 + 32 * 32 * 4 : full - 12;
        for (size_t size = 0; size < needed; ++size) {
            std::unique_ptr<uint8_t[]> exact(new uint8_t[size + 1]);
            std::memcpy(exact.get(), bytes, size);
            EXPECT_FALSE(platform::decodeIconImage(exact.get(), size).has_value())
                << id << ":" << size;
        }
    }
}

TEST(Icons, AbsurdSizesAndPositionsAreRefused) {
    ResourceModule module;
    EXPECT_EQ(LoadImageW(module.instance(), MAKEINTRESOURCEW(2002), IMAGE_ICON, 100000, 100000, 0),
              nullptr);
    HICON icon = LoadIconW(module.instance(), MAKEINTRESOURCEW(2002));
    ASSERT_NE(icon, nullptr);
    PixelCanvas canvas(4, 4, kGray);
    EXPECT_FALSE(DrawIconEx(canvas.dc(), INT32_MAX - 4, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    // Far outside the DC but representable: drawn, and nothing visible changes.
    EXPECT_TRUE(DrawIconEx(canvas.dc(), -1000000, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(canvas.at(0, 0), kGray);
    DestroyIcon(icon);
}
