// A 32-bit pixel surface: what every device context draws on (memory bitmaps, DIB sections,
// the screen, the window manager's buffers). Pixels are 0x00RRGGBB words, BGRA in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <windef.h>

namespace platform {

// Largest side and area of a surface: bigger requests fail instead of overflowing sizes.
constexpr int kMaxSurfaceSide = 16384;
constexpr int64_t kMaxSurfacePixels = int64_t{64} * 1024 * 1024;

// COLORREF 0x00BBGGRR to a surface pixel 0x00RRGGBB and back.
constexpr uint32_t pixelFromColorref(COLORREF c) {
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr COLORREF colorrefFromPixel(uint32_t p) {
    return ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
}

class Surface {
public:
    // An empty surface (0 x 0).
    Surface() = default;
    // An owned surface of black pixels; empty when the size is invalid (see isValidSize).
    Surface(int width, int height);
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    Surface(Surface&&) = default;
    Surface& operator=(Surface&&) = default;

    // Pixels owned by someone else (a DIB section's bits). `strideInPixels` may be negative
    // for bottom-up memory: `firstRow` is then the top row, at the end of the block.
    static Surface wrap(uint32_t* firstRow, int width, int height, ptrdiff_t strideInPixels);

    static bool isValidSize(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    ptrdiff_t stride() const { return stride_; }
    bool isEmpty() const { return width_ <= 0 || height_ <= 0; }
    RECT bounds() const { return RECT{0, 0, width_, height_}; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    // The row `y`, which must lie in 0..height-1.
    uint32_t* row(int y) { return first_ + y * stride_; }
    const uint32_t* row(int y) const { return first_ + y * stride_; }

    // Black outside the surface; writes outside are ignored.
    uint32_t pixel(int x, int y) const { return contains(x, y) ? row(y)[x] : 0; }
    void setPixel(int x, int y, uint32_t value) {
        if (contains(x, y)) {
            row(y)[x] = value;
        }
    }
    void fill(uint32_t value);

    // Owned surfaces only: a new size, all black. False (and unchanged) for an invalid size
    // or a wrapped surface.
    bool resize(int width, int height);

    // Counts the changes made through the GDI, so viewers know when to look again.
    uint64_t version() const { return version_; }
    void touch() { ++version_; }

private:
    std::vector<uint32_t> owned_;
    uint32_t* first_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    ptrdiff_t stride_ = 0;
    uint64_t version_ = 0;
};

}  // namespace platform
