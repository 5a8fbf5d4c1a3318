// Painting: visible regions (the window within its parents, minus the siblings above it and
// its ancestors' siblings above them, minus its children only with WS_CLIPCHILDREN), update
// regions and what a change uncovers, BeginPaint/EndPaint, and the window DCs behind GetDC.
// Windows draw straight onto the device screen; nothing is composited.
#include <map>

#include "gdi/GdiLock.h"
#include "gdi/Objects.h"
#include "gdi/WindowDC.h"
#include "kernel/DeviceReset.h"
#include "user/Internal.h"
#include "user/UserState.h"
#include "wingdi.h"

namespace platform::user {
namespace {

RECT clientRect(const Window& w) {
    return RECT{0, 0, w.rect.right - w.rect.left, w.rect.bottom - w.rect.top};
}

// DCs handed out by GetDC/GetWindowDC, with the window they belong to.
std::map<HDC, HWND>& windowDCs() {
    static auto* dcs = new std::map<HDC, HWND>;
    return *dcs;
}

HDC getWindowDCHandler(HWND hwnd) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return nullptr;
    HDC dc = makeWindowDC(*w, visibleArea(*w));
    if (dc)
        windowDCs()[dc] = hwnd;
    return dc;
}

int releaseWindowDCHandler(HWND hwnd, HDC dc) {
    Lock lock = lockState();
    auto& dcs = windowDCs();
    auto it = dcs.find(dc);
    if (it == dcs.end() || it->second != hwnd)
        return 0;
    dcs.erase(it);
    return releaseSurfaceDC(dc) ? 1 : 0;
}

// GetDC of a window is the GDI's entry point; the window manager answers it, on a fresh
// device too.
const bool registered = [] {
    platform::setWindowDCHandlers(WindowDCHandlers{&getWindowDCHandler, &releaseWindowDCHandler});
    return addResetStep(ResetStage::Windows, [] {
        platform::setWindowDCHandlers(
            WindowDCHandlers{&getWindowDCHandler, &releaseWindowDCHandler});
    });
}();

}  // namespace

Region visibleArea(const Window& w, ChildClip clip) {
    (void)registered;
    if (!isVisibleChain(w))
        return Region();
    Region area(screenRect(w));
    const Window* cur = &w;
    while (cur) {
        Window* parent = findWindow(cur->parent);
        if (parent)
            area.intersect(screenRect(*parent));
        const auto& list = parent ? parent->children : state().topLevels;
        for (HWND h : list) {
            if (h == cur->handle)
                break;
            Window* sib = findWindow(h);
            if (sib && (sib->style & WS_VISIBLE))
                area.subtract(screenRect(*sib));
        }
        cur = parent;
    }
    bool clipChildren =
        clip == ChildClip::Always || (clip == ChildClip::ByStyle && (w.style & WS_CLIPCHILDREN));
    if (clipChildren) {
        for (HWND h : w.children) {
            Window* c = findWindow(h);
            if (c && (c->style & WS_VISIBLE))
                area.subtract(screenRect(*c));
        }
    }
    return area;
}

void invalidateWindow(Window& w, const Region* clientArea, bool erase, bool children) {
    Region add = clientArea ? *clientArea : Region(clientRect(w));
    add.intersect(clientRect(w));
    // Only what can be seen needs painting; a window shown later is painted whole then.
    POINT o = screenOrigin(w);
    Region visible = visibleArea(w);
    visible.offset(-o.x, -o.y);
    Region own = add;
    own.intersect(visible);
    if (!own.isEmpty()) {
        w.invalid.unite(own);
        if (erase)
            w.erasePending = true;
        device::notifyWaiters();
    }
    if (!children || (w.style & WS_CLIPCHILDREN))
        return;
    std::vector<HWND> kids = w.children;
    for (HWND h : kids) {
        Window* c = findWindow(h);
        if (!c)
            continue;
        Region part = add;
        part.intersect(c->rect);
        part.offset(-c->rect.left, -c->rect.top);
        if (!part.isEmpty())
            invalidateWindow(*c, &part, erase, true);
    }
}

// A window's own part of the screen, less its children whatever its style: a child that goes
// (hidden, moved, destroyed) uncovers part of its parent, which the parent must paint.
ExposureTracker::ExposureTracker() {
    for (auto& [value, w] : state().windows)
        before_.emplace_back(w->handle, visibleArea(*w, ChildClip::Always));
}

void ExposureTracker::finish(HWND repaintWhole) {
    UserState& s = state();
    for (auto& [value, wp] : s.windows) {
        Window& w = *wp;
        Region after = visibleArea(w, ChildClip::Always);
        for (auto& [h, area] : before_) {
            if (h == w.handle) {
                after.subtract(area);
                break;
            }
        }
        if (after.isEmpty())
            continue;
        POINT o = screenOrigin(w);
        after.offset(-o.x, -o.y);
        invalidateWindow(w, &after, true, false);
    }
    if (repaintWhole) {
        std::vector<HWND> tree;
        collectSubtree(repaintWhole, tree);
        for (HWND h : tree) {
            if (Window* w = findWindow(h))
                invalidateWindow(*w, nullptr, true, false);
        }
    }
    before_.clear();
}

HDC makeWindowDC(const Window& w, const Region& clip) {
    return platform::createSurfaceDC(platform::screenSurface(), screenOrigin(w), clip);
}

void windowDCsOfGoneWindow(HWND hwnd) {
    // A DC kept past its window's end draws nothing from then on.
    for (auto& [dc, owner] : windowDCs()) {
        if (owner == hwnd)
            setDCClip(dc, Region());
    }
}

}  // namespace platform::user

using namespace platform;
using namespace platform::user;

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    Lock lock = lockState();
    if (!hwnd) {
        // The whole screen: every window.
        for (auto& [value, w] : state().windows)
            invalidateWindow(*w, nullptr, erase != 0, false);
        return TRUE;
    }
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return FALSE;
    if (rect) {
        Region area(*rect);
        invalidateWindow(*w, &area, erase != 0, true);
    } else {
        invalidateWindow(*w, nullptr, erase != 0, true);
    }
    return TRUE;
}

BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
    Region area;
    if (rgn) {
        platform::GdiLock gdi;
        platform::RegionObject* r = platform::findRegion(rgn);
        if (!r) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        area = r->region;
    }
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return FALSE;
    invalidateWindow(*w, rgn ? &area : nullptr, erase != 0, true);
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return FALSE;
    if (rect) {
        w->invalid.subtract(*rect);
    } else {
        w->invalid.clear();
    }
    if (w->invalid.isEmpty())
        w->erasePending = false;
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return FALSE;
    bool any = !w->invalid.isEmpty();
    if (rect)
        *rect = any ? w->invalid.bounds() : RECT{0, 0, 0, 0};
    if (any && erase && w->erasePending) {
        w->erasePending = false;
        Region clip = w->invalid;
        POINT o = screenOrigin(*w);
        clip.offset(o.x, o.y);
        clip.intersect(visibleArea(*w));
        HDC dc = makeWindowDC(*w, clip);
        if (dc) {
            sendMessage(lock, hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
            releaseSurfaceDC(dc);
        }
    }
    return any ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND hwnd) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return FALSE;
    if (!w->invalid.isEmpty() && isVisibleChain(*w))
        sendMessage(lock, hwnd, WM_PAINT, 0, 0);
    return TRUE;
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w || !ps)
        return nullptr;
    *ps = PAINTSTRUCT{};
    Region paint = w->invalid;
    bool erase = w->erasePending;
    w->invalid.clear();
    w->erasePending = false;
    caretHideForPaint(hwnd);
    Region clip = paint;
    POINT o = screenOrigin(*w);
    clip.offset(o.x, o.y);
    clip.intersect(visibleArea(*w));
    HDC dc = makeWindowDC(*w, clip);
    if (!dc) {
        caretRestoreAfterPaint(hwnd);
        return nullptr;
    }
    ps->hdc = dc;
    ps->rcPaint = paint.isEmpty() ? RECT{0, 0, 0, 0} : paint.bounds();
    ps->fErase = FALSE;
    if (erase) {
        // fErase tells the program that the background still needs erasing.
        ps->fErase = sendMessage(lock, hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
    }
    return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
    Lock lock = lockState();
    if (!ps)
        return FALSE;
    releaseSurfaceDC(ps->hdc);
    caretRestoreAfterPaint(hwnd);
    return TRUE;
}

HDC GetWindowDC(HWND hwnd) {
    return GetDC(hwnd);
}
