// Shapes and pixels: FillRect, InvertRect, Rectangle, RoundRect, Ellipse, Polygon, Polyline,
// lines (Bresenham, the last pixel left out as on Windows), SetPixel and GetPixel. Pens and
// brushes are solid; the DC's binary raster operation applies to both.
#include <cmath>

#include "gdi/DcAccess.h"
#include "gdi/DcState.h"
#include "gdi/GdiLock.h"
#include "gdi/Rop.h"
#include "gdi/SystemColors.h"

using namespace platform;

namespace {

// Polygons with more points than this are refused rather than scanned.
constexpr int kMaxPolygonPoints = 65536;

void fillSpan(uint32_t* p, int n, uint32_t color, int rop2) {
    if (rop2 == R2_COPYPEN) {
        std::fill_n(p, n, color);
        return;
    }
    for (int i = 0; i < n; ++i) {
        p[i] = applyRop2(rop2, color, p[i]);
    }
}

void fillSurfaceRect(DrawTarget& target, const RECT& r, uint32_t color, int rop2) {
    target.forEachSpan(r, [&](uint32_t* p, int, int, int n) { fillSpan(p, n, color, rop2); });
}

RECT normalized(int left, int top, int right, int bottom) {
    return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right),
                std::max(top, bottom)};
}

PenObject* visiblePen(DeviceContext& dc) {
    PenObject* pen = findPen(dc.pen);
    return pen != nullptr && !pen->isNull() ? pen : nullptr;
}

BrushObject* visibleBrush(DeviceContext& dc) {
    BrushObject* brush = findBrush(dc.brush);
    return brush != nullptr && !brush->isNull() ? brush : nullptr;
}

// A pen-wide dot centred on the point (a single pixel for one-pixel pens).
void stamp(DrawTarget& target, int x, int y, int width, uint32_t color, int rop2) {
    if (width <= 1) {
        target.plot(x, y, color, rop2);
        return;
    }
    int before = (width - 1) / 2;
    fillSurfaceRect(target, RECT{x - before, y - before, x - before + width, y - before + width},
                    color, rop2);
}

// Where the segment enters the box, as a fraction of its length (Liang-Barsky); false when
// it misses the box.
bool entryIntoBox(double x0, double y0, double x1, double y1, const RECT& box, double& enter) {
    double dx = x1 - x0;
    double dy = y1 - y0;
    double p[4] = {-dx, dx, -dy, dy};
    double q[4] = {x0 - box.left, box.right - x0, y0 - box.top, box.bottom - y0};
    enter = 0.0;
    double leave = 1.0;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0) {
                return false;
            }
            continue;
        }
        double t = q[i] / p[i];
        if (p[i] < 0) {
            enter = std::max(enter, t);
        } else {
            leave = std::min(leave, t);
        }
    }
    return enter <= leave;
}

// Bresenham from (x0, y0) to (x1, y1) in surface coordinates, (x1, y1) itself left out.
void drawLine(DrawTarget& target, int x0, int y0, int x1, int y1, const PenObject& pen, int rop2) {
    RECT box = target.surface().bounds();
    int reach = pen.width() + 1;
    box = RECT{box.left - reach, box.top - reach, box.right + reach, box.bottom + reach};
    double enter = 0;
    if (!entryIntoBox(x0, y0, x1, y1, box, enter)) {
        return;
    }
    if (enter > 0) {
        // Start where the line comes into view instead of stepping through empty space.
        x0 = static_cast<int>(std::lround(x0 + enter * (double(x1) - x0)));
        y0 = static_cast<int>(std::lround(y0 + enter * (double(y1) - y0)));
    }
    int64_t dx = std::abs(int64_t{x1} - x0);
    int64_t dy = -std::abs(int64_t{y1} - y0);
    int sx = x0 < x1 ? 1 : -1;
    int sy = y0 < y1 ? 1 : -1;
    int64_t err = dx + dy;
    int x = x0;
    int y = y0;
    // Steps beyond the surface cannot change a pixel; stop once the line has left it for good.
    RECT limit = target.surface().bounds();
    int margin = pen.width();
    while (x != x1 || y != y1) {
        stamp(target, x, y, pen.width(), pen.pixel(), rop2);
        if ((sx > 0 && x > limit.right + margin) || (sx < 0 && x < limit.left - margin) ||
            (sy > 0 && y > limit.bottom + margin) || (sy < 0 && y < limit.top - margin)) {
            break;
        }
        int64_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

// Fills the pixels whose centres lie inside the polygon (even-odd rule), surface coordinates.
void fillPolygon(DrawTarget& target, const std::vector<POINT>& points, uint32_t color, int rop2) {
    LONG top = points[0].y;
    LONG bottom = points[0].y;
    for (const POINT& p : points) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    RECT clipBounds = target.clip().bounds();
    top = std::max(top, clipBounds.top);
    bottom = std::min(bottom, clipBounds.bottom);
    std::vector<double> crossings;
    for (LONG y = top; y < bottom; ++y) {
        double cy = y + 0.5;
        crossings.clear();
        for (size_t i = 0; i < points.size(); ++i) {
            const POINT& a = points[i];
            const POINT& b = points[(i + 1) % points.size()];
            if ((a.y <= cy) != (b.y <= cy)) {
                crossings.push_back(a.x + (cy - a.y) * (b.x - a.x) / double(b.y - a.y));
            }
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
            // Pixel x is inside when its centre x + 0.5 lies in [from, to).
            int from = clampCoordinate(static_cast<int64_t>(std::ceil(crossings[i] - 0.5)));
            int to = clampCoordinate(static_cast<int64_t>(std::ceil(crossings[i + 1] - 0.5)));
            fillSurfaceRect(target, RECT{from, static_cast<LONG>(y), to, static_cast<LONG>(y + 1)},
                            color, rop2);
        }
    }
}

bool toSurfacePoints(DrawTarget& target, const POINT* points, int count, std::vector<POINT>& out) {
    if (points == nullptr || count <= 0 || count > kMaxPolygonPoints) {
        return false;
    }
    out.resize(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        out[i] = POINT{target.toX(points[i].x), target.toY(points[i].y)};
    }
    return true;
}

// Polygon and Polyline: `draw(dc, target, points)` with the points on the surface, unless
// nothing of the DC shows. False for no DC, fewer than two points or too many.
template <typename Draw>
BOOL drawThroughPoints(HDC hdc, const POINT* points, int count, Draw draw) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    if (dc == nullptr || count < 2) {
        return FALSE;
    }
    DrawTarget target(*dc);
    std::vector<POINT> p;
    if (!toSurfacePoints(target, points, count, p)) {
        return FALSE;
    }
    if (target.valid()) {
        draw(*dc, target, p);
    }
    return TRUE;
}

}  // namespace

namespace platform {
namespace {

HBRUSH (*g_systemColorBrush)(int) = nullptr;

}  // namespace

void setSystemColorBrushSource(HBRUSH (*brushOf)(int index)) {
    GdiLock lock;
    g_systemColorBrush = brushOf;
}

HBRUSH resolveBrushArgument(HBRUSH brush) {
    auto value = reinterpret_cast<uintptr_t>(brush);
    HBRUSH (*source)(int) = nullptr;
    {
        GdiLock lock;
        source = g_systemColorBrush;
    }
    if (value >= 1 && value <= kSystemColorCount && source != nullptr) {
        return source(static_cast<int>(value) - 1);
    }
    return brush;
}

}  // namespace platform

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    // Resolved before taking the lock: the source belongs to the window manager.
    brush = resolveBrushArgument(brush);
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    BrushObject* b = findBrush(brush);
    if (dc == nullptr || rect == nullptr || b == nullptr) {
        return 0;
    }
    if (b->isNull()) {
        return 1;
    }
    DrawTarget target(*dc);
    fillSurfaceRect(target, target.toSurface(*rect), b->pixel(), R2_COPYPEN);
    return 1;
}

BOOL InvertRect(HDC hdc, const RECT* rect) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    if (dc == nullptr || rect == nullptr) {
        return FALSE;
    }
    DrawTarget target(*dc);
    fillSurfaceRect(target, target.toSurface(*rect), 0, R2_NOT);
    return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    DrawTarget target(*dc);
    RECT r = target.toSurface(normalized(left, top, right, bottom));
    PenObject* pen = visiblePen(*dc);
    BrushObject* brush = visibleBrush(*dc);
    if (pen == nullptr) {
        // Without an outline the filled area is one pixel narrower and shorter.
        if (brush != nullptr) {
            fillSurfaceRect(target, RECT{r.left, r.top, r.right - 1, r.bottom - 1}, brush->pixel(),
                            dc->rop2);
        }
        return TRUE;
    }
    int w = std::min<LONG>(pen->width(), std::max<LONG>(1, (r.right - r.left + 1) / 2));
    int h = std::min<LONG>(pen->width(), std::max<LONG>(1, (r.bottom - r.top + 1) / 2));
    RECT inner{r.left + w, r.top + h, r.right - w, r.bottom - h};
    if (brush != nullptr) {
        fillSurfaceRect(target, inner, brush->pixel(), dc->rop2);
    }
    uint32_t c = pen->pixel();
    fillSurfaceRect(target, RECT{r.left, r.top, r.right, std::min(r.top + h, r.bottom)}, c,
                    dc->rop2);
    if (r.bottom - h > r.top + h) {
        fillSurfaceRect(target, RECT{r.left, r.bottom - h, r.right, r.bottom}, c, dc->rop2);
    }
    LONG sideTop = r.top + h;
    LONG sideBottom = std::max(sideTop, r.bottom - h);
    fillSurfaceRect(target, RECT{r.left, sideTop, std::min(r.left + w, r.right), sideBottom}, c,
                    dc->rop2);
    if (r.right - w > r.left + w) {
        fillSurfaceRect(target, RECT{r.right - w, sideTop, r.right, sideBottom}, c, dc->rop2);
    }
    return TRUE;
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int, int) {
    // Corners are drawn square: the device's controls use them only for small radii.
    return Rectangle(hdc, left, top, right, bottom);
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    DrawTarget target(*dc);
    RECT r = target.toSurface(normalized(left, top, right, bottom));
    PenObject* pen = visiblePen(*dc);
    BrushObject* brush = visibleBrush(*dc);
    double cx = (r.left + r.right) / 2.0;
    double cy = (r.top + r.bottom) / 2.0;
    double rx = (r.right - r.left) / 2.0;
    double ry = (r.bottom - r.top) / 2.0;
    if (rx <= 0 || ry <= 0) {
        return TRUE;
    }
    double penWidth = pen != nullptr ? pen->width() : 0;
    RECT clipBounds = target.clip().bounds();
    LONG fromY = std::max(r.top, clipBounds.top);
    LONG toY = std::min(r.bottom, clipBounds.bottom);
    // Half the width of the ellipse of radii (a, b) at height dy from its centre.
    auto halfWidth = [](double a, double b, double dy) {
        if (a <= 0 || b <= 0 || std::abs(dy) >= b) {
            return -1.0;
        }
        return a * std::sqrt(1.0 - (dy * dy) / (b * b));
    };
    for (LONG y = fromY; y < toY; ++y) {
        double dy = y + 0.5 - cy;
        double outer = halfWidth(rx, ry, dy);
        if (outer < 0) {
            continue;
        }
        int outerFrom = static_cast<int>(std::ceil(cx - outer - 0.5));
        int outerTo = static_cast<int>(std::ceil(cx + outer - 0.5));
        double inner = halfWidth(rx - penWidth, ry - penWidth, dy);
        int innerFrom = outerTo;
        int innerTo = outerTo;
        if (inner >= 0) {
            innerFrom = std::max(outerFrom, static_cast<int>(std::ceil(cx - inner - 0.5)));
            innerTo = std::max(innerFrom, static_cast<int>(std::ceil(cx + inner - 0.5)));
        }
        LONG y1 = y + 1;
        if (brush != nullptr && innerTo > innerFrom) {
            fillSurfaceRect(target, RECT{innerFrom, y, innerTo, y1}, brush->pixel(), dc->rop2);
        }
        if (pen != nullptr) {
            fillSurfaceRect(target, RECT{outerFrom, y, innerFrom, y1}, pen->pixel(), dc->rop2);
            fillSurfaceRect(target, RECT{innerTo, y, outerTo, y1}, pen->pixel(), dc->rop2);
        }
    }
    return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* points, int count) {
    return drawThroughPoints(
        hdc, points, count, [](DeviceContext& dc, DrawTarget& target, const std::vector<POINT>& p) {
            if (BrushObject* brush = visibleBrush(dc)) {
                fillPolygon(target, p, brush->pixel(), dc.rop2);
            }
            if (PenObject* pen = visiblePen(dc)) {
                for (size_t i = 0; i < p.size(); ++i) {
                    const POINT& a = p[i];
                    const POINT& b = p[(i + 1) % p.size()];
                    drawLine(target, a.x, a.y, b.x, b.y, *pen, dc.rop2);
                }
            }
        });
}

BOOL Polyline(HDC hdc, const POINT* points, int count) {
    return drawThroughPoints(
        hdc, points, count, [](DeviceContext& dc, DrawTarget& target, const std::vector<POINT>& p) {
            if (PenObject* pen = visiblePen(dc)) {
                for (size_t i = 0; i + 1 < p.size(); ++i) {
                    drawLine(target, p[i].x, p[i].y, p[i + 1].x, p[i + 1].y, *pen, dc.rop2);
                }
            }
        });
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT previous) {
    return exchangeDcPoint(hdc, &DeviceContext::position,
                           POINT{clampCoordinate(x), clampCoordinate(y)}, previous);
}

BOOL LineTo(HDC hdc, int x, int y) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    POINT to{clampCoordinate(x), clampCoordinate(y)};
    {
        DrawTarget target(*dc);
        PenObject* pen = visiblePen(*dc);
        if (pen != nullptr && target.valid()) {
            drawLine(target, target.toX(dc->position.x), target.toY(dc->position.y),
                     target.toX(to.x), target.toY(to.y), *pen, dc->rop2);
        }
    }
    dc->position = to;
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC hdc, LPPOINT position) {
    return getDcPoint(hdc, &DeviceContext::position, position);
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    if (dc == nullptr) {
        return CLR_INVALID;
    }
    DrawTarget target(*dc);
    int sx = target.toX(x);
    int sy = target.toY(y);
    if (!target.valid() || !target.clip().contains(sx, sy)) {
        return CLR_INVALID;
    }
    target.surface().row(sy)[sx] = pixelFromColorref(color);
    return color & 0x00FFFFFFu;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    if (dc == nullptr) {
        return CLR_INVALID;
    }
    SourceView view(*dc);
    if (!view.valid()) {
        return CLR_INVALID;
    }
    int64_t sx = x + view.offsetX();
    int64_t sy = y + view.offsetY();
    Region clip = effectiveClip(*dc);
    if (sx < INT32_MIN || sx > INT32_MAX || sy < INT32_MIN || sy > INT32_MAX ||
        !clip.contains(static_cast<int>(sx), static_cast<int>(sy))) {
        return CLR_INVALID;
    }
    return colorrefFromPixel(view.pixel(x, y) & kPixelMask);
}
