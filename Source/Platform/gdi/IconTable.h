// The icons behind HICON handles: straight-alpha pixels, shared so that a drawing in progress
// keeps its icon even if another thread destroys the handle meanwhile.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <windef.h>

namespace platform {

struct IconPixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;  // 0xAARRGGBB, straight alpha, rows top-down
};

HICON addIcon(IconPixels pixels);
// The icon of a live handle, or null.
std::shared_ptr<const IconPixels> findIcon(HICON icon);
// False when the handle is not a live icon.
bool removeIcon(HICON icon);

// `pixels` resampled to width × height by nearest-pixel sampling (the same pixels when the
// size already matches).
IconPixels resizedIcon(const IconPixels& pixels, int width, int height);

}  // namespace platform
