// Reading a bitmap object's pixels, for the icon and image list code that builds its own
// pictures from bitmaps the caller made.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <windef.h>

namespace platform {

struct BitmapPixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> xrgb;  // 0x00RRGGBB, rows top-down; monochrome bitmaps are black/white
};

// A copy of the bitmap's pixels; none for a handle that is not a bitmap.
std::optional<BitmapPixels> readBitmapPixels(HBITMAP bitmap);

}  // namespace platform
