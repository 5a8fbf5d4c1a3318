// Device-independent bitmaps: BMP files (BITMAPFILEHEADER + DIB) and bare DIBs as bitmap and
// icon resources hold them. BITMAPINFOHEADER, V4 and V5 headers; 1, 4, 8, 16, 24 and 32 bits
// per pixel; palettes; BI_RGB and BI_BITFIELDS. Run-length compressed bitmaps are rejected.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/Picture.h"

namespace platform {

// What a 32-bit BI_RGB DIB's fourth byte means. Bitmap files leave it unused; icons keep their
// alpha there (and an all-zero fourth byte then still means opaque).
enum class DibAlpha { Ignore, UseIfPresent };

// The parsed header of a DIB, with everything needed to find and read its pixels.
struct DibLayout {
    uint32_t headerSize = 0;
    uint32_t width = 0;
    uint32_t height = 0;  // rows as the header states them (icons state twice the icon height)
    bool topDown = false;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    // Red, green, blue and alpha masks for 16- and 32-bit pixels (alpha 0 when absent).
    std::array<uint32_t, 4> masks{};
    std::vector<uint32_t> palette;  // 0xFFRRGGBB entries, only for 1, 4 and 8 bits per pixel
    size_t pixelOffset = 0;         // from the start of the DIB header
    size_t stride = 0;              // bytes per row, a multiple of 4
    double xdpi = 96.0;
    double ydpi = 96.0;
};

// Reads and checks the header and palette of the DIB at dib[0..size). The pixels are assumed
// to follow the palette unless the caller changes pixelOffset.
std::optional<DibLayout> readDibHeader(const uint8_t* dib, size_t size);

// Reads `rows` rows (at most layout.height) of the DIB's pixels into top-down 0xAARRGGBB
// pixels; false when the pixels do not fit in the buffer.
bool readDibPixels(const DibLayout& layout, const uint8_t* dib, size_t size, uint32_t rows,
                   DibAlpha alpha, std::vector<uint32_t>& out, bool* usedAlpha = nullptr);

// A bare DIB: header, palette, then pixels.
std::optional<Picture> decodeDib(const uint8_t* dib, size_t size, DibAlpha alpha);

// A BMP file: BITMAPFILEHEADER ("BM"), then a DIB whose pixels start at bfOffBits.
std::optional<Picture> decodeBmpFile(const uint8_t* data, size_t size);

// True when the bytes start like a bare DIB (a known header size and one plane).
bool looksLikeDib(const uint8_t* data, size_t size);

}  // namespace platform
