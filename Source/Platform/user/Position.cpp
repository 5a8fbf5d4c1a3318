// Window placement: SetWindowPos with its messages (WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED,
// and through DefWindowProc WM_MOVE and WM_SIZE), the z-order of siblings and the topmost band,
// ShowWindow, and coordinates. Windows have no non-client area: the client rectangle is the
// window rectangle, whatever WS_BORDER or WS_CAPTION say.
#include <algorithm>
#include <optional>

#include "user/Internal.h"
#include "user/UserState.h"
#include "winbase.h"

namespace platform::user {

void normalizeTopmostBand() {
    auto& list = state().topLevels;
    std::stable_partition(list.begin(), list.end(), [](HWND h) {
        Window* w = findWindow(h);
        return w && (w->exStyle & WS_EX_TOPMOST);
    });
}

void moveInZOrder(Window& w, HWND after) {
    auto& list = siblingsOf(w);
    HWND h = w.handle;
    bool topLevel = w.parent == nullptr;
    if (after == HWND_TOPMOST) {
        if (topLevel)
            w.exStyle |= WS_EX_TOPMOST;
        after = HWND_TOP;
    } else if (after == HWND_NOTOPMOST) {
        if (topLevel)
            w.exStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
        after = HWND_TOP;
    } else if (after == HWND_BOTTOM && topLevel) {
        w.exStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
    }
    if (after != HWND_TOP && after != HWND_BOTTOM &&
        std::find(list.begin(), list.end(), after) == list.end()) {
        return;  // not a sibling: the order stays
    }
    list.erase(std::remove(list.begin(), list.end(), h), list.end());
    if (after == HWND_TOP) {
        list.insert(list.begin(), h);
    } else if (after == HWND_BOTTOM) {
        list.push_back(h);
    } else {
        list.insert(std::find(list.begin(), list.end(), after) + 1, h);
    }
    if (topLevel)
        normalizeTopmostBand();
}

}  // namespace platform::user

using namespace platform::user;

namespace {

enum class Towards { Screen, Client };

// ClientToScreen and ScreenToClient: the point moved by the window's client origin.
BOOL convertPoint(HWND hwnd, LPPOINT point, Towards towards) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w || !point)
        return FALSE;
    const POINT o = screenOrigin(*w);
    const int64_t sign = towards == Towards::Screen ? 1 : -1;
    point->x = clampScreen(int64_t{point->x} + sign * o.x);
    point->y = clampScreen(int64_t{point->y} + sign * o.y);
    return TRUE;
}

}  // namespace

BOOL SetWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return FALSE;
    WINDOWPOS pos{hwnd, after, x, y, cx, cy, flags};
    if (flags & SWP_NOMOVE) {
        pos.x = w->rect.left;
        pos.y = w->rect.top;
    }
    if (flags & SWP_NOSIZE) {
        pos.cx = w->rect.right - w->rect.left;
        pos.cy = w->rect.bottom - w->rect.top;
    }
    if (!(flags & SWP_NOSENDCHANGING)) {
        sendMessage(lock, hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
        w = findWindow(hwnd);
        if (!w)
            return FALSE;
    }
    flags = pos.flags;
    std::optional<ExposureTracker> exposure;
    if (!(flags & SWP_NOREDRAW))
        exposure.emplace();
    RECT old = w->rect;
    bool wasVisible = (w->style & WS_VISIBLE) != 0;
    RECT now = old;
    if (!(flags & SWP_NOMOVE)) {
        now.left = clampCoordinate(pos.x);
        now.top = clampCoordinate(pos.y);
    }
    LONG width = (flags & SWP_NOSIZE) ? old.right - old.left : clampCoordinate(std::max(pos.cx, 0));
    LONG height =
        (flags & SWP_NOSIZE) ? old.bottom - old.top : clampCoordinate(std::max(pos.cy, 0));
    now.right = now.left + width;
    now.bottom = now.top + height;
    bool moved = now.left != old.left || now.top != old.top;
    bool sized = width != old.right - old.left || height != old.bottom - old.top;
    w->rect = now;
    if (!(flags & SWP_NOZORDER))
        moveInZOrder(*w, pos.hwndInsertAfter);
    if (flags & SWP_SHOWWINDOW)
        w->style |= WS_VISIBLE;
    if (flags & SWP_HIDEWINDOW)
        w->style &= ~static_cast<DWORD>(WS_VISIBLE);
    bool visible = (w->style & WS_VISIBLE) != 0;
    bool repaintWhole = visible && (moved || sized || !wasVisible);
    if (exposure)
        exposure->finish(repaintWhole ? hwnd : nullptr);
    UserState& s = state();
    if (wasVisible && !visible) {
        if (s.capture && isInSubtree(hwnd, s.capture)) {
            // The window losing the stylus may react by destroying itself.
            setCaptureTo(lock, nullptr);
            w = findWindow(hwnd);
            if (!w)
                return TRUE;
        }
        ThreadQueue* q = queueOf(w->thread);
        if (!w->parent && q && (q->active == hwnd || s.foreground == hwnd))
            activateNextAfter(lock, hwnd);
    }
    if (!findWindow(hwnd))
        return TRUE;
    if (!moved)
        pos.flags |= SWP_NOCLIENTMOVE;
    if (!sized)
        pos.flags |= SWP_NOCLIENTSIZE;
    pos.x = now.left;
    pos.y = now.top;
    pos.cx = width;
    pos.cy = height;
    sendMessage(lock, hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    w = findWindow(hwnd);
    if (w && !(flags & SWP_NOACTIVATE) && !w->parent && visible &&
        !(w->exStyle & WS_EX_NOACTIVATE) && w->thread == currentThread()) {
        activateWindow(lock, hwnd, WA_ACTIVE);
    }
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(hwnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL ShowWindow(HWND hwnd, int cmd) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return FALSE;
    bool was = (w->style & WS_VISIBLE) != 0;
    bool show = cmd != SW_HIDE && cmd != SW_MINIMIZE;
    bool activates =
        cmd == SW_SHOW || cmd == SW_SHOWNORMAL || cmd == SW_RESTORE || cmd == SW_SHOWMAXIMIZED;
    bool child = w->parent != nullptr;
    if (show == was) {
        if (show && activates && !child && !(w->exStyle & WS_EX_NOACTIVATE) &&
            w->thread == currentThread()) {
            activateWindow(lock, hwnd, WA_ACTIVE);
        }
        return was ? TRUE : FALSE;
    }
    sendMessage(lock, hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    if (!activates || child)
        flags |= SWP_NOACTIVATE;
    lock.unlock();
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, flags);
    return was ? TRUE : FALSE;
}

BOOL BringWindowToTop(HWND hwnd) {
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w || !rect)
        return FALSE;
    *rect = screenRect(*w);
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w || !rect)
        return FALSE;
    *rect = RECT{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
    return convertPoint(hwnd, point, Towards::Screen);
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
    return convertPoint(hwnd, point, Towards::Client);
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    Lock lock = lockState();
    POINT a{0, 0};
    POINT b{0, 0};
    if (from) {
        Window* w = findWindowOrFail(from);
        if (!w)
            return 0;
        a = screenOrigin(*w);
    }
    if (to) {
        Window* w = findWindowOrFail(to);
        if (!w)
            return 0;
        b = screenOrigin(*w);
    }
    LONG dx = a.x - b.x;
    LONG dy = a.y - b.y;
    if (points) {
        for (UINT i = 0; i < count; ++i) {
            points[i].x = clampScreen(int64_t{points[i].x} + dx);
            points[i].y = clampScreen(int64_t{points[i].y} + dy);
        }
    }
    SetLastError(0);
    return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

HWND WindowFromPoint(POINT point) {
    Lock lock = lockState();
    return hitTest(point);
}

HWND ChildWindowFromPoint(HWND parent, POINT point) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(parent);
    if (!w)
        return nullptr;
    LONG width = w->rect.right - w->rect.left;
    LONG height = w->rect.bottom - w->rect.top;
    if (point.x < 0 || point.y < 0 || point.x >= width || point.y >= height)
        return nullptr;
    for (HWND c : w->children) {
        Window* cw = findWindow(c);
        if (cw && point.x >= cw->rect.left && point.x < cw->rect.right && point.y >= cw->rect.top &&
            point.y < cw->rect.bottom) {
            return c;
        }
    }
    return parent;
}
