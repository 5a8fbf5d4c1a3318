// Putting decoded pixels into a device context: pictures, icons and image lists are drawn
// through these, clipped to the DC's clip region like any other drawing.
#pragma once

#include <cstdint>

#include <windef.h>

#include "gdi/Surface.h"

namespace platform {

// Blends a block of straight-alpha 0xAARRGGBB pixels over the DC at logical (x, y).
// `strideInPixels` is the distance between source rows (negative for bottom-up memory, with
// `argb` at the top row) and at least `width` in size. False for a bad DC or arguments.
bool blendPixels(HDC dc, int x, int y, const uint32_t* argb, int width, int height,
                 int strideInPixels);

// Copies a block of 0x??RRGGBB pixels (the top byte is ignored) into the DC at logical (x, y).
bool copyPixels(HDC dc, int x, int y, const uint32_t* xrgb, int width, int height,
                int strideInPixels);

// The surface a DC draws on (a memory DC's selected bitmap, a window's or the screen's
// surface); null for a bad handle. Writing to it directly bypasses the clip region, and for
// a 24-bit DIB section the caller's bits are only brought up to date by GDI calls.
Surface* selectedSurface(HDC dc);

}  // namespace platform
