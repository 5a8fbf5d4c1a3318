// The GDI's objects behind their handles: bitmaps, brushes, pens, fonts, regions and device
// contexts, and the table that hands out handles and validates them, so that a stale or
// made-up handle is refused instead of followed.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <wingdi.h>

#include "gdi/Region.h"
#include "gdi/Surface.h"

namespace platform {

class FontFace;

enum class ObjectKind : uint8_t { Bitmap = 1, Brush, Pen, Font, Region, DC };

struct GdiObject {
    explicit GdiObject(ObjectKind k) : kind(k) {}
    virtual ~GdiObject() = default;
    ObjectKind kind;
    bool stock = false;
    // Device contexts this object is selected into; such an object cannot be deleted.
    int selectCount = 0;
};

struct BitmapObject : GdiObject {
    BitmapObject() : GdiObject(ObjectKind::Bitmap) {}
    Surface surface;
    // 1 for monochrome bitmaps (kept as black and white pixels), else 32 or a DIB's 24/32.
    int bitsPerPixel = 32;
    // A DIB section's memory, handed to the caller. 32-bit sections are the surface itself;
    // 24-bit ones are mirrored into the 32-bit surface around every GDI operation.
    std::vector<uint8_t> dibMemory;
    bool isDib = false;
    bool bottomUp = false;
    int dibRowBytes = 0;

    bool isMirroredDib() const { return isDib && bitsPerPixel == 24; }
    void importDib();
    void exportDib();
};

struct BrushObject : GdiObject {
    BrushObject() : GdiObject(ObjectKind::Brush) {}
    LOGBRUSH logBrush{BS_SOLID, 0, 0};
    bool isNull() const { return logBrush.lbStyle == BS_NULL; }
    uint32_t pixel() const { return pixelFromColorref(logBrush.lbColor); }
};

struct PenObject : GdiObject {
    PenObject() : GdiObject(ObjectKind::Pen) {}
    LOGPEN logPen{PS_SOLID, {1, 0}, 0};
    bool isNull() const { return logPen.lopnStyle == PS_NULL; }
    int width() const { return logPen.lopnWidth.x < 1 ? 1 : logPen.lopnWidth.x; }
    uint32_t pixel() const { return pixelFromColorref(logPen.lopnColor); }
};

struct FontObject : GdiObject {
    FontObject() : GdiObject(ObjectKind::Font) {}
    LOGFONTW logFont{};
    std::shared_ptr<FontFace> face;
};

struct RegionObject : GdiObject {
    RegionObject() : GdiObject(ObjectKind::Region) {}
    Region region;
};

enum class DcKind { Memory, Surface };

// What SaveDC keeps and RestoreDC brings back. The objects it names stay selected (and so
// cannot be deleted) while the state is saved.
struct SavedDCState {
    HBITMAP bitmap = nullptr;
    HBRUSH brush = nullptr;
    HPEN pen = nullptr;
    HFONT font = nullptr;
    COLORREF textColor = 0;
    COLORREF bkColor = 0;
    int bkMode = 0;
    UINT textAlign = 0;
    int rop2 = 0;
    POINT position{0, 0};
    POINT viewportOrigin{0, 0};
    std::optional<Region> appClip;
};

struct DeviceContext : GdiObject {
    DeviceContext() : GdiObject(ObjectKind::DC) {}
    DcKind dcKind = DcKind::Memory;
    Surface* surface = nullptr;  // Surface DCs: the surface drawn on (not owned)
    HBITMAP bitmap = nullptr;    // Memory DCs: the selected bitmap
    HBRUSH brush = nullptr;
    HPEN pen = nullptr;
    HFONT font = nullptr;
    COLORREF textColor = 0x000000;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    UINT textAlign = TA_LEFT | TA_TOP;
    int rop2 = R2_COPYPEN;
    POINT position{0, 0};
    // Surface position of the DC's device point (0, 0): a window's client origin.
    POINT origin{0, 0};
    POINT viewportOrigin{0, 0};
    // Surface coordinates; none means the whole surface.
    std::optional<Region> baseClip;
    // The program's clip (SelectClipRgn and friends), relative to `origin`.
    std::optional<Region> appClip;
    std::vector<SavedDCState> saved;
};

// Registers an object and returns its handle; null when the table is full.
HGDIOBJ addObject(std::unique_ptr<GdiObject> object);
GdiObject* findObject(HGDIOBJ handle);
// Removes the object; its handle is dead from then on.
std::unique_ptr<GdiObject> removeObject(HGDIOBJ handle);

template <typename T>
T* findAs(HGDIOBJ handle, ObjectKind kind) {
    GdiObject* o = findObject(handle);
    return o != nullptr && o->kind == kind ? static_cast<T*>(o) : nullptr;
}
inline BitmapObject* findBitmap(HGDIOBJ h) {
    return findAs<BitmapObject>(h, ObjectKind::Bitmap);
}
inline BrushObject* findBrush(HGDIOBJ h) {
    return findAs<BrushObject>(h, ObjectKind::Brush);
}
inline PenObject* findPen(HGDIOBJ h) {
    return findAs<PenObject>(h, ObjectKind::Pen);
}
inline FontObject* findFont(HGDIOBJ h) {
    return findAs<FontObject>(h, ObjectKind::Font);
}
inline RegionObject* findRegion(HGDIOBJ h) {
    return findAs<RegionObject>(h, ObjectKind::Region);
}
inline DeviceContext* findDC(HDC h) {
    return findAs<DeviceContext>(reinterpret_cast<HGDIOBJ>(h), ObjectKind::DC);
}
inline HDC toHdc(HGDIOBJ h) {
    return reinterpret_cast<HDC>(h);
}

// The 1 x 1 bitmap every new memory DC starts with.
HBITMAP defaultBitmap();

}  // namespace platform
