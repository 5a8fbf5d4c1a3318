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
    return indexedBmp(
        width, height, [tint](int i) { return patternPaletteColour(i, tint); },
        [tint](int x, int y) { return (x + 7 * y + tint) & 0xFF; });
}

}  // namespace skintest
