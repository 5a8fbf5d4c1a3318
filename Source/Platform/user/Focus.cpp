// Activation, focus and capture. The foreground window is device-wide; the active window and
// the focus window are per thread, as on Windows. Messages to windows of the calling thread
// are sent at once; windows of other threads are told without waiting for them, so that no
// thread blocks on one that is busy.
#include <algorithm>

#include "user/Internal.h"
#include "user/UserState.h"
#include "winbase.h"

namespace platform::user {
namespace {

void tell(Lock& lock, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (findWindow(hwnd))
        sendMessage(lock, hwnd, msg, wParam, lParam, Delivery::Notify);
}

bool canActivate(const Window& w, HWND leaving) {
    return !w.parent && w.handle != leaving && (w.style & WS_VISIBLE) && !(w.style & WS_DISABLED) &&
           !(w.exStyle & (WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW)) && w.owner != leaving;
}

}  // namespace

void activateWindow(Lock& lock, HWND hwnd, int how) {
    UserState& s = state();
    HWND root = rootOf(hwnd);
    Window* w = findWindow(root);
    if (!w)
        return;
    {
        ExposureTracker exposure;
        moveInZOrder(*w, HWND_TOP);
        exposure.finish();
    }
    ThreadQueue* q = queueOf(w->thread);
    if (!q)
        return;
    HWND oldForeground = s.foreground;
    HWND oldActive = q->active;
    if (oldForeground == root && oldActive == root)
        return;
    s.foreground = root;
    q->active = root;
    if (oldForeground && oldForeground != root) {
        Window* of = findWindow(oldForeground);
        tell(lock, oldForeground, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(root));
        ThreadQueue* oq = of ? queueOf(of->thread) : nullptr;
        if (oq && oq != q) {
            // That thread is no longer in front: it keeps neither an active nor a focus window.
            if (oq->focus)
                tell(lock, oq->focus, WM_KILLFOCUS, 0, 0);
            oq->focus = nullptr;
            if (oq->active == oldForeground)
                oq->active = nullptr;
        }
    }
    if (oldActive && oldActive != root && oldActive != oldForeground) {
        tell(lock, oldActive, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(root));
    }
    HWND previous = oldForeground ? oldForeground : oldActive;
    tell(lock, root, WM_ACTIVATE, static_cast<WPARAM>(how), reinterpret_cast<LPARAM>(previous));
}

void activateNextAfter(Lock& lock, HWND leaving) {
    UserState& s = state();
    HWND next = nullptr;
    for (HWND h : s.topLevels) {
        Window* w = findWindow(h);
        if (w && canActivate(*w, leaving)) {
            next = h;
            break;
        }
    }
    if (next) {
        activateWindow(lock, next, WA_ACTIVE);
        return;
    }
    Window* w = findWindow(leaving);
    ThreadQueue* q = w ? queueOf(w->thread) : nullptr;
    bool wasActive = s.foreground == leaving || (q && q->active == leaving);
    if (s.foreground == leaving)
        s.foreground = nullptr;
    if (q && q->active == leaving)
        q->active = nullptr;
    if (wasActive)
        tell(lock, leaving, WM_ACTIVATE, WA_INACTIVE, 0);
}

HWND setFocusTo(Lock& lock, HWND hwnd) {
    ThreadQueue& q = currentQueue();
    if (hwnd) {
        Window* w = findWindowOrFail(hwnd);
        if (!w)
            return nullptr;
        if (w->thread != currentThread()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return nullptr;
        }
        HWND root = rootOf(hwnd);
        Window* r = findWindow(root);
        if (r && q.active != root && !(r->exStyle & WS_EX_NOACTIVATE))
            activateWindow(lock, root, WA_ACTIVE);
        if (!findWindow(hwnd))
            return nullptr;
    }
    HWND old = q.focus;
    if (old == hwnd)
        return old;
    if (old && findWindow(old))
        sendMessage(lock, old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    q.focus = findWindow(hwnd) ? hwnd : nullptr;
    if (q.focus)
        sendMessage(lock, hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

void setCaptureTo(Lock& lock, HWND hwnd) {
    UserState& s = state();
    HWND old = s.capture;
    if (old == hwnd)
        return;
    s.capture = hwnd;
    if (old)
        tell(lock, old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
}

HWND foregroundFocus() {
    UserState& s = state();
    Window* fg = findWindow(s.foreground);
    if (!fg)
        return nullptr;
    ThreadQueue* q = queueOf(fg->thread);
    if (q && q->focus && findWindow(q->focus))
        return q->focus;
    return s.foreground;
}

}  // namespace platform::user

using namespace platform::user;

BOOL SetForegroundWindow(HWND hwnd) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return FALSE;
    activateWindow(lock, rootOf(hwnd), WA_ACTIVE);
    return TRUE;
}

HWND GetForegroundWindow() {
    Lock lock = lockState();
    return state().foreground;
}

HWND SetActiveWindow(HWND hwnd) {
    Lock lock = lockState();
    ThreadQueue& q = currentQueue();
    HWND old = q.active;
    if (!hwnd) {
        if (old)
            activateNextAfter(lock, old);
        return old;
    }
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return nullptr;
    if (w->thread != currentThread()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    activateWindow(lock, rootOf(hwnd), WA_ACTIVE);
    return old;
}

HWND GetActiveWindow() {
    Lock lock = lockState();
    return currentQueue().active;
}

HWND SetFocus(HWND hwnd) {
    Lock lock = lockState();
    return setFocusTo(lock, hwnd);
}

HWND GetFocus() {
    Lock lock = lockState();
    return currentQueue().focus;
}

HWND SetCapture(HWND hwnd) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return nullptr;
    UserState& s = state();
    HWND old = s.capture;
    Window* ow = findWindow(old);
    setCaptureTo(lock, hwnd);
    return ow && ow->thread == currentThread() ? old : nullptr;
}

BOOL ReleaseCapture() {
    Lock lock = lockState();
    UserState& s = state();
    Window* w = findWindow(s.capture);
    if (w && w->thread == currentThread())
        setCaptureTo(lock, nullptr);
    return TRUE;
}

HWND GetCapture() {
    Lock lock = lockState();
    Window* w = findWindow(state().capture);
    return w && w->thread == currentThread() ? w->handle : nullptr;
}
