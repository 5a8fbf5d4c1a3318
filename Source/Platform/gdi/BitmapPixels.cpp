// Copies a bitmap's pixels out under the GDI lock; a 24-bit DIB section is brought up to date
// from its memory first, since the caller may have written there directly.
#include "gdi/BitmapPixels.h"

#include "gdi/GdiLock.h"
#include "gdi/Objects.h"

namespace platform {

std::optional<BitmapPixels> readBitmapPixels(HBITMAP bitmap) {
    GdiLock lock;
    BitmapObject* object = findBitmap(bitmap);
    if (object == nullptr || object->surface.isEmpty())
        return std::nullopt;
    object->importDib();
    BitmapPixels pixels;
    pixels.width = object->surface.width();
    pixels.height = object->surface.height();
    pixels.xrgb.reserve(static_cast<size_t>(pixels.width) * pixels.height);
    for (int y = 0; y < pixels.height; ++y) {
        const uint32_t* row = object->surface.row(y);
        for (int x = 0; x < pixels.width; ++x)
            pixels.xrgb.push_back(row[x] & 0x00FFFFFFu);
    }
    return pixels;
}

}  // namespace platform
