// A region: a set of pixels kept as a list of non-overlapping rectangles (right and bottom
// exclusive). Clip regions of device contexts and the window manager's visible regions.
#pragma once

#include <vector>

#include <windef.h>

namespace platform {

class Region {
public:
    Region() = default;
    explicit Region(const RECT& rect);

    // The region of everything a 32-bit coordinate space can address in practice.
    static Region everything();

    bool isEmpty() const { return rects_.empty(); }
    // 0 x 0 at the origin for an empty region.
    RECT bounds() const;
    bool contains(int x, int y) const;
    bool intersects(const RECT& rect) const;
    // Same set of pixels, however the rectangles are cut.
    bool sameArea(const Region& other) const;
    const std::vector<RECT>& rects() const { return rects_; }

    void clear() { rects_.clear(); }
    void setRect(const RECT& rect);
    void intersect(const RECT& rect);
    void intersect(const Region& other);
    void subtract(const RECT& rect);
    void subtract(const Region& other);
    void unite(const RECT& rect);
    void unite(const Region& other);
    void exclusiveOr(const Region& other);
    void offset(int dx, int dy);

private:
    std::vector<RECT> rects_;
};

bool isEmptyRect(const RECT& r);
RECT intersectRects(const RECT& a, const RECT& b);

}  // namespace platform
