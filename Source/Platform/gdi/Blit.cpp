// Block transfers: BitBlt, StretchBlt (nearest neighbour), TransparentBlt/TransparentImage
// (a colour key) and PatBlt, with every ternary raster operation. Sources read black outside
// their surface; destinations are clipped to their DC's clip. A plain SRCCOPY is a row copy.
#include <cstring>
#include <optional>

#include "gdi/DcAccess.h"
#include "gdi/GdiLock.h"
#include "gdi/Rop.h"

using namespace platform;

namespace {

// Where blit pixels come from, in source surface coordinates.
struct BlitSource {
    const Surface* surface = nullptr;
    int64_t offsetX = 0;  // logical to surface
    int64_t offsetY = 0;
    bool monochrome = false;
    uint32_t backgroundPixel = 0x00FFFFFFu;  // the source DC's background, for colour to mono
    // A snapshot of the part that is read when source and destination share a surface.
    std::vector<uint32_t> snapshot;
    RECT snapshotRect{0, 0, 0, 0};

    uint32_t pixel(int64_t x, int64_t y) const {
        if (!snapshot.empty()) {
            if (x < snapshotRect.left || y < snapshotRect.top || x >= snapshotRect.right ||
                y >= snapshotRect.bottom) {
                return 0;
            }
            return snapshot[(y - snapshotRect.top) * (snapshotRect.right - snapshotRect.left) +
                            (x - snapshotRect.left)];
        }
        if (x < 0 || y < 0 || x >= surface->width() || y >= surface->height()) {
            return 0;
        }
        return surface->row(static_cast<int>(y))[x];
    }

    // Copies `n` pixels of row `y` from column `x` into `out`, black outside.
    void readRow(int64_t x, int64_t y, int n, uint32_t* out) const {
        RECT b = snapshot.empty() ? surface->bounds() : snapshotRect;
        if (y < b.top || y >= b.bottom) {
            std::fill_n(out, n, 0u);
            return;
        }
        int64_t a = std::max<int64_t>(x, b.left);
        int64_t e = std::min<int64_t>(x + n, b.right);
        if (a >= e) {
            std::fill_n(out, n, 0u);
            return;
        }
        std::fill(out, out + (a - x), 0u);
        const uint32_t* row =
            snapshot.empty() ? surface->row(static_cast<int>(y)) + a
                             : snapshot.data() + (y - b.top) * (b.right - b.left) + (a - b.left);
        std::memcpy(out + (a - x), row, static_cast<size_t>(e - a) * sizeof(uint32_t));
        std::fill(out + (e - x), out + n, 0u);
    }

    void takeSnapshot(const RECT& area) {
        snapshotRect = intersectRects(area, surface->bounds());
        if (isEmptyRect(snapshotRect)) {
            // Nothing of the surface is read: a one-pixel black snapshot outside it reads black.
            snapshotRect = RECT{-2, -2, -1, -1};
            snapshot.assign(1, 0u);
            return;
        }
        int w = snapshotRect.right - snapshotRect.left;
        int h = snapshotRect.bottom - snapshotRect.top;
        snapshot.resize(static_cast<size_t>(w) * h);
        for (int y = 0; y < h; ++y) {
            std::memcpy(snapshot.data() + static_cast<size_t>(y) * w,
                        surface->row(snapshotRect.top + y) + snapshotRect.left,
                        static_cast<size_t>(w) * sizeof(uint32_t));
        }
    }
};

bool sourceFromDC(DeviceContext& dc, BlitSource& out) {
    SourceView view(dc);
    if (!view.valid()) {
        return false;
    }
    out.surface = &view.surface();
    out.offsetX = view.offsetX();
    out.offsetY = view.offsetY();
    out.monochrome = view.isMonochrome();
    out.backgroundPixel = pixelFromColorref(dc.bkColor);
    return true;
}

// A raster operation that reads a source takes it from the DC `source` (into `taken`); false
// when that is no DC with pixels to read. One that reads none takes nothing.
bool takeSource(DWORD rop, HDC source, std::optional<BlitSource>& taken) {
    if (!ropUsesSource(rop)) {
        return true;
    }
    DeviceContext* dc = findDC(source);
    return dc != nullptr && sourceFromDC(*dc, taken.emplace());
}

bool sourceFromBitmap(BitmapObject& b, BlitSource& out) {
    if (b.isMirroredDib()) {
        b.importDib();
    }
    out.surface = &b.surface;
    out.monochrome = b.bitsPerPixel == 1;
    return true;
}

bool destinationIsMonochrome(DeviceContext& dc) {
    BitmapObject* b = dcBitmap(dc);
    return b != nullptr && b->bitsPerPixel == 1;
}

// Source pixels as the destination sees them: monochrome sources take the destination's
// text (0) and background (1) colours; a monochrome destination turns the source's
// background colour white and everything else black.
struct ColourConversion {
    enum class Kind { None, FromMono, ToMono } kind = Kind::None;
    uint32_t foreground = 0;
    uint32_t background = 0;
    uint32_t sourceBackground = 0;

    void apply(uint32_t* p, int n) const {
        switch (kind) {
            case Kind::None:
                return;
            case Kind::FromMono:
                for (int i = 0; i < n; ++i) {
                    p[i] = (p[i] & kPixelMask) != 0 ? background : foreground;
                }
                return;
            case Kind::ToMono:
                for (int i = 0; i < n; ++i) {
                    p[i] = (p[i] & kPixelMask) == sourceBackground ? 0x00FFFFFFu : 0u;
                }
                return;
        }
    }
};

ColourConversion conversionFor(DeviceContext& dst, const BlitSource& src) {
    ColourConversion c;
    bool dstMono = destinationIsMonochrome(dst);
    if (src.monochrome && !dstMono) {
        c.kind = ColourConversion::Kind::FromMono;
        c.foreground = pixelFromColorref(dst.textColor);
        c.background = pixelFromColorref(dst.bkColor);
    } else if (!src.monochrome && dstMono) {
        c.kind = ColourConversion::Kind::ToMono;
        c.sourceBackground = src.backgroundPixel;
    }
    return c;
}

void combine(DWORD rop, uint32_t* dst, const uint32_t* src, uint32_t pattern, int n) {
    switch (rop) {
        case SRCCOPY:
            std::memcpy(dst, src, static_cast<size_t>(n) * sizeof(uint32_t));
            return;
        case SRCINVERT:
            for (int i = 0; i < n; ++i) {
                dst[i] = (dst[i] ^ src[i]) & kPixelMask;
            }
            return;
        case SRCAND:
            for (int i = 0; i < n; ++i) {
                dst[i] = dst[i] & src[i] & kPixelMask;
            }
            return;
        case SRCPAINT:
            for (int i = 0; i < n; ++i) {
                dst[i] = (dst[i] | src[i]) & kPixelMask;
            }
            return;
        default:
            for (int i = 0; i < n; ++i) {
                dst[i] = applyRop3(rop, pattern, src != nullptr ? src[i] : 0u, dst[i]);
            }
            return;
    }
}

// The pattern of the destination's brush; false when the brush paints nothing.
bool patternOf(DeviceContext& dc, uint32_t& pattern) {
    BrushObject* brush = findBrush(dc.brush);
    if (brush == nullptr || brush->isNull()) {
        return false;
    }
    pattern = brush->pixel();
    return true;
}

// Maps destination offsets 0..n-1 of a stretched axis onto source offsets, nearest pixel.
struct AxisMap {
    int64_t destinationStart = 0;
    int64_t destinationLength = 0;
    int64_t sourceStart = 0;
    int64_t sourceLength = 0;
    bool mirrored = false;

    AxisMap(int64_t dstStart, int64_t dstLen, int64_t srcStart, int64_t srcLen) {
        if (dstLen < 0) {
            dstStart += dstLen;
            dstLen = -dstLen;
            mirrored = !mirrored;
        }
        if (srcLen < 0) {
            srcStart += srcLen;
            srcLen = -srcLen;
            mirrored = !mirrored;
        }
        destinationStart = dstStart;
        destinationLength = dstLen;
        sourceStart = srcStart;
        sourceLength = srcLen;
    }
    int64_t source(int64_t destination) const {
        int64_t i = destination - destinationStart;
        int64_t j = (2 * i + 1) * sourceLength / (2 * destinationLength);
        return sourceStart + (mirrored ? sourceLength - 1 - j : j);
    }
};

enum class KeyMode { None, Transparent };

BOOL stretch(DeviceContext& dst, int x, int y, int width, int height, BlitSource* src, int sx,
             int sy, int sourceWidth, int sourceHeight, DWORD rop, KeyMode keyMode, uint32_t key) {
    bool usesSource = ropUsesSource(rop) || keyMode == KeyMode::Transparent;
    uint32_t pattern = 0;
    if (ropUsesPattern(rop) && !patternOf(dst, pattern)) {
        return TRUE;
    }
    if (usesSource && src == nullptr) {
        return FALSE;
    }
    if (width == 0 || height == 0 || (usesSource && (sourceWidth == 0 || sourceHeight == 0))) {
        return TRUE;
    }
    DrawTarget target(dst);
    if (!target.valid()) {
        return TRUE;
    }
    int64_t left = x + dcOffsetX(dst);
    int64_t top = y + dcOffsetY(dst);
    AxisMap mapX(left, width, usesSource ? sx + src->offsetX : 0, sourceWidth);
    AxisMap mapY(top, height, usesSource ? sy + src->offsetY : 0, sourceHeight);
    RECT area{clampCoordinate(mapX.destinationStart), clampCoordinate(mapY.destinationStart),
              clampCoordinate(mapX.destinationStart + mapX.destinationLength),
              clampCoordinate(mapY.destinationStart + mapY.destinationLength)};
    bool direct = !mapX.mirrored && !mapY.mirrored && mapX.sourceLength == mapX.destinationLength &&
                  mapY.sourceLength == mapY.destinationLength;
    if (usesSource && src->surface == &target.surface()) {
        RECT read = direct
                        ? RECT{clampCoordinate(mapX.sourceStart), clampCoordinate(mapY.sourceStart),
                               clampCoordinate(mapX.sourceStart + mapX.sourceLength),
                               clampCoordinate(mapY.sourceStart + mapY.sourceLength)}
                        : src->surface->bounds();
        src->takeSnapshot(read);
    }
    ColourConversion conversion;
    if (usesSource) {
        conversion = conversionFor(dst, *src);
    }
    std::vector<uint32_t> line;
    target.forEachSpan(area, [&](uint32_t* out, int px, int py, int n) {
        if (!usesSource) {
            if (rop == PATCOPY) {
                std::fill_n(out, n, pattern);
            } else {
                combine(rop, out, nullptr, pattern, n);
            }
            return;
        }
        int64_t srcY = mapY.source(py);
        if (direct && rop == SRCCOPY && keyMode == KeyMode::None &&
            conversion.kind == ColourConversion::Kind::None) {
            src->readRow(px - mapX.destinationStart + mapX.sourceStart, srcY, n, out);
            return;
        }
        line.resize(static_cast<size_t>(n));
        if (direct) {
            src->readRow(px - mapX.destinationStart + mapX.sourceStart, srcY, n, line.data());
        } else {
            for (int i = 0; i < n; ++i) {
                line[i] = src->pixel(mapX.source(px + i), srcY);
            }
        }
        conversion.apply(line.data(), n);
        if (keyMode == KeyMode::Transparent) {
            for (int i = 0; i < n; ++i) {
                if ((line[i] & kPixelMask) != key) {
                    out[i] = line[i] & kPixelMask;
                }
            }
            return;
        }
        combine(rop, out, line.data(), pattern, n);
    });
    return TRUE;
}

}  // namespace

BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
            int sourceY, DWORD rop) {
    GdiLock lock;
    DeviceContext* dst = findDC(destination);
    std::optional<BlitSource> src;
    if (dst == nullptr || !takeSource(rop, source, src)) {
        return FALSE;
    }
    if (width < 0 || height < 0) {
        return TRUE;
    }
    return stretch(*dst, x, y, width, height, src ? &*src : nullptr, sourceX, sourceY, width,
                   height, rop, KeyMode::None, 0);
}

BOOL StretchBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
                int sourceY, int sourceWidth, int sourceHeight, DWORD rop) {
    GdiLock lock;
    DeviceContext* dst = findDC(destination);
    std::optional<BlitSource> src;
    if (dst == nullptr || !takeSource(rop, source, src)) {
        return FALSE;
    }
    return stretch(*dst, x, y, width, height, src ? &*src : nullptr, sourceX, sourceY, sourceWidth,
                   sourceHeight, rop, KeyMode::None, 0);
}

BOOL TransparentImage(HDC destination, int x, int y, int width, int height, HANDLE source,
                      int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                      COLORREF transparent) {
    GdiLock lock;
    DeviceContext* dst = findDC(destination);
    if (dst == nullptr || width < 0 || height < 0 || sourceWidth < 0 || sourceHeight < 0) {
        return FALSE;
    }
    BlitSource src;
    if (DeviceContext* s = findDC(static_cast<HDC>(source))) {
        if (!sourceFromDC(*s, src)) {
            return FALSE;
        }
    } else if (BitmapObject* b = findBitmap(source)) {
        sourceFromBitmap(*b, src);
    } else {
        return FALSE;
    }
    return stretch(*dst, x, y, width, height, &src, sourceX, sourceY, sourceWidth, sourceHeight,
                   SRCCOPY, KeyMode::Transparent, pixelFromColorref(transparent));
}

BOOL TransparentBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
                    int sourceY, int sourceWidth, int sourceHeight, UINT transparent) {
    return TransparentImage(destination, x, y, width, height, source, sourceX, sourceY, sourceWidth,
                            sourceHeight, transparent);
}

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    if (dc == nullptr || ropUsesSource(rop)) {
        return FALSE;
    }
    // A negative extent reaches left of or above the given corner.
    int64_t left = width < 0 ? int64_t{x} + width : x;
    int64_t top = height < 0 ? int64_t{y} + height : y;
    int64_t w = width < 0 ? -int64_t{width} : width;
    int64_t h = height < 0 ? -int64_t{height} : height;
    return stretch(*dc, clampCoordinate(left), clampCoordinate(top), clampCoordinate(w),
                   clampCoordinate(h), nullptr, 0, 0, 0, 0, rop, KeyMode::None, 0);
}
