// Surface storage: owned black pixel blocks and wrapped caller memory.
#include "gdi/Surface.h"

#include <algorithm>

namespace platform {

bool Surface::isValidSize(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxSurfaceSide && height <= kMaxSurfaceSide &&
           int64_t{width} * height <= kMaxSurfacePixels;
}

Surface::Surface(int width, int height) {
    resize(width, height);
}

Surface Surface::wrap(uint32_t* firstRow, int width, int height, ptrdiff_t strideInPixels) {
    Surface s;
    if (firstRow != nullptr && isValidSize(width, height) &&
        (strideInPixels >= width || -strideInPixels >= width)) {
        s.first_ = firstRow;
        s.width_ = width;
        s.height_ = height;
        s.stride_ = strideInPixels;
    }
    return s;
}

void Surface::fill(uint32_t value) {
    for (int y = 0; y < height_; ++y) {
        std::fill_n(row(y), width_, value);
    }
}

bool Surface::resize(int width, int height) {
    bool wrapped = first_ != nullptr && owned_.empty();
    if (wrapped || !isValidSize(width, height)) {
        return false;
    }
    owned_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0u);
    first_ = owned_.data();
    width_ = width;
    height_ = height;
    stride_ = width;
    touch();
    return true;
}

}  // namespace platform
