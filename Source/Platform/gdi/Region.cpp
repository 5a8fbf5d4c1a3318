// Region set operations over lists of non-overlapping rectangles. Regions here stay small (a
// window's visible part, a clip with a few exclusions), so plain list algorithms serve well.
#include "gdi/Region.h"

#include <algorithm>
#include <cstdint>

namespace platform {
namespace {

// Far enough out that no surface reaches it, near enough that offsets cannot overflow.
constexpr LONG kFar = 1 << 28;

// Appends the parts of `a` outside `b` (at most four rectangles).
void appendDifference(const RECT& a, const RECT& b, std::vector<RECT>& out) {
    RECT i = intersectRects(a, b);
    if (isEmptyRect(i)) {
        out.push_back(a);
        return;
    }
    if (a.top < i.top) {
        out.push_back(RECT{a.left, a.top, a.right, i.top});
    }
    if (i.bottom < a.bottom) {
        out.push_back(RECT{a.left, i.bottom, a.right, a.bottom});
    }
    if (a.left < i.left) {
        out.push_back(RECT{a.left, i.top, i.left, i.bottom});
    }
    if (i.right < a.right) {
        out.push_back(RECT{i.right, i.top, a.right, i.bottom});
    }
}

LONG clampCoordinate(int64_t v) {
    return static_cast<LONG>(std::clamp<int64_t>(v, -kFar, kFar));
}

// Clamps the corners into the addressable space so that later arithmetic cannot overflow.
RECT clampRect(const RECT& r) {
    return RECT{clampCoordinate(r.left), clampCoordinate(r.top), clampCoordinate(r.right),
                clampCoordinate(r.bottom)};
}

}  // namespace

bool isEmptyRect(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

RECT intersectRects(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (isEmptyRect(r)) {
        return RECT{0, 0, 0, 0};
    }
    return r;
}

Region::Region(const RECT& rect) {
    setRect(rect);
}

Region Region::everything() {
    return Region(RECT{-kFar, -kFar, kFar, kFar});
}

RECT Region::bounds() const {
    if (rects_.empty()) {
        return RECT{0, 0, 0, 0};
    }
    RECT b = rects_.front();
    for (const RECT& r : rects_) {
        b.left = std::min(b.left, r.left);
        b.top = std::min(b.top, r.top);
        b.right = std::max(b.right, r.right);
        b.bottom = std::max(b.bottom, r.bottom);
    }
    return b;
}

bool Region::contains(int x, int y) const {
    return std::any_of(rects_.begin(), rects_.end(), [&](const RECT& r) {
        return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
    });
}

bool Region::intersects(const RECT& rect) const {
    return std::any_of(rects_.begin(), rects_.end(),
                       [&](const RECT& r) { return !isEmptyRect(intersectRects(r, rect)); });
}

bool Region::sameArea(const Region& other) const {
    Region a = *this;
    a.subtract(other);
    Region b = other;
    b.subtract(*this);
    return a.isEmpty() && b.isEmpty();
}

void Region::setRect(const RECT& rect) {
    rects_.clear();
    RECT r = clampRect(rect);
    if (!isEmptyRect(r)) {
        rects_.push_back(r);
    }
}

void Region::intersect(const RECT& rect) {
    std::vector<RECT> kept;
    for (const RECT& r : rects_) {
        RECT i = intersectRects(r, rect);
        if (!isEmptyRect(i)) {
            kept.push_back(i);
        }
    }
    rects_ = std::move(kept);
}

void Region::intersect(const Region& other) {
    std::vector<RECT> kept;
    for (const RECT& a : rects_) {
        for (const RECT& b : other.rects_) {
            RECT i = intersectRects(a, b);
            if (!isEmptyRect(i)) {
                kept.push_back(i);
            }
        }
    }
    rects_ = std::move(kept);
}

void Region::subtract(const RECT& rect) {
    if (isEmptyRect(rect)) {
        return;
    }
    std::vector<RECT> kept;
    for (const RECT& r : rects_) {
        appendDifference(r, rect, kept);
    }
    rects_ = std::move(kept);
}

void Region::subtract(const Region& other) {
    for (const RECT& r : other.rects_) {
        subtract(r);
    }
}

void Region::unite(const RECT& rect) {
    RECT clamped = clampRect(rect);
    if (isEmptyRect(clamped)) {
        return;
    }
    // Add only the parts of the new rectangle that no existing rectangle covers.
    std::vector<RECT> pieces{clamped};
    for (const RECT& existing : rects_) {
        std::vector<RECT> next;
        for (const RECT& p : pieces) {
            appendDifference(p, existing, next);
        }
        pieces = std::move(next);
        if (pieces.empty()) {
            return;
        }
    }
    rects_.insert(rects_.end(), pieces.begin(), pieces.end());
}

void Region::unite(const Region& other) {
    for (const RECT& r : other.rects_) {
        unite(r);
    }
}

void Region::exclusiveOr(const Region& other) {
    Region onlyOther = other;
    onlyOther.subtract(*this);
    subtract(other);
    unite(onlyOther);
}

void Region::offset(int dx, int dy) {
    for (RECT& r : rects_) {
        r = RECT{clampCoordinate(int64_t{r.left} + dx), clampCoordinate(int64_t{r.top} + dy),
                 clampCoordinate(int64_t{r.right} + dx), clampCoordinate(int64_t{r.bottom} + dy)};
    }
    rects_.erase(std::remove_if(rects_.begin(), rects_.end(), isEmptyRect), rects_.end());
}

}  // namespace platform
