// Device contexts: memory DCs and surface DCs (windows, the screen), object selection, the
// drawing attributes, the viewport origin and the device's capabilities.
#include <device/Screen.h>
#include <winbase.h>

#include <algorithm>
#include <initializer_list>

#include "gdi/DcAccess.h"
#include "gdi/DcState.h"
#include "gdi/GdiLock.h"
#include "gdi/Rop.h"
#include "gdi/WindowDC.h"

namespace platform {
namespace {

void selectDefaults(DeviceContext& dc) {
    dc.brush = GetStockObject(WHITE_BRUSH);
    dc.pen = GetStockObject(BLACK_PEN);
    dc.font = GetStockObject(SYSTEM_FONT);
    for (HGDIOBJ h : {dc.brush, dc.pen, dc.font}) {
        if (GdiObject* o = findObject(h)) {
            ++o->selectCount;
        }
    }
}

// Saved states deeper than this are refused.
constexpr size_t kMaxSavedStates = 256;

void releaseSelection(std::initializer_list<HGDIOBJ> objects) {
    for (HGDIOBJ h : objects) {
        if (GdiObject* o = findObject(h); o != nullptr && o->selectCount > 0) {
            --o->selectCount;
        }
    }
}

void holdSelection(std::initializer_list<HGDIOBJ> objects) {
    for (HGDIOBJ h : objects) {
        if (GdiObject* o = findObject(h)) {
            ++o->selectCount;
        }
    }
}

void deselectAll(DeviceContext& dc) {
    releaseSelection({dc.bitmap, dc.brush, dc.pen, dc.font});
    for (const SavedDCState& s : dc.saved) {
        releaseSelection({s.bitmap, s.brush, s.pen, s.font});
    }
    dc.saved.clear();
}

HGDIOBJ swapSelection(HGDIOBJ& slot, HGDIOBJ replacement) {
    HGDIOBJ previous = slot;
    if (GdiObject* old = findObject(previous); old != nullptr && old->selectCount > 0) {
        --old->selectCount;
    }
    ++findObject(replacement)->selectCount;
    slot = replacement;
    return previous;
}

}  // namespace

Surface* dcSurface(DeviceContext& dc) {
    if (dc.dcKind == DcKind::Surface) {
        return dc.surface;
    }
    BitmapObject* b = findBitmap(dc.bitmap);
    return b != nullptr ? &b->surface : nullptr;
}

BitmapObject* dcBitmap(DeviceContext& dc) {
    return dc.dcKind == DcKind::Memory ? findBitmap(dc.bitmap) : nullptr;
}

Region effectiveClip(DeviceContext& dc) {
    Surface* s = dcSurface(dc);
    if (s == nullptr) {
        return Region();
    }
    Region clip = dc.baseClip ? *dc.baseClip : Region(s->bounds());
    clip.intersect(s->bounds());
    if (dc.appClip) {
        Region app = *dc.appClip;
        app.offset(dc.origin.x, dc.origin.y);
        clip.intersect(app);
    }
    return clip;
}

DrawTarget::DrawTarget(DeviceContext& dc) : dc_(dc), surface_(dcSurface(dc)) {
    if (surface_ == nullptr) {
        return;
    }
    if (BitmapObject* b = dcBitmap(dc); b != nullptr && b->isMirroredDib()) {
        mirrored_ = b;
        b->importDib();
    }
    clip_ = effectiveClip(dc);
}

DrawTarget::~DrawTarget() {
    if (mirrored_ != nullptr) {
        mirrored_->exportDib();
    }
    if (surface_ != nullptr) {
        surface_->touch();
    }
}

void DrawTarget::plot(int x, int y, uint32_t value, int rop2) {
    if (surface_ != nullptr && surface_->contains(x, y) && clip_.contains(x, y)) {
        uint32_t& p = surface_->row(y)[x];
        p = applyRop2(rop2, value, p);
    }
}

SourceView::SourceView(DeviceContext& dc) : surface_(dcSurface(dc)) {
    if (surface_ == nullptr) {
        return;
    }
    if (BitmapObject* b = dcBitmap(dc)) {
        if (b->isMirroredDib()) {
            b->importDib();
        }
        monochrome_ = b->bitsPerPixel == 1;
    }
    offsetX_ = dcOffsetX(dc);
    offsetY_ = dcOffsetY(dc);
}

HDC createSurfaceDC(Surface& surface, POINT origin, const Region& clip) {
    GdiLock lock;
    auto dc = std::make_unique<DeviceContext>();
    dc->dcKind = DcKind::Surface;
    dc->surface = &surface;
    dc->origin = origin;
    dc->baseClip = clip;
    DeviceContext* raw = dc.get();
    HGDIOBJ handle = addObject(std::move(dc));
    if (handle == nullptr) {
        return nullptr;
    }
    selectDefaults(*raw);
    return toHdc(handle);
}

bool setDCClip(HDC hdc, const Region& clip) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    if (dc == nullptr || dc->dcKind != DcKind::Surface) {
        return false;
    }
    dc->baseClip = clip;
    return true;
}

bool setDCOrigin(HDC hdc, POINT origin) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    if (dc == nullptr || dc->dcKind != DcKind::Surface) {
        return false;
    }
    dc->origin = origin;
    return true;
}

bool releaseSurfaceDC(HDC hdc) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    if (dc == nullptr || dc->dcKind != DcKind::Surface) {
        return false;
    }
    deselectAll(*dc);
    removeObject(reinterpret_cast<HGDIOBJ>(hdc));
    return true;
}

}  // namespace platform

using namespace platform;

HDC CreateCompatibleDC(HDC hdc) {
    GdiLock lock;
    if (hdc != nullptr && findDC(hdc) == nullptr) {
        return nullptr;
    }
    auto dc = std::make_unique<DeviceContext>();
    dc->dcKind = DcKind::Memory;
    dc->bitmap = defaultBitmap();
    DeviceContext* raw = dc.get();
    HGDIOBJ handle = addObject(std::move(dc));
    if (handle == nullptr) {
        return nullptr;
    }
    if (GdiObject* b = findObject(raw->bitmap)) {
        ++b->selectCount;
    }
    selectDefaults(*raw);
    return toHdc(handle);
}

BOOL DeleteDC(HDC hdc) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    if (dc == nullptr || dc->dcKind != DcKind::Memory) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    deselectAll(*dc);
    removeObject(reinterpret_cast<HGDIOBJ>(hdc));
    return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    GdiObject* o = findObject(object);
    if (dc == nullptr || o == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    switch (o->kind) {
        case ObjectKind::Bitmap:
            if (dc->dcKind != DcKind::Memory) {
                return nullptr;
            }
            if (object == dc->bitmap) {
                return object;
            }
            // A bitmap is drawn on by one DC at a time (the shared default bitmap excepted);
            // this DC's own saved states may hold it.
            if (!o->stock && o->selectCount > std::count_if(dc->saved.begin(), dc->saved.end(),
                                                            [&](const SavedDCState& s) {
                                                                return s.bitmap == object;
                                                            })) {
                return nullptr;
            }
            return swapSelection(dc->bitmap, object);
        case ObjectKind::Brush:
            return swapSelection(dc->brush, object);
        case ObjectKind::Pen:
            return swapSelection(dc->pen, object);
        case ObjectKind::Font:
            return swapSelection(dc->font, object);
        case ObjectKind::Region:
            return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(SelectClipRgn(hdc, object)));
        case ObjectKind::DC:
            break;
    }
    return nullptr;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    if (dc == nullptr) {
        return nullptr;
    }
    switch (type) {
        case OBJ_BITMAP:
            return dc->dcKind == DcKind::Memory ? dc->bitmap : nullptr;
        case OBJ_BRUSH:
            return dc->brush;
        case OBJ_PEN:
            return dc->pen;
        case OBJ_FONT:
            return dc->font;
        default:
            return nullptr;
    }
}

int SaveDC(HDC hdc) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    if (dc == nullptr || dc->saved.size() >= kMaxSavedStates) {
        return 0;
    }
    SavedDCState s;
    s.bitmap = dc->bitmap;
    s.brush = dc->brush;
    s.pen = dc->pen;
    s.font = dc->font;
    s.textColor = dc->textColor;
    s.bkColor = dc->bkColor;
    s.bkMode = dc->bkMode;
    s.textAlign = dc->textAlign;
    s.rop2 = dc->rop2;
    s.position = dc->position;
    s.viewportOrigin = dc->viewportOrigin;
    s.appClip = dc->appClip;
    holdSelection({s.bitmap, s.brush, s.pen, s.font});
    dc->saved.push_back(std::move(s));
    return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int savedDC) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    int64_t depth = static_cast<int64_t>(dc->saved.size());
    // Positive: the state SaveDC numbered so; negative: counted back from the latest.
    int64_t index = savedDC > 0 ? int64_t{savedDC} - 1 : depth + savedDC;
    if (savedDC == 0 || index < 0 || index >= depth) {
        return FALSE;
    }
    SavedDCState s = std::move(dc->saved[static_cast<size_t>(index)]);
    for (size_t i = static_cast<size_t>(index) + 1; i < dc->saved.size(); ++i) {
        const SavedDCState& later = dc->saved[i];
        releaseSelection({later.bitmap, later.brush, later.pen, later.font});
    }
    dc->saved.resize(static_cast<size_t>(index));
    // The saved state's hold on its objects becomes their selection.
    releaseSelection({dc->bitmap, dc->brush, dc->pen, dc->font});
    dc->bitmap = s.bitmap;
    dc->brush = s.brush;
    dc->pen = s.pen;
    dc->font = s.font;
    dc->textColor = s.textColor;
    dc->bkColor = s.bkColor;
    dc->bkMode = s.bkMode;
    dc->textAlign = s.textAlign;
    dc->rop2 = s.rop2;
    dc->position = s.position;
    dc->viewportOrigin = s.viewportOrigin;
    dc->appClip = std::move(s.appClip);
    return TRUE;
}

BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT previous) {
    return exchangeDcPoint(hdc, &DeviceContext::viewportOrigin,
                           POINT{clampCoordinate(x), clampCoordinate(y)}, previous);
}

BOOL GetViewportOrgEx(HDC hdc, LPPOINT origin) {
    return getDcPoint(hdc, &DeviceContext::viewportOrigin, origin);
}

BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT previous) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    if (dc == nullptr) {
        return FALSE;
    }
    if (previous != nullptr) {
        *previous = dc->viewportOrigin;
    }
    dc->viewportOrigin = POINT{clampCoordinate(int64_t{dc->viewportOrigin.x} + dx),
                               clampCoordinate(int64_t{dc->viewportOrigin.y} + dy)};
    return TRUE;
}

int GetDeviceCaps(HDC hdc, int index) {
    GdiLock lock;
    if (findDC(hdc) == nullptr) {
        return 0;
    }
    int dpi = device::screenDpi();
    switch (index) {
        case DRIVERVERSION:
            return 0x0500;
        case TECHNOLOGY:
            return DT_RASDISPLAY;
        case HORZSIZE:
            return device::screenWidth() * 254 / (dpi * 10);
        case VERTSIZE:
            return device::screenHeight() * 254 / (dpi * 10);
        case HORZRES:
            return device::screenWidth();
        case VERTRES:
            return device::screenHeight();
        case BITSPIXEL:
            return 32;
        case PLANES:
            return 1;
        case NUMCOLORS:
            return -1;
        case RASTERCAPS:
            return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_STRETCHBLT;
        case LOGPIXELSX:
        case LOGPIXELSY:
            return dpi;
        default:
            return 0;
    }
}

UINT SetTextAlign(HDC hdc, UINT align) {
    return exchangeDcState(hdc, &DeviceContext::textAlign,
                           align & (TA_UPDATECP | TA_CENTER | TA_BASELINE | TA_RTLREADING),
                           static_cast<UINT>(GDI_ERROR));
}

UINT GetTextAlign(HDC hdc) {
    return dcState(hdc, &DeviceContext::textAlign, static_cast<UINT>(GDI_ERROR));
}

int SetBkMode(HDC hdc, int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) {
        return 0;
    }
    return exchangeDcState(hdc, &DeviceContext::bkMode, mode, 0);
}

int GetBkMode(HDC hdc) {
    return dcState(hdc, &DeviceContext::bkMode, 0);
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
    return exchangeDcState(hdc, &DeviceContext::textColor, color & 0x00FFFFFFu, CLR_INVALID);
}

COLORREF GetTextColor(HDC hdc) {
    return dcState(hdc, &DeviceContext::textColor, CLR_INVALID);
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
    return exchangeDcState(hdc, &DeviceContext::bkColor, color & 0x00FFFFFFu, CLR_INVALID);
}

COLORREF GetBkColor(HDC hdc) {
    return dcState(hdc, &DeviceContext::bkColor, CLR_INVALID);
}

int SetROP2(HDC hdc, int mode) {
    if (mode < R2_BLACK || mode > R2_WHITE) {
        return 0;
    }
    return exchangeDcState(hdc, &DeviceContext::rop2, mode, 0);
}

int GetROP2(HDC hdc) {
    return dcState(hdc, &DeviceContext::rop2, 0);
}
