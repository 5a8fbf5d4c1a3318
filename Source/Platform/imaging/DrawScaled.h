// Drawing a block of straight-alpha pixels into a device context, scaled from a source
// rectangle to a target rectangle: what IImage::Draw, DrawIconEx and image lists share.
#pragma once

#include <cstdint>
#include <optional>

#include <windef.h>

namespace platform {

// Pixels 0xAARRGGBB, rows top-down, `width` pixels per row.
struct PixelBlock {
    const uint32_t* pixels;
    int width;
    int height;
};

// Blends `source` (pixels of the block; must lie inside it and not be empty) scaled by
// nearest-pixel sampling onto `target` (logical coordinates of dc; not empty). Only the part
// inside the DC's clip box is computed. False for a bad DC or arguments.
bool drawScaled(HDC dc, const PixelBlock& block, const RECT& source, const RECT& target);

// The rectangle of width × height at (x, y); none when its far edges do not fit a LONG.
std::optional<RECT> rectAt(int x, int y, int width, int height);

}  // namespace platform
