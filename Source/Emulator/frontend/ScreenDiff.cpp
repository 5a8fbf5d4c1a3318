// Comparing two screen copies row by row: the changed rows first, then the changed columns
// within them.
#include "frontend/ScreenDiff.h"

#include <algorithm>
#include <cstring>

std::optional<ScreenRect> changedRect(const device::ScreenImage& before,
                                      const device::ScreenImage& after) {
    const auto count = static_cast<size_t>(after.width) * static_cast<size_t>(after.height);
    if (after.width <= 0 || after.height <= 0 || after.pixels.size() < count)
        return std::nullopt;
    if (before.width != after.width || before.height != after.height ||
        before.pixels.size() < count) {
        return ScreenRect{0, 0, after.width, after.height};
    }
    const auto width = static_cast<size_t>(after.width);
    auto row = [width](const device::ScreenImage& image, int y) {
        return image.pixels.data() + static_cast<size_t>(y) * width;
    };
    auto rowDiffers = [&](int y) {
        return std::memcmp(row(before, y), row(after, y), width * sizeof(uint32_t)) != 0;
    };
    int top = 0;
    while (top < after.height && !rowDiffers(top))
        ++top;
    if (top == after.height)
        return std::nullopt;
    int bottom = after.height - 1;
    while (bottom > top && !rowDiffers(bottom))
        --bottom;
    int left = after.width;
    int right = -1;
    for (int y = top; y <= bottom; ++y) {
        const uint32_t* a = row(before, y);
        const uint32_t* b = row(after, y);
        for (int x = 0; x < left; ++x) {
            if (a[x] != b[x]) {
                left = x;
                break;
            }
        }
        for (int x = after.width - 1; x > right; --x) {
            if (a[x] != b[x]) {
                right = x;
                break;
            }
        }
    }
    return ScreenRect{left, top, right - left + 1, bottom - top + 1};
}
