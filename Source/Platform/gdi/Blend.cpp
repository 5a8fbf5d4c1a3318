// Copying and alpha-blending caller pixels into a device context, clipped like all drawing.
#include "gdi/Blend.h"

#include "gdi/DcAccess.h"
#include "gdi/GdiLock.h"

namespace platform {
namespace {

enum class PixelMode { Copy, Blend };

inline uint32_t blendOver(uint32_t src, uint32_t dst) {
    uint32_t a = src >> 24;
    if (a == 255) {
        return src & 0x00FFFFFFu;
    }
    if (a == 0) {
        return dst;
    }
    uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        uint32_t s = (src >> shift) & 0xFFu;
        uint32_t d = (dst >> shift) & 0xFFu;
        // d + (s - d) * a / 255, rounded, in integers.
        uint32_t v = (s * a + d * (255 - a) + 127) / 255;
        result |= v << shift;
    }
    return result;
}

bool putPixels(HDC hdc, int x, int y, const uint32_t* pixels, int width, int height, int stride,
               PixelMode mode) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    if (dc == nullptr || pixels == nullptr || width <= 0 || height <= 0 ||
        (stride < width && -stride < width)) {
        return false;
    }
    DrawTarget target(*dc);
    if (dcSurface(*dc) == nullptr) {
        return false;
    }
    int64_t left = x + dcOffsetX(*dc);
    int64_t top = y + dcOffsetY(*dc);
    RECT area{clampCoordinate(left), clampCoordinate(top), clampCoordinate(left + width),
              clampCoordinate(top + height)};
    target.forEachSpan(area, [&](uint32_t* dst, int sx, int sy, int count) {
        const uint32_t* src = pixels + (sy - top) * static_cast<ptrdiff_t>(stride) + (sx - left);
        if (mode == PixelMode::Copy) {
            for (int i = 0; i < count; ++i) {
                dst[i] = src[i] & 0x00FFFFFFu;
            }
        } else {
            for (int i = 0; i < count; ++i) {
                dst[i] = blendOver(src[i], dst[i]);
            }
        }
    });
    return true;
}

}  // namespace

bool blendPixels(HDC dc, int x, int y, const uint32_t* argb, int width, int height,
                 int strideInPixels) {
    return putPixels(dc, x, y, argb, width, height, strideInPixels, PixelMode::Blend);
}

bool copyPixels(HDC dc, int x, int y, const uint32_t* xrgb, int width, int height,
                int strideInPixels) {
    return putPixels(dc, x, y, xrgb, width, height, strideInPixels, PixelMode::Copy);
}

Surface* selectedSurface(HDC hdc) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    return dc != nullptr ? dcSurface(*dc) : nullptr;
}

}  // namespace platform
