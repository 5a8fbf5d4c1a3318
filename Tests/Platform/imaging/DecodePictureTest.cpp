// Picture decoding: each format decodes to the pixels written, trailing bytes are ignored, and
// truncated, corrupt or oversized pictures fail without reading past their buffer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include <zlib.h>

#include "PictureWriters.h"
#include "imaging/Dib.h"
#include "imaging/Picture.h"

using namespace testpictures;
using platform::decodePicture;
using platform::Picture;
using platform::PictureFormat;
using platform::SourcePixels;

namespace {

// Decodes the first `size` bytes from a heap buffer of exactly that size, so that
// AddressSanitizer reports any read past the end.
std::optional<Picture> decodePrefix(const std::vector<uint8_t>& bytes, size_t size) {
    std::unique_ptr<uint8_t[]> exact(new uint8_t[size == 0 ? 1 : size]);
    std::memcpy(exact.get(), bytes.data(), size);
    return decodePicture(exact.get(), size);
}

std::optional<Picture> decodeAll(const std::vector<uint8_t>& bytes) {
    return decodePrefix(bytes, bytes.size());
}

// A 5 × 3 picture with distinct colours and some transparency.
std::vector<uint32_t> samplePixels() {
    std::vector<uint32_t> pixels;
    for (uint32_t y = 0; y < 3; ++y) {
        for (uint32_t x = 0; x < 5; ++x) {
            uint32_t alpha = (x == 4) ? 0x00 : (x == 3 ? 0x80 : 0xFF);
            pixels.push_back((alpha << 24) | ((x * 60) << 16) | ((y * 100) << 8) | (255 - x * 40));
        }
    }
    return pixels;
}

std::vector<uint32_t> opaque(std::vector<uint32_t> pixels) {
    for (uint32_t& p : pixels)
        p |= 0xFF000000u;
    return pixels;
}

void expectNear(const std::vector<uint32_t>& actual, const std::vector<uint32_t>& expected,
                int tolerance) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        for (int shift = 0; shift < 32; shift += 8) {
            int a = (actual[i] >> shift) & 0xFF;
            int e = (expected[i] >> shift) & 0xFF;
            EXPECT_LE(std::abs(a - e), tolerance) << "pixel " << i << " channel shift " << shift;
        }
    }
}

// Every prefix shorter than `complete` fails to decode.
void expectEveryPrefixFails(const std::vector<uint8_t>& bytes, size_t complete) {
    for (size_t size = 0; size < complete; ++size) {
        EXPECT_FALSE(decodePrefix(bytes, size).has_value()) << "prefix of " << size << " bytes";
    }
}

std::vector<uint8_t> padded(std::vector<uint8_t> bytes, size_t total, uint8_t filler) {
    bytes.resize(total, filler);
    return bytes;
}

}  // namespace

TEST(PictureDecoding, PngOfEveryColourTypeDecodesToItsPixels) {
    const auto pixels = samplePixels();

    auto rgba = decodeAll(writePng(pixels, 5, 3, PngKind::Rgba8));
    ASSERT_TRUE(rgba.has_value());
    EXPECT_EQ(rgba->width, 5u);
    EXPECT_EQ(rgba->height, 3u);
    EXPECT_EQ(rgba->format, PictureFormat::Png);
    EXPECT_EQ(rgba->sourcePixels, SourcePixels::Argb32);
    EXPECT_TRUE(rgba->hasAlpha);
    EXPECT_EQ(rgba->pixels, pixels);

    auto deep = decodeAll(writePng(pixels, 5, 3, PngKind::Rgb16Interlaced));
    ASSERT_TRUE(deep.has_value());
    EXPECT_EQ(deep->sourcePixels, SourcePixels::Rgb48);
    EXPECT_FALSE(deep->hasAlpha);
    EXPECT_EQ(deep->pixels, opaque(pixels));

    auto indexed = decodeAll(writePng(pixels, 5, 3, PngKind::PaletteWithTransparency));
    ASSERT_TRUE(indexed.has_value());
    EXPECT_EQ(indexed->sourcePixels, SourcePixels::Indexed8);
    EXPECT_TRUE(indexed->hasAlpha);
    EXPECT_EQ(indexed->pixels, pixels);

    auto gray = decodeAll(writePng(pixels, 5, 3, PngKind::Gray8));
    ASSERT_TRUE(gray.has_value());
    for (size_t i = 0; i < pixels.size(); ++i) {
        uint32_t g = (pixels[i] >> 8) & 0xFF;
        EXPECT_EQ(gray->pixels[i], 0xFF000000u | (g << 16) | (g << 8) | g);
    }
}

TEST(PictureDecoding, JpegDecodesWithinASmallTolerance) {
    // Flat 16 × 16 areas, aligned to coding blocks, survive compression nearly unchanged.
    std::vector<uint32_t> pixels(32 * 16);
    for (uint32_t y = 0; y < 16; ++y) {
        for (uint32_t x = 0; x < 32; ++x)
            pixels[y * 32 + x] = x < 16 ? 0xFFC03020u : 0xFF2080E0u;
    }
    auto color = decodeAll(writeJpeg(pixels, 32, 16, JpegKind::Color));
    ASSERT_TRUE(color.has_value());
    EXPECT_EQ(color->format, PictureFormat::Jpeg);
    EXPECT_EQ(color->sourcePixels, SourcePixels::Rgb24);
    EXPECT_EQ(color->width, 32u);
    EXPECT_EQ(color->height, 16u);
    expectNear(color->pixels, pixels, 8);

    auto gray = decodeAll(writeJpeg(pixels, 32, 16, JpegKind::Gray));
    ASSERT_TRUE(gray.has_value());
    std::vector<uint32_t> expected;
    for (uint32_t p : pixels) {
        uint32_t g = (p >> 8) & 0xFF;
        expected.push_back(0xFF000000u | (g << 16) | (g << 8) | g);
    }
    expectNear(gray->pixels, expected, 4);
}

TEST(PictureDecoding, GifDecodesItsFirstFrameWithTransparencyAndInterlace) {
    const std::vector<uint32_t> palette = {0xFF000000u, 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu};
    std::vector<uint8_t> indexes(7 * 11);
    for (size_t i = 0; i < indexes.size(); ++i)
        indexes[i] = static_cast<uint8_t>((i * 7 / 3) % 4);
    std::vector<uint32_t> expected;
    for (uint8_t i : indexes)
        expected.push_back(i == 2 ? 0u : palette[i]);

    for (GifKind kind : {GifKind::Plain, GifKind::Interlaced}) {
        auto gif = decodeAll(writeGif(indexes, 7, 11, palette, 2, kind));
        ASSERT_TRUE(gif.has_value());
        EXPECT_EQ(gif->format, PictureFormat::Gif);
        EXPECT_EQ(gif->width, 7u);
        EXPECT_EQ(gif->height, 11u);
        EXPECT_TRUE(gif->hasAlpha);
        EXPECT_EQ(gif->pixels, expected);
    }
}

TEST(PictureDecoding, BmpFilesAndBareDibsOfEachDepthDecodeInBothRowOrders) {
    const std::vector<uint32_t> palette = {0xFF000000u, 0xFFFFFFFFu, 0xFF808080u, 0xFFC0C0C0u,
                                           0xFF102030u, 0xFF405060u, 0xFF708090u, 0xFFA0B0C0u,
                                           0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFF00u,
                                           0xFF00FFFFu, 0xFFFF00FFu, 0xFF800000u, 0xFF008000u};
    const uint32_t width = 7, height = 3;  // odd width: rows need padding
    std::vector<uint8_t> indexes(width * height);
    for (size_t i = 0; i < indexes.size(); ++i)
        indexes[i] = static_cast<uint8_t>((i * 5) % 16);
    std::vector<uint32_t> fromPalette;
    for (uint8_t i : indexes)
        fromPalette.push_back(palette[i]);
    std::vector<uint32_t> colours;
    for (size_t i = 0; i < indexes.size(); ++i)
        colours.push_back(0xFF000000u | (i * 0x0A0B0C));

    for (DibOrder order : {DibOrder::BottomUp, DibOrder::TopDown}) {
        auto four =
            decodeAll(withFileHeader(writeDib({}, indexes, width, height, 4, palette, order)));
        ASSERT_TRUE(four.has_value());
        EXPECT_EQ(four->format, PictureFormat::Bmp);
        EXPECT_EQ(four->sourcePixels, SourcePixels::Indexed4);
        EXPECT_EQ(four->pixels, fromPalette);

        auto eight = decodeAll(writeDib({}, indexes, width, height, 8, palette, order));
        ASSERT_TRUE(eight.has_value());
        EXPECT_EQ(eight->sourcePixels, SourcePixels::Indexed8);
        EXPECT_EQ(eight->pixels, fromPalette);

        auto truecolour =
            decodeAll(withFileHeader(writeDib(colours, {}, width, height, 24, {}, order)));
        ASSERT_TRUE(truecolour.has_value());
        EXPECT_EQ(truecolour->sourcePixels, SourcePixels::Rgb24);
        EXPECT_EQ(truecolour->pixels, colours);
    }

    std::vector<uint8_t> bits(indexes.size());
    for (size_t i = 0; i < bits.size(); ++i)
        bits[i] = indexes[i] & 1;
    auto mono = decodeAll(
        writeDib({}, bits, width, height, 1, {0xFF000000u, 0xFFFFFFFFu}, DibOrder::BottomUp));
    ASSERT_TRUE(mono.has_value());
    for (size_t i = 0; i < bits.size(); ++i) {
        EXPECT_EQ(mono->pixels[i], bits[i] ? 0xFFFFFFFFu : 0xFF000000u);
    }
}

TEST(PictureDecoding, ThirtyTwoBitDibKeepsAlphaOnlyWhereTheCallerAsksAndItIsPresent) {
    std::vector<uint32_t> pixels = samplePixels();
    auto dib = writeDib(pixels, {}, 5, 3, 32, {}, DibOrder::BottomUp);

    auto asBitmap = platform::decodeDib(dib.data(), dib.size(), platform::DibAlpha::Ignore);
    ASSERT_TRUE(asBitmap.has_value());
    EXPECT_EQ(asBitmap->sourcePixels, SourcePixels::Rgb32);
    EXPECT_EQ(asBitmap->pixels, opaque(pixels));

    auto asIcon = platform::decodeDib(dib.data(), dib.size(), platform::DibAlpha::UseIfPresent);
    ASSERT_TRUE(asIcon.has_value());
    EXPECT_EQ(asIcon->sourcePixels, SourcePixels::Argb32);
    EXPECT_EQ(asIcon->pixels, pixels);

    // All fourth bytes zero: there is no alpha, the picture is opaque.
    auto noAlpha = writeDib(opaque(pixels), {}, 5, 3, 32, {}, DibOrder::BottomUp);
    for (size_t i = 40 + 3; i < noAlpha.size(); i += 4)
        noAlpha[i] = 0;
    auto flat =
        platform::decodeDib(noAlpha.data(), noAlpha.size(), platform::DibAlpha::UseIfPresent);
    ASSERT_TRUE(flat.has_value());
    EXPECT_EQ(flat->pixels, opaque(pixels));
}

TEST(PictureDecoding, BitfieldPixelsAreScaledFromTheirMasks) {
    // A 2 × 1 16-bit 5-6-5 DIB: pure red, then mid green.
    std::vector<uint8_t> dib = {40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 16, 0, 3, 0, 0, 0};
    dib.resize(40, 0);
    for (uint32_t mask : {0xF800u, 0x07E0u, 0x001Fu}) {
        for (int i = 0; i < 4; ++i)
            dib.push_back(static_cast<uint8_t>(mask >> (8 * i)));
    }
    dib.insert(dib.end(), {0x00, 0xF8, 0x00, 0x04});  // 0xF800, 0x0400 (green 32 of 63)
    auto picture = decodeAll(dib);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->sourcePixels, SourcePixels::Rgb565);
    EXPECT_EQ(picture->pixels[0], 0xFFFF0000u);
    EXPECT_EQ(picture->pixels[1], 0xFF008100u);
}

TEST(PictureDecoding, V5HeaderCarriesItsOwnMasksWithAlpha) {
    // A 1 × 1 top-down 32-bit DIB with a 124-byte header whose masks include alpha.
    std::vector<uint8_t> dib(124, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            dib[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    put32(0, 124);
    put32(4, 1);
    put32(8, static_cast<uint32_t>(-1));
    put32(12, 1 | (32 << 16));  // planes, bit count
    put32(16, 3);               // BI_BITFIELDS
    put32(40, 0x0000FF00u);     // red, green, blue and alpha masks, deliberately shuffled
    put32(44, 0x00FF0000u);
    put32(48, 0xFF000000u);
    put32(52, 0x000000FFu);
    dib.insert(dib.end(), {0x80, 0x33, 0x22, 0x11});  // 0x11223380
    auto picture = decodeAll(withFileHeader(dib));
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->sourcePixels, SourcePixels::Argb32);
    EXPECT_TRUE(picture->hasAlpha);
    EXPECT_EQ(picture->pixels[0], 0x80332211u);
}

TEST(PictureDecoding, BytesAfterThePictureAreIgnored) {
    const auto pixels = samplePixels();
    const std::vector<uint32_t> palette = {0xFF000000u, 0xFFFF0000u};
    const std::vector<uint8_t> indexes = {0, 1, 1, 0, 1, 0};
    struct Case {
        std::vector<uint8_t> bytes;
        uint32_t width;
    };
    const Case cases[] = {
        {writePng(pixels, 5, 3, PngKind::Rgba8), 5},
        {writeJpeg(opaque(pixels), 5, 3, JpegKind::Color), 5},
        {writeGif(indexes, 3, 2, palette, -1, GifKind::Plain), 3},
        {withFileHeader(writeDib(opaque(pixels), {}, 5, 3, 24, {}, DibOrder::BottomUp)), 5},
    };
    for (const Case& c : cases) {
        auto plain = decodeAll(c.bytes);
        ASSERT_TRUE(plain.has_value());
        for (uint8_t filler : {0x00, 0xFF, 0x42}) {
            auto longer = decodeAll(padded(c.bytes, 50000, filler));
            ASSERT_TRUE(longer.has_value());
            EXPECT_EQ(longer->width, c.width);
            EXPECT_EQ(longer->pixels, plain->pixels);
        }
    }
}

TEST(PictureDecoding, TruncatedPicturesFailWithoutReadingPastTheirBuffer) {
    const auto pixels = samplePixels();
    // A PNG needs everything up to its last image data chunk; only IEND (12 bytes) may go.
    auto png = writePng(pixels, 5, 3, PngKind::Rgba8);
    expectEveryPrefixFails(png, png.size() - 12);

    auto jpeg = writeJpeg(opaque(pixels), 5, 3, JpegKind::Color);
    expectEveryPrefixFails(jpeg, jpeg.size() - 2);

    // A GIF needs its image data up to the block terminator; only the trailer may go.
    auto gif = writeGif({0, 1, 1, 0, 1, 0}, 3, 2, {0xFF000000u, 0xFFFF0000u}, -1, GifKind::Plain);
    expectEveryPrefixFails(gif, gif.size() - 1);

    auto bmp = withFileHeader(writeDib(opaque(pixels), {}, 5, 3, 24, {}, DibOrder::BottomUp));
    expectEveryPrefixFails(bmp, bmp.size());
    auto dib = writeDib({}, {0, 1, 2, 3, 4}, 5, 1, 4,
                        {0xFF000000u, 0xFF111111u, 0xFF222222u, 0xFF333333u, 0xFF444444u},
                        DibOrder::TopDown);
    expectEveryPrefixFails(dib, dib.size());
}

TEST(PictureDecoding, CorruptAndOversizedPicturesFail) {
    const auto pixels = samplePixels();

    auto png = writePng(pixels, 5, 3, PngKind::Rgba8);
    png[png.size() - 20] ^= 0x55;  // inside the last IDAT chunk: its CRC no longer matches
    EXPECT_FALSE(decodeAll(png).has_value());

    auto hugePng = writePng(pixels, 5, 3, PngKind::Rgba8);
    hugePng[18] = 0x4E;  // IHDR width: 20000 pixels, with the chunk's CRC made to match
    hugePng[19] = 0x20;
    uint32_t crc = static_cast<uint32_t>(crc32(0, hugePng.data() + 12, 17));
    for (int i = 0; i < 4; ++i)
        hugePng[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    EXPECT_FALSE(decodeAll(hugePng).has_value());
    hugePng[18] = 0x00;  // the same edit back to 5 pixels decodes: the CRC is computed right
    hugePng[19] = 0x05;
    crc = static_cast<uint32_t>(crc32(0, hugePng.data() + 12, 17));
    for (int i = 0; i < 4; ++i)
        hugePng[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    EXPECT_TRUE(decodeAll(hugePng).has_value());

    auto jpeg = writeJpeg(opaque(pixels), 5, 3, JpegKind::Color);
    std::vector<uint8_t> garbled(jpeg.begin(), jpeg.begin() + 4);
    garbled.resize(jpeg.size(), 0x17);
    EXPECT_FALSE(decodeAll(garbled).has_value());

    auto gif = writeGif({0, 1, 1, 0, 1, 0}, 3, 2, {0xFF000000u, 0xFFFF0000u}, -1, GifKind::Plain);
    std::vector<uint8_t> noFrame(gif.begin(), gif.begin() + 6 + 7 + 6);  // header, screen, map
    noFrame.push_back(';');
    EXPECT_FALSE(decodeAll(noFrame).has_value());

    auto bmp = withFileHeader(writeDib(opaque(pixels), {}, 5, 3, 24, {}, DibOrder::BottomUp));
    auto wide = bmp;
    wide[14 + 4] = 0x20;  // width 0x4E20 = 20000 pixels
    wide[14 + 5] = 0x4E;
    EXPECT_FALSE(decodeAll(wide).has_value());
    auto tooManyBytes = bmp;  // 16000 × 16000 is within the side limit but not the byte limit
    for (int at : {14 + 4, 14 + 8}) {
        tooManyBytes[at] = 0x80;
        tooManyBytes[at + 1] = 0x3E;
    }
    EXPECT_FALSE(decodeAll(tooManyBytes).has_value());
    auto rle = bmp;
    rle[14 + 16] = 1;  // BI_RLE8
    EXPECT_FALSE(decodeAll(rle).has_value());
    auto pixelsOutside = bmp;
    pixelsOutside[10] = 0xF0;  // bfOffBits beyond the file
    pixelsOutside[11] = 0xFF;
    EXPECT_FALSE(decodeAll(pixelsOutside).has_value());
    auto tooManyColours =
        writeDib({}, {0, 1}, 2, 1, 4, {0xFF000000u, 0xFFFFFFFFu}, DibOrder::TopDown);
    tooManyColours[32] = 17;  // more palette entries than 4 bits can index
    EXPECT_FALSE(decodeAll(tooManyColours).has_value());

    EXPECT_FALSE(decodePicture(nullptr, 100).has_value());
    const uint8_t unknown[] = {'G', 'I', 'F', '8', '8', 'a', 0, 0};
    EXPECT_FALSE(
        decodeAll(std::vector<uint8_t>(std::begin(unknown), std::end(unknown))).has_value());
}
