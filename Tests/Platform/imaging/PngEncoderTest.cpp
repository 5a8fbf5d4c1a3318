// The PNG encoder: what it writes decodes to the same pixels through the platform's own
// decoder, palette pictures keep their colours exactly, and what cannot be encoded is refused.
#include <gtest/gtest.h>

#include <device/PngEncoder.h>

#include "imaging/Picture.h"

using platform::decodePicture;

namespace {

std::vector<uint32_t> opaque(const std::vector<uint32_t>& pixels) {
    std::vector<uint32_t> out;
    for (uint32_t pixel : pixels)
        out.push_back(0xFF000000u | pixel);
    return out;
}

}  // namespace

TEST(PngEncoder, PicturesDecodeToTheirPixelsInBothForms) {
    std::vector<uint32_t> pixels;
    for (uint32_t y = 0; y < 7; ++y)
        for (uint32_t x = 0; x < 9; ++x)
            pixels.push_back(((x * 28) << 16) | ((y * 36) << 8) | ((x + y) % 3 == 0 ? 0xFF : 0x10));
    for (auto colours : {device::PngColours::Rgb, device::PngColours::Palette}) {
        std::vector<uint8_t> png;
        ASSERT_TRUE(device::encodePng(9, 7, pixels, colours, png));
        auto picture = decodePicture(png.data(), png.size());
        ASSERT_TRUE(picture.has_value());
        EXPECT_EQ(picture->width, 9u);
        EXPECT_EQ(picture->height, 7u);
        EXPECT_EQ(picture->pixels, opaque(pixels));
        EXPECT_EQ(png[25], colours == device::PngColours::Palette ? 3 : 2);  // colour type
    }
}

TEST(PngEncoder, PalettesHoldAtMost256ColoursAndSizesMustMatch) {
    std::vector<uint32_t> many(257);
    for (uint32_t i = 0; i < many.size(); ++i)
        many[i] = i * 0x010101u;
    std::vector<uint8_t> png{1, 2, 3};
    EXPECT_FALSE(device::encodePng(257, 1, many, device::PngColours::Palette, png));
    EXPECT_TRUE(png.empty());
    many.pop_back();
    ASSERT_TRUE(device::encodePng(256, 1, many, device::PngColours::Palette, png));
    auto picture = decodePicture(png.data(), png.size());
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->pixels, opaque(many));

    EXPECT_FALSE(device::encodePng(10, 10, many, device::PngColours::Rgb, png));
    EXPECT_FALSE(device::encodePng(0, 256, many, device::PngColours::Rgb, png));

    // A flat picture at the strongest compression is small, and encodes the same every time.
    std::vector<uint32_t> flat(640 * 160, 0x00202830);
    std::vector<uint8_t> first, second;
    ASSERT_TRUE(device::encodePng(640, 160, flat, device::PngColours::Palette, first));
    ASSERT_TRUE(device::encodePng(640, 160, flat, device::PngColours::Palette, second));
    EXPECT_LT(first.size(), 1000u);
    EXPECT_EQ(first, second);
}
