// Region objects (HRGN) and the clip calls of device contexts. A program's clip region is
// kept in the DC's device coordinates (relative to its origin, not moved by the viewport);
// IntersectClipRect and ExcludeClipRect take logical coordinates.
#include "gdi/DcAccess.h"
#include "gdi/GdiLock.h"

using namespace platform;

namespace {

int regionType(const Region& r) {
    if (r.isEmpty()) {
        return NULLREGION;
    }
    return r.rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

RECT normalized(int left, int top, int right, int bottom) {
    return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right),
                std::max(top, bottom)};
}

// The type of what the DC can draw on now, as clip calls report it.
int clipType(DeviceContext& dc) {
    return regionType(effectiveClip(dc));
}

RECT logicalToDevice(const DeviceContext& dc, int left, int top, int right, int bottom) {
    RECT r = normalized(left, top, right, bottom);
    return RECT{clampCoordinate(int64_t{r.left} + dc.viewportOrigin.x),
                clampCoordinate(int64_t{r.top} + dc.viewportOrigin.y),
                clampCoordinate(int64_t{r.right} + dc.viewportOrigin.x),
                clampCoordinate(int64_t{r.bottom} + dc.viewportOrigin.y)};
}

enum class Narrowing { Intersect, Exclude };

// IntersectClipRect and ExcludeClipRect: the program's clip (everything while it has none)
// keeps only what lies inside, or outside, the logical rectangle `r`.
int narrowClip(HDC hdc, const RECT& r, Narrowing narrowing) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    if (dc == nullptr) {
        return ERROR;
    }
    if (!dc->appClip) {
        dc->appClip = Region::everything();
    }
    const RECT area = logicalToDevice(*dc, r.left, r.top, r.right, r.bottom);
    if (narrowing == Narrowing::Intersect) {
        dc->appClip->intersect(area);
    } else {
        dc->appClip->subtract(area);
    }
    return clipType(*dc);
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    auto r = std::make_unique<RegionObject>();
    r->region.setRect(normalized(left, top, right, bottom));
    return addObject(std::move(r));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
    if (rect == nullptr) {
        return nullptr;
    }
    return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
    GdiLock lock;
    RegionObject* r = findRegion(region);
    if (r == nullptr) {
        return FALSE;
    }
    r->region.setRect(normalized(left, top, right, bottom));
    return TRUE;
}

int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode) {
    GdiLock lock;
    RegionObject* dst = findRegion(destination);
    RegionObject* a = findRegion(source1);
    RegionObject* b = mode == RGN_COPY ? a : findRegion(source2);
    if (dst == nullptr || a == nullptr || b == nullptr) {
        return ERROR;
    }
    Region result = a->region;
    switch (mode) {
        case RGN_AND:
            result.intersect(b->region);
            break;
        case RGN_OR:
            result.unite(b->region);
            break;
        case RGN_XOR:
            result.exclusiveOr(b->region);
            break;
        case RGN_DIFF:
            result.subtract(b->region);
            break;
        case RGN_COPY:
            break;
        default:
            return ERROR;
    }
    dst->region = std::move(result);
    return regionType(dst->region);
}

int OffsetRgn(HRGN region, int dx, int dy) {
    GdiLock lock;
    RegionObject* r = findRegion(region);
    if (r == nullptr) {
        return ERROR;
    }
    r->region.offset(dx, dy);
    return regionType(r->region);
}

BOOL PtInRegion(HRGN region, int x, int y) {
    GdiLock lock;
    RegionObject* r = findRegion(region);
    return r != nullptr && r->region.contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN region, const RECT* rect) {
    GdiLock lock;
    RegionObject* r = findRegion(region);
    if (r == nullptr || rect == nullptr) {
        return FALSE;
    }
    return r->region.intersects(normalized(rect->left, rect->top, rect->right, rect->bottom));
}

BOOL EqualRgn(HRGN region1, HRGN region2) {
    GdiLock lock;
    RegionObject* a = findRegion(region1);
    RegionObject* b = findRegion(region2);
    return a != nullptr && b != nullptr && a->region.sameArea(b->region) ? TRUE : FALSE;
}

int GetRgnBox(HRGN region, LPRECT rect) {
    GdiLock lock;
    RegionObject* r = findRegion(region);
    if (r == nullptr || rect == nullptr) {
        return ERROR;
    }
    *rect = r->region.bounds();
    return regionType(r->region);
}

int SelectClipRgn(HDC hdc, HRGN region) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    if (dc == nullptr) {
        return ERROR;
    }
    if (region == nullptr) {
        dc->appClip.reset();
    } else {
        RegionObject* r = findRegion(region);
        if (r == nullptr) {
            return ERROR;
        }
        dc->appClip = r->region;
    }
    return clipType(*dc);
}

int GetClipRgn(HDC hdc, HRGN region) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    RegionObject* r = findRegion(region);
    if (dc == nullptr || r == nullptr) {
        return -1;
    }
    if (!dc->appClip) {
        return 0;
    }
    r->region = *dc->appClip;
    return 1;
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
    return narrowClip(hdc, RECT{left, top, right, bottom}, Narrowing::Intersect);
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
    return narrowClip(hdc, RECT{left, top, right, bottom}, Narrowing::Exclude);
}

int GetClipBox(HDC hdc, LPRECT rect) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    if (dc == nullptr || rect == nullptr) {
        return ERROR;
    }
    Region clip = effectiveClip(*dc);
    if (clip.isEmpty()) {
        *rect = RECT{0, 0, 0, 0};
        return NULLREGION;
    }
    RECT b = clip.bounds();
    int64_t dx = dcOffsetX(*dc);
    int64_t dy = dcOffsetY(*dc);
    *rect = RECT{clampCoordinate(b.left - dx), clampCoordinate(b.top - dy),
                 clampCoordinate(b.right - dx), clampCoordinate(b.bottom - dy)};
    return regionType(clip);
}
