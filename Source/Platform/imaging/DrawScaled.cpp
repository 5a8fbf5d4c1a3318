// Scaled, clipped drawing of pixel blocks. The target is first cut to the DC's clip box, so
// that a huge target rectangle costs only its visible part.
#include "imaging/DrawScaled.h"

#include <wingdi.h>

#include <algorithm>
#include <vector>

#include "gdi/Blend.h"

namespace platform {

bool drawScaled(HDC dc, const PixelBlock& block, const RECT& source, const RECT& target) {
    if (block.pixels == nullptr || block.width <= 0 || block.height <= 0)
        return false;
    if (source.left < 0 || source.top < 0 || source.right > block.width ||
        source.bottom > block.height || source.left >= source.right ||
        source.top >= source.bottom) {
        return false;
    }
    if (target.left >= target.right || target.top >= target.bottom)
        return false;
    RECT clip{};
    const int clipKind = GetClipBox(dc, &clip);
    if (clipKind == ERROR)
        return false;
    if (clipKind == NULLREGION)
        return true;

    const int64_t sourceWidth = source.right - source.left;
    const int64_t sourceHeight = source.bottom - source.top;
    const int64_t targetWidth = int64_t{target.right} - target.left;
    const int64_t targetHeight = int64_t{target.bottom} - target.top;
    if (sourceWidth == targetWidth && sourceHeight == targetHeight) {
        const uint32_t* first = block.pixels + int64_t{source.top} * block.width + source.left;
        return blendPixels(dc, target.left, target.top, first, static_cast<int>(sourceWidth),
                           static_cast<int>(sourceHeight), block.width);
    }

    const RECT visible{std::max(target.left, clip.left), std::max(target.top, clip.top),
                       std::min(target.right, clip.right), std::min(target.bottom, clip.bottom)};
    if (visible.left >= visible.right || visible.top >= visible.bottom)
        return true;
    const int width = visible.right - visible.left;
    const int height = visible.bottom - visible.top;

    // Each target pixel takes the source pixel under its centre.
    std::vector<int> columns(static_cast<size_t>(width));
    for (int x = 0; x < width; ++x) {
        int64_t offset = int64_t{visible.left} + x - target.left;
        columns[static_cast<size_t>(x)] =
            static_cast<int>(source.left + (2 * offset + 1) * sourceWidth / (2 * targetWidth));
    }
    std::vector<uint32_t> scaled(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        int64_t offset = int64_t{visible.top} + y - target.top;
        int64_t sourceRow = source.top + (2 * offset + 1) * sourceHeight / (2 * targetHeight);
        const uint32_t* row = block.pixels + sourceRow * block.width;
        uint32_t* out = scaled.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x)
            out[x] = row[columns[static_cast<size_t>(x)]];
    }
    return blendPixels(dc, visible.left, visible.top, scaled.data(), width, height, width);
}

std::optional<RECT> rectAt(int x, int y, int width, int height) {
    const int64_t right = int64_t{x} + width;
    const int64_t bottom = int64_t{y} + height;
    if (right > INT32_MAX || bottom > INT32_MAX || right < INT32_MIN || bottom < INT32_MIN) {
        return std::nullopt;
    }
    return RECT{x, y, static_cast<LONG>(right), static_cast<LONG>(bottom)};
}

}  // namespace platform
