// Rectangle helpers. Right and bottom edges are outside, so a rectangle is empty when it has
// no width or no height; results are computed in 64 bits where a sum could overflow.
#include <algorithm>

#include "winuser.h"

namespace {

LONG clampLong(int64_t v) {
    return static_cast<LONG>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

bool emptyRect(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

}  // namespace

BOOL SetRect(LPRECT r, int left, int top, int right, int bottom) {
    if (!r)
        return FALSE;
    *r = RECT{left, top, right, bottom};
    return TRUE;
}

BOOL SetRectEmpty(LPRECT r) {
    if (!r)
        return FALSE;
    *r = RECT{0, 0, 0, 0};
    return TRUE;
}

BOOL CopyRect(LPRECT dst, const RECT* src) {
    if (!dst || !src)
        return FALSE;
    *dst = *src;
    return TRUE;
}

BOOL PtInRect(const RECT* r, POINT p) {
    if (!r)
        return FALSE;
    return p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom ? TRUE : FALSE;
}

BOOL InflateRect(LPRECT r, int dx, int dy) {
    if (!r)
        return FALSE;
    *r = RECT{clampLong(int64_t{r->left} - dx), clampLong(int64_t{r->top} - dy),
              clampLong(int64_t{r->right} + dx), clampLong(int64_t{r->bottom} + dy)};
    return TRUE;
}

BOOL OffsetRect(LPRECT r, int dx, int dy) {
    if (!r)
        return FALSE;
    *r = RECT{clampLong(int64_t{r->left} + dx), clampLong(int64_t{r->top} + dy),
              clampLong(int64_t{r->right} + dx), clampLong(int64_t{r->bottom} + dy)};
    return TRUE;
}

BOOL IntersectRect(LPRECT dst, const RECT* a, const RECT* b) {
    if (!dst || !a || !b)
        return FALSE;
    RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
           std::min(a->bottom, b->bottom)};
    if (emptyRect(r)) {
        *dst = RECT{0, 0, 0, 0};
        return FALSE;
    }
    *dst = r;
    return TRUE;
}

BOOL UnionRect(LPRECT dst, const RECT* a, const RECT* b) {
    if (!dst || !a || !b)
        return FALSE;
    bool ea = emptyRect(*a);
    bool eb = emptyRect(*b);
    if (ea && eb) {
        *dst = RECT{0, 0, 0, 0};
        return FALSE;
    }
    if (ea) {
        *dst = *b;
    } else if (eb) {
        *dst = *a;
    } else {
        *dst = RECT{std::min(a->left, b->left), std::min(a->top, b->top),
                    std::max(a->right, b->right), std::max(a->bottom, b->bottom)};
    }
    return TRUE;
}

BOOL SubtractRect(LPRECT dst, const RECT* a, const RECT* b) {
    if (!dst || !a || !b)
        return FALSE;
    RECT r = *a;
    RECT cut{};
    if (IntersectRect(&cut, a, b)) {
        // Only a cut across a whole side shrinks the rectangle; anything else leaves it whole.
        if (cut.top == r.top && cut.bottom == r.bottom) {
            if (cut.left == r.left) {
                r.left = cut.right;
            } else if (cut.right == r.right) {
                r.right = cut.left;
            }
        } else if (cut.left == r.left && cut.right == r.right) {
            if (cut.top == r.top) {
                r.top = cut.bottom;
            } else if (cut.bottom == r.bottom) {
                r.bottom = cut.top;
            }
        }
    }
    if (emptyRect(r)) {
        *dst = RECT{0, 0, 0, 0};
        return FALSE;
    }
    *dst = r;
    return TRUE;
}

BOOL EqualRect(const RECT* a, const RECT* b) {
    if (!a || !b)
        return FALSE;
    return a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom
               ? TRUE
               : FALSE;
}

BOOL IsRectEmpty(const RECT* r) {
    if (!r)
        return TRUE;
    return emptyRect(*r) ? TRUE : FALSE;
}
