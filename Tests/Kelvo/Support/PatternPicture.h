// Layout pictures whose every pixel tells where it came from: an 8-bit BMP whose palette index
// runs along x + 7y, so a piece moved by one pixel right and down never matches the picture
// under it. A tint shifts the pattern and the colours, for a second (alternate) picture.
#pragma once

#include <cstdint>
#include <string>

#include "SkinBuilder.h"

namespace skintest {

inline uint32_t patternPaletteColour(int index, uint8_t tint) {
    const uint32_t i = static_cast<uint32_t>(index) & 0xFF;
    return (i << 16) | ((255 - i) << 8) | ((i * 37 + tint) & 0xFF);
}

// The colour (0x00RRGGBB) of pixel (x, y) of patternPicture(..., tint).
inline uint32_t patternColour(int x, int y, uint8_t tint = 0) {
    return patternPaletteColour((x + 7 * y + tint) & 0xFF, tint);
}

inline std::string patternPicture(int width, int height, uint8_t tint = 0) {
    std::string b;
    const uint32_t stride = static_cast<uint32_t>((width + 3) & ~3);
    const uint32_t pixels = stride * static_cast<uint32_t>(height);
    const uint32_t offset = 54 + 256 * 4;
    b += "BM";
    put32(b, offset + pixels);
    put32(b, 0);
    put32(b, offset);
    put32(b, 40);
    put32(b, static_cast<uint32_t>(width));
    put32(b, static_cast<uint32_t>(height));
    put16(b, 1);
    put16(b, 8);
    put32(b, 0);
    put32(b, pixels);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, 256);
    put32(b, 0);
    for (int i = 0; i < 256; ++i)
        put32(b, patternPaletteColour(i, tint));
    for (int row = height - 1; row >= 0; --row) {  // bottom-up
        for (int x = 0; x < static_cast<int>(stride); ++x)
            b.push_back(static_cast<char>(x < width ? (x + 7 * row + tint) & 0xFF : 0));
    }
    return b;
}

}  // namespace skintest
