// What drawing code needs from a device context: its surface, the mapping from logical to
// surface coordinates, its effective clip, and scoped access to the pixels that keeps
// mirrored DIB sections and surface versions up to date.
#pragma once

#include <algorithm>
#include <cstdint>

#include "gdi/Objects.h"

namespace platform {

// Coordinates are kept within this range so that sums of them never overflow.
constexpr int64_t kCoordinateLimit = int64_t{1} << 28;

inline int clampCoordinate(int64_t v) {
    return static_cast<int>(std::clamp(v, -kCoordinateLimit, kCoordinateLimit));
}

// The surface the DC draws on; null when it has none.
Surface* dcSurface(DeviceContext& dc);
// A memory DC's selected bitmap; null for other DCs.
BitmapObject* dcBitmap(DeviceContext& dc);

inline int64_t dcOffsetX(const DeviceContext& dc) {
    return int64_t{dc.origin.x} + dc.viewportOrigin.x;
}
inline int64_t dcOffsetY(const DeviceContext& dc) {
    return int64_t{dc.origin.y} + dc.viewportOrigin.y;
}

// The clip in surface coordinates: the visible region, the program's clip and the surface.
Region effectiveClip(DeviceContext& dc);

// Write access to a DC's pixels for one drawing operation.
class DrawTarget {
public:
    explicit DrawTarget(DeviceContext& dc);
    ~DrawTarget();
    DrawTarget(const DrawTarget&) = delete;
    DrawTarget& operator=(const DrawTarget&) = delete;

    bool valid() const { return surface_ != nullptr && !clip_.isEmpty(); }
    Surface& surface() { return *surface_; }
    const Region& clip() const { return clip_; }
    DeviceContext& dc() { return dc_; }

    int toX(int64_t logicalX) const { return clampCoordinate(logicalX + dcOffsetX(dc_)); }
    int toY(int64_t logicalY) const { return clampCoordinate(logicalY + dcOffsetY(dc_)); }
    RECT toSurface(const RECT& r) const {
        return RECT{toX(r.left), toY(r.top), toX(r.right), toY(r.bottom)};
    }

    // Calls f(pixels, x, y, count) for every run of clipped pixels of `surfaceRect`.
    template <typename F>
    void forEachSpan(const RECT& surfaceRect, F&& f) {
        if (!valid()) {
            return;
        }
        for (const RECT& c : clip_.rects()) {
            RECT r = intersectRects(c, surfaceRect);
            for (LONG y = r.top; y < r.bottom; ++y) {
                f(surface_->row(y) + r.left, static_cast<int>(r.left), static_cast<int>(y),
                  static_cast<int>(r.right - r.left));
            }
        }
    }

    void plot(int x, int y, uint32_t value, int rop2);

private:
    DeviceContext& dc_;
    Surface* surface_ = nullptr;
    BitmapObject* mirrored_ = nullptr;
    Region clip_;
};

// Read access to a DC's pixels (a blit's source); black outside its surface.
class SourceView {
public:
    explicit SourceView(DeviceContext& dc);
    bool valid() const { return surface_ != nullptr; }
    const Surface& surface() const { return *surface_; }
    int64_t offsetX() const { return offsetX_; }
    int64_t offsetY() const { return offsetY_; }
    // Logical coordinates of the source DC.
    uint32_t pixel(int64_t x, int64_t y) const {
        int64_t sx = x + offsetX_;
        int64_t sy = y + offsetY_;
        if (sx < 0 || sy < 0 || sx >= surface_->width() || sy >= surface_->height()) {
            return 0;
        }
        return surface_->row(static_cast<int>(sy))[sx];
    }
    bool isMonochrome() const { return monochrome_; }

private:
    const Surface* surface_ = nullptr;
    int64_t offsetX_ = 0;
    int64_t offsetY_ = 0;
    bool monochrome_ = false;
};

}  // namespace platform
