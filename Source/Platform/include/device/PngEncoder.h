// Encoding pixels as a PNG file in memory, for screenshots and for tools that make pictures
// (skin pictures must be small: an indexed picture at the strongest compression).
#pragma once

#include <cstdint>
#include <vector>

namespace device {

enum class PngColours {
    Rgb,      // 8-bit red, green, blue
    Palette,  // 8-bit indexes into a palette of the picture's own colours (at most 256)
};

// Encodes width x height pixels (each 0x00RRGGBB, top row first) at zlib level 9. False when
// the sizes do not match the pixels, or a Palette picture has more than 256 colours. The
// palette lists colours in the order they first appear, so the same pixels give the same bytes.
bool encodePng(int width, int height, const std::vector<uint32_t>& pixels, PngColours colours,
               std::vector<uint8_t>& png);

}  // namespace device
