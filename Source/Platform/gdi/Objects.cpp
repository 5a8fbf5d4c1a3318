// Stock objects, brushes and pens, and the calls common to every GDI object: deleting,
// describing (GetObjectW) and typing them.
#include <winbase.h>

#include <cstring>

#include "gdi/FontFace.h"
#include "gdi/GdiLock.h"
#include "gdi/Objects.h"

namespace platform {
namespace {

constexpr int kStockCount = DEFAULT_GUI_FONT + 1;

HGDIOBJ& stockSlot(int index) {
    static HGDIOBJ* slots = new HGDIOBJ[kStockCount]{};
    return slots[index];
}

HGDIOBJ addStock(std::unique_ptr<GdiObject> o) {
    o->stock = true;
    return addObject(std::move(o));
}

std::unique_ptr<BrushObject> makeBrush(UINT style, COLORREF color) {
    auto b = std::make_unique<BrushObject>();
    b->logBrush = LOGBRUSH{style, color & 0x00FFFFFFu, 0};
    return b;
}

std::unique_ptr<PenObject> makePen(UINT style, int width, COLORREF color) {
    auto p = std::make_unique<PenObject>();
    p->logPen = LOGPEN{style, POINT{width < 0 ? 0 : width, 0}, color & 0x00FFFFFFu};
    return p;
}

std::unique_ptr<GdiObject> makeStock(int index) {
    switch (index) {
        case WHITE_BRUSH:
            return makeBrush(BS_SOLID, RGB(255, 255, 255));
        case LTGRAY_BRUSH:
            return makeBrush(BS_SOLID, RGB(192, 192, 192));
        case GRAY_BRUSH:
            return makeBrush(BS_SOLID, RGB(128, 128, 128));
        case DKGRAY_BRUSH:
            return makeBrush(BS_SOLID, RGB(64, 64, 64));
        case BLACK_BRUSH:
            return makeBrush(BS_SOLID, RGB(0, 0, 0));
        case NULL_BRUSH:
            return makeBrush(BS_NULL, 0);
        case WHITE_PEN:
            return makePen(PS_SOLID, 1, RGB(255, 255, 255));
        case BLACK_PEN:
            return makePen(PS_SOLID, 1, RGB(0, 0, 0));
        case NULL_PEN:
            return makePen(PS_NULL, 1, 0);
        case SYSTEM_FONT:
        case DEFAULT_GUI_FONT:
            return createFontObject(systemLogFont());
        default:
            return nullptr;
    }
}

bool isSupportedPenStyle(UINT style) {
    return style == PS_SOLID || style == PS_DASH || style == PS_DOT || style == PS_NULL;
}

template <typename T>
int copyOut(const T& value, int size, LPVOID buffer) {
    if (buffer == nullptr) {
        return static_cast<int>(sizeof(T));
    }
    if (size <= 0) {
        return 0;
    }
    size_t n = std::min(static_cast<size_t>(size), sizeof(T));
    std::memcpy(buffer, &value, n);
    return static_cast<int>(n);
}

}  // namespace

HBITMAP defaultBitmap() {
    GdiLock lock;
    static HBITMAP bitmap = [] {
        auto b = std::make_unique<BitmapObject>();
        b->surface = Surface(1, 1);
        b->bitsPerPixel = 1;
        return addStock(std::move(b));
    }();
    return bitmap;
}

void BitmapObject::importDib() {
    if (!isMirroredDib()) {
        return;
    }
    for (int y = 0; y < surface.height(); ++y) {
        int memoryRow = bottomUp ? surface.height() - 1 - y : y;
        const uint8_t* src = dibMemory.data() + static_cast<size_t>(memoryRow) * dibRowBytes;
        uint32_t* dst = surface.row(y);
        for (int x = 0; x < surface.width(); ++x, src += 3) {
            dst[x] = uint32_t{src[0]} | (uint32_t{src[1]} << 8) | (uint32_t{src[2]} << 16);
        }
    }
}

void BitmapObject::exportDib() {
    if (!isMirroredDib()) {
        return;
    }
    for (int y = 0; y < surface.height(); ++y) {
        int memoryRow = bottomUp ? surface.height() - 1 - y : y;
        uint8_t* dst = dibMemory.data() + static_cast<size_t>(memoryRow) * dibRowBytes;
        const uint32_t* src = surface.row(y);
        for (int x = 0; x < surface.width(); ++x, dst += 3) {
            dst[0] = static_cast<uint8_t>(src[x]);
            dst[1] = static_cast<uint8_t>(src[x] >> 8);
            dst[2] = static_cast<uint8_t>(src[x] >> 16);
        }
    }
}

}  // namespace platform

using namespace platform;

HGDIOBJ GetStockObject(int index) {
    GdiLock lock;
    if (index < 0 || index >= kStockCount) {
        return nullptr;
    }
    HGDIOBJ& slot = stockSlot(index);
    if (slot == nullptr) {
        // Both font indexes name the one system font.
        if (index == DEFAULT_GUI_FONT && stockSlot(SYSTEM_FONT) != nullptr) {
            return stockSlot(SYSTEM_FONT);
        }
        if (std::unique_ptr<GdiObject> o = makeStock(index)) {
            slot = addStock(std::move(o));
        }
    }
    return slot;
}

HBRUSH CreateSolidBrush(COLORREF color) {
    return addObject(makeBrush(BS_SOLID, color));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
    if (brush == nullptr || (brush->lbStyle != BS_SOLID && brush->lbStyle != BS_NULL)) {
        return nullptr;
    }
    return addObject(makeBrush(brush->lbStyle, brush->lbColor));
}

HPEN CreatePen(int style, int width, COLORREF color) {
    if (style < 0 || !isSupportedPenStyle(static_cast<UINT>(style))) {
        return nullptr;
    }
    return addObject(makePen(static_cast<UINT>(style), width, color));
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
    if (pen == nullptr || !isSupportedPenStyle(pen->lopnStyle)) {
        return nullptr;
    }
    return addObject(makePen(pen->lopnStyle, pen->lopnWidth.x, pen->lopnColor));
}

BOOL DeleteObject(HGDIOBJ object) {
    GdiLock lock;
    GdiObject* o = findObject(object);
    if (o == nullptr || o->kind == ObjectKind::DC) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (o->stock) {
        return TRUE;
    }
    if (o->selectCount > 0) {
        return FALSE;
    }
    removeObject(object);
    return TRUE;
}

DWORD GetObjectType(HGDIOBJ object) {
    GdiLock lock;
    GdiObject* o = findObject(object);
    if (o == nullptr) {
        return 0;
    }
    switch (o->kind) {
        case ObjectKind::Bitmap:
            return OBJ_BITMAP;
        case ObjectKind::Brush:
            return OBJ_BRUSH;
        case ObjectKind::Pen:
            return OBJ_PEN;
        case ObjectKind::Font:
            return OBJ_FONT;
        case ObjectKind::Region:
            return OBJ_REGION;
        case ObjectKind::DC:
            return static_cast<DeviceContext*>(o)->dcKind == DcKind::Memory ? OBJ_MEMDC : OBJ_DC;
    }
    return 0;
}

int GetObjectW(HGDIOBJ object, int size, LPVOID buffer) {
    GdiLock lock;
    GdiObject* o = findObject(object);
    if (o == nullptr) {
        return 0;
    }
    switch (o->kind) {
        case ObjectKind::Bitmap: {
            auto* b = static_cast<BitmapObject*>(o);
            BITMAP bm{};
            bm.bmWidth = b->surface.width();
            bm.bmHeight = b->surface.height();
            bm.bmPlanes = 1;
            bm.bmBitsPixel = static_cast<WORD>(b->bitsPerPixel);
            bm.bmWidthBytes = b->bitsPerPixel == 1 ? (bm.bmWidth + 15) / 16 * 2
                                                   : (bm.bmWidth * b->bitsPerPixel + 15) / 16 * 2;
            if (b->isDib) {
                bm.bmWidthBytes = b->dibRowBytes;
                bm.bmBits = b->dibMemory.data();
            }
            return copyOut(bm, size, buffer);
        }
        case ObjectKind::Brush:
            return copyOut(static_cast<BrushObject*>(o)->logBrush, size, buffer);
        case ObjectKind::Pen:
            return copyOut(static_cast<PenObject*>(o)->logPen, size, buffer);
        case ObjectKind::Font:
            return copyOut(static_cast<FontObject*>(o)->logFont, size, buffer);
        case ObjectKind::Region:
        case ObjectKind::DC:
            break;
    }
    return 0;
}
