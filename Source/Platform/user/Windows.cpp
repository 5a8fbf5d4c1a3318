// Windows: creation with its messages (WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE, then showing),
// destruction (WM_DESTROY from the window down, WM_NCDESTROY from the leaves up), the window
// tree, window longs and extra bytes, titles, and finding and enumerating windows.
#include <algorithm>
#include <cstring>

#include "user/ClassTable.h"
#include "user/Internal.h"
#include "user/UserState.h"
#include "winbase.h"

namespace platform::user {
namespace {

void insertTopLevel(UserState& s, HWND h, bool topmost) {
    auto& list = s.topLevels;
    if (topmost) {
        list.insert(list.begin(), h);
        return;
    }
    // The first window that is not topmost: new windows open at the top of the normal band.
    auto it = std::find_if(list.begin(), list.end(), [](HWND x) {
        Window* w = findWindow(x);
        return !w || !(w->exStyle & WS_EX_TOPMOST);
    });
    list.insert(it, h);
}

void sendDestroyDown(Lock& lock, HWND h) {
    sendMessage(lock, h, WM_DESTROY, 0, 0);
    Window* w = findWindow(h);
    if (!w)
        return;
    std::vector<HWND> children = w->children;
    for (HWND c : children) {
        if (Window* cw = findWindow(c))
            cw->life = Life::Destroying;
        sendDestroyDown(lock, c);
    }
}

void sendNcDestroyUp(Lock& lock, HWND h) {
    Window* w = findWindow(h);
    if (!w)
        return;
    std::vector<HWND> children = w->children;
    for (HWND c : children)
        sendNcDestroyUp(lock, c);
    sendMessage(lock, h, WM_NCDESTROY, 0, 0);
    forgetWindow(h);
}

}  // namespace

void forgetWindow(HWND h) {
    UserState& s = state();
    Window* w = findWindow(h);
    if (!w)
        return;
    auto& list = siblingsOf(*w);
    list.erase(std::remove(list.begin(), list.end(), h), list.end());
    for (auto& [value, other] : s.windows) {
        if (other->owner == h)
            other->owner = nullptr;
    }
    if (s.foreground == h)
        s.foreground = nullptr;
    if (ThreadQueue* q = queueOf(w->thread)) {
        if (q->active == h)
            q->active = nullptr;
        if (q->focus == h)
            q->focus = nullptr;
        removeWindowTimers(*q, h);
    }
    if (s.capture == h)
        s.capture = nullptr;
    if (s.lastTap.hwnd == h)
        s.lastTap = LastTap{};
    releaseCaretOf(h);
    windowDCsOfGoneWindow(h);
    clipboardWindowGone(h);
    w->cls->windowCount--;
    s.windows.erase(reinterpret_cast<uintptr_t>(h));
}

bool destroyWindowLocked(Lock& lock, HWND hwnd) {
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return false;
    if (w->thread != currentThread()) {
        setError(ERROR_ACCESS_DENIED);
        return false;
    }
    if (w->life == Life::Destroying)
        return true;
    callCbtHooks(lock, HCBT_DESTROYWND, reinterpret_cast<WPARAM>(hwnd), 0);
    w = findWindow(hwnd);
    if (!w || w->life == Life::Destroying)
        return true;
    // Windows it owns go first.
    std::vector<HWND> owned;
    for (auto& [value, other] : state().windows) {
        if (other->owner == hwnd && other->thread == w->thread)
            owned.push_back(other->handle);
    }
    for (HWND o : owned)
        destroyWindowLocked(lock, o);
    w = findWindow(hwnd);
    if (!w)
        return true;
    if (w->style & WS_VISIBLE) {
        lock.unlock();
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        lock.lock();
        w = findWindow(hwnd);
        if (!w)
            return true;
    }
    w->life = Life::Destroying;
    UserState& s = state();
    if (s.capture && isInSubtree(hwnd, s.capture))
        setCaptureTo(lock, nullptr);
    ThreadQueue& q = currentQueue();
    if (q.focus && isInSubtree(hwnd, q.focus))
        setFocusTo(lock, nullptr);
    if (q.active == hwnd || s.foreground == hwnd)
        activateNextAfter(lock, hwnd);
    sendDestroyDown(lock, hwnd);
    sendNcDestroyUp(lock, hwnd);
    return true;
}

}  // namespace platform::user

using namespace platform::user;

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
    Lock lock = lockState();
    UserState& s = state();
    std::shared_ptr<WindowClass> cls = findClass(className, instance);
    if (!cls) {
        setError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    Window* parentWindow = nullptr;
    if (parent && parent != HWND_MESSAGE) {
        parentWindow = findWindowOrFail(parent);
        if (!parentWindow)
            return nullptr;
        if (parentWindow->life == Life::Destroying) {
            setError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
    }
    if ((style & WS_CHILD) && !parentWindow) {
        setError(ERROR_TLW_WITH_WSCHILD);
        return nullptr;
    }
    currentQueue();  // a thread that makes a window has a message queue from then on
    auto w = std::make_unique<Window>();
    HWND h = reinterpret_cast<HWND>(s.nextHandle);
    s.nextHandle += 4;  // handle values are never reused within a run
    w->handle = h;
    w->cls = cls;
    w->thread = currentThread();
    w->process = GetCurrentProcessId();
    w->style = style & ~static_cast<DWORD>(WS_VISIBLE);
    w->exStyle = exStyle;
    w->proc = cls->proc;
    w->instance = instance;
    w->text = copyText(windowName, kMaxWindowText);
    w->extra.assign(static_cast<size_t>(cls->windowExtra), 0);
    bool child = (style & WS_CHILD) != 0;
    if (child) {
        w->parent = parent;
        w->id = static_cast<LONG_PTR>(reinterpret_cast<UINT_PTR>(menu));
    } else {
        w->owner = parentWindow ? rootOf(parent) : nullptr;
        w->menu = menu;
    }
    int screenW = GetSystemMetrics(SM_CXSCREEN);
    int screenH = GetSystemMetrics(SM_CYSCREEN);
    if (x == CW_USEDEFAULT) {
        x = 0;
        y = 0;
    }
    x = clampCoordinate(x);
    y = clampCoordinate(y);
    if (width == CW_USEDEFAULT) {
        width = child ? 0 : screenW - x;
        height = child ? 0 : screenH - y;
    }
    width = clampCoordinate(std::max(width, 0));
    height = clampCoordinate(std::max(height, 0));
    w->rect = RECT{x, y, x + width, y + height};
    cls->windowCount++;
    Window* raw = w.get();
    s.windows.emplace(reinterpret_cast<uintptr_t>(h), std::move(w));
    if (child) {
        parentWindow->children.push_back(h);  // new children open at the bottom of their siblings
    } else {
        insertTopLevel(s, h, (exStyle & WS_EX_TOPMOST) != 0);
    }
    raw->life = Life::Alive;

    CREATESTRUCTW cs{};
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menu;
    cs.hwndParent = parent;
    cs.cx = width;
    cs.cy = height;
    cs.x = x;
    cs.y = y;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    CBT_CREATEWNDW cbt{&cs, HWND_TOP};
    if (callCbtHooks(lock, HCBT_CREATEWND, reinterpret_cast<WPARAM>(h),
                     reinterpret_cast<LPARAM>(&cbt)) != 0) {
        // Refused before its first message: it goes without any.
        if (findWindow(h))
            forgetWindow(h);
        return nullptr;
    }
    bool ok =
        findWindow(h) && sendMessage(lock, h, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) != 0;
    if (ok && findWindow(h))
        ok = sendMessage(lock, h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) != -1;
    if (!ok || !findWindow(h)) {
        if (findWindow(h))
            destroyWindowLocked(lock, h);
        return nullptr;
    }
    sendMessage(lock, h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
    sendMessage(lock, h, WM_MOVE, 0, MAKELPARAM(x, y));
    if (!findWindow(h))
        return nullptr;
    if (style & WS_VISIBLE) {
        lock.unlock();
        ShowWindow(h, child ? SW_SHOWNOACTIVATE : SW_SHOW);
        lock.lock();
    }
    return findWindow(h) ? h : nullptr;
}

BOOL DestroyWindow(HWND hwnd) {
    Lock lock = lockState();
    return destroyWindowLocked(lock, hwnd) ? TRUE : FALSE;
}

BOOL IsWindow(HWND hwnd) {
    Lock lock = lockState();
    return findWindow(hwnd) ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd) {
    Lock lock = lockState();
    Window* w = findWindow(hwnd);
    return w && isVisibleChain(*w) ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
    Lock lock = lockState();
    Window* w = findWindow(hwnd);
    return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return FALSE;
    BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
    if (static_cast<bool>(enable) == !wasDisabled)
        return wasDisabled;
    if (enable) {
        w->style &= ~static_cast<DWORD>(WS_DISABLED);
    } else {
        w->style |= WS_DISABLED;
        UserState& s = state();
        if (s.capture == hwnd)
            setCaptureTo(lock, nullptr);
        ThreadQueue* q = queueOf(w->thread);
        if (q && q->focus && isInSubtree(hwnd, q->focus) && w->thread == currentThread()) {
            setFocusTo(lock, nullptr);
        }
    }
    sendMessage(lock, hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL IsChild(HWND parent, HWND hwnd) {
    Lock lock = lockState();
    Window* w = findWindow(hwnd);
    if (!w || !findWindow(parent))
        return FALSE;
    return w->handle != parent && isInSubtree(parent, hwnd) ? TRUE : FALSE;
}

namespace {

bool extraSlot(Window& w, int index, size_t size, BYTE*& slot) {
    if (index < 0 || static_cast<size_t>(index) + size > w.extra.size()) {
        setError(ERROR_INVALID_INDEX);
        return false;
    }
    slot = w.extra.data() + index;
    return true;
}

// Reads a window long of `size` bytes (4 for GetWindowLongW, 8 for GetWindowLongPtrW).
bool readLong(HWND hwnd, int index, size_t size, LONG_PTR& out) {
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return false;
    switch (index) {
        case GWL_WNDPROC:
            out = reinterpret_cast<LONG_PTR>(w->proc);
            return true;
        case GWL_HINSTANCE:
            out = reinterpret_cast<LONG_PTR>(w->instance);
            return true;
        case GWL_HWNDPARENT:
            out = reinterpret_cast<LONG_PTR>(w->parent ? w->parent : w->owner);
            return true;
        case GWL_ID:
            out = w->id;
            return true;
        case GWL_STYLE:
            out = static_cast<LONG>(w->style);
            return true;
        case GWL_EXSTYLE:
            out = static_cast<LONG>(w->exStyle);
            return true;
        case GWL_USERDATA:
            out = w->userData;
            return true;
        default:
            break;
    }
    BYTE* slot = nullptr;
    if (!extraSlot(*w, index, size, slot))
        return false;
    if (size == sizeof(LONG)) {
        LONG v = 0;
        std::memcpy(&v, slot, sizeof v);
        out = v;
    } else {
        std::memcpy(&out, slot, sizeof out);
    }
    return true;
}

bool writeLong(Lock& lock, HWND hwnd, int index, size_t size, LONG_PTR value, LONG_PTR& old) {
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return false;
    if (!readLong(hwnd, index, size, old))
        return false;
    switch (index) {
        case GWL_WNDPROC:
            if (w->process != GetCurrentProcessId()) {
                setError(ERROR_ACCESS_DENIED);
                return false;
            }
            w->proc = reinterpret_cast<WNDPROC>(value);
            return true;
        case GWL_HINSTANCE:
            w->instance = reinterpret_cast<HINSTANCE>(value);
            return true;
        case GWL_HWNDPARENT:
            if (w->parent) {
                lock.unlock();
                SetParent(hwnd, reinterpret_cast<HWND>(value));
                lock.lock();
            } else {
                w->owner = reinterpret_cast<HWND>(value);
            }
            return true;
        case GWL_ID:
            w->id = value;
            return true;
        case GWL_STYLE: {
            // Visibility changes go through ShowWindow; the style bit follows the state.
            DWORD keep = w->style & WS_VISIBLE;
            w->style = (static_cast<DWORD>(value) & ~static_cast<DWORD>(WS_VISIBLE)) | keep;
            return true;
        }
        case GWL_EXSTYLE:
            w->exStyle = static_cast<DWORD>(value);
            return true;
        case GWL_USERDATA:
            w->userData = value;
            return true;
        default:
            break;
    }
    BYTE* slot = nullptr;
    if (!extraSlot(*w, index, size, slot))
        return false;
    if (size == sizeof(LONG)) {
        LONG v = static_cast<LONG>(value);
        std::memcpy(slot, &v, sizeof v);
    } else {
        std::memcpy(slot, &value, sizeof value);
    }
    return true;
}

}  // namespace

LONG GetWindowLongW(HWND hwnd, int index) {
    Lock lock = lockState();
    LONG_PTR v = 0;
    return readLong(hwnd, index, sizeof(LONG), v) ? static_cast<LONG>(v) : 0;
}

LONG SetWindowLongW(HWND hwnd, int index, LONG value) {
    Lock lock = lockState();
    LONG_PTR old = 0;
    SetLastError(0);
    return writeLong(lock, hwnd, index, sizeof(LONG), value, old) ? static_cast<LONG>(old) : 0;
}

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index) {
    Lock lock = lockState();
    LONG_PTR v = 0;
    return readLong(hwnd, index, sizeof(LONG_PTR), v) ? v : 0;
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
    Lock lock = lockState();
    LONG_PTR old = 0;
    SetLastError(0);
    return writeLong(lock, hwnd, index, sizeof(LONG_PTR), value, old) ? old : 0;
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!proc)
        return 0;
    return proc(hwnd, msg, wParam, lParam);
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return FALSE;
    if (w->thread == currentThread()) {
        return sendMessage(lock, hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE
                                                                                      : FALSE;
    }
    // A window of another thread: the title is stored directly, so no thread waits on another.
    w->text = copyText(text, kMaxWindowText);
    return TRUE;
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int max) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return 0;
    if (!buffer || max <= 0)
        return 0;
    if (w->thread == currentThread()) {
        buffer[0] = 0;
        LRESULT n = sendMessage(lock, hwnd, WM_GETTEXT, static_cast<WPARAM>(max),
                                reinterpret_cast<LPARAM>(buffer));
        return static_cast<int>(std::clamp<LRESULT>(n, 0, max - 1));
    }
    size_t n = std::min(w->text.size(), static_cast<size_t>(max - 1));
    std::copy_n(w->text.begin(), n, buffer);
    buffer[n] = 0;
    return static_cast<int>(n);
}

int GetWindowTextLengthW(HWND hwnd) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return 0;
    if (w->thread == currentThread()) {
        return static_cast<int>(sendMessage(lock, hwnd, WM_GETTEXTLENGTH, 0, 0));
    }
    return static_cast<int>(w->text.size());
}

HWND GetWindow(HWND hwnd, UINT cmd) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return nullptr;
    if (cmd == GW_CHILD)
        return w->children.empty() ? nullptr : w->children.front();
    if (cmd == GW_OWNER)
        return w->owner;
    const auto& list = siblingsOf(*w);
    auto it = std::find(list.begin(), list.end(), hwnd);
    if (it == list.end())
        return nullptr;
    switch (cmd) {
        case GW_HWNDFIRST:
            return list.front();
        case GW_HWNDLAST:
            return list.back();
        case GW_HWNDNEXT:
            return it + 1 == list.end() ? nullptr : *(it + 1);
        case GW_HWNDPREV:
            return it == list.begin() ? nullptr : *(it - 1);
        default:
            setError(ERROR_INVALID_PARAMETER);
            return nullptr;
    }
}

HWND GetParent(HWND hwnd) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return nullptr;
    // As on Windows: the parent of a child window, the owner of a popup window.
    if (w->style & WS_CHILD)
        return w->parent;
    if (w->style & WS_POPUP)
        return w->owner;
    return nullptr;
}

HWND SetParent(HWND child, HWND newParent) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(child);
    if (!w)
        return nullptr;
    Window* np = nullptr;
    if (newParent) {
        np = findWindowOrFail(newParent);
        if (!np)
            return nullptr;
        if (isInSubtree(child, newParent)) {
            setError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
    }
    HWND old = w->parent;
    ExposureTracker exposure;
    auto& list = siblingsOf(*w);
    list.erase(std::remove(list.begin(), list.end(), child), list.end());
    w->parent = newParent;
    w->owner = nullptr;
    if (np) {
        w->style |= WS_CHILD;
        np->children.insert(np->children.begin(), child);
    } else {
        w->style &= ~static_cast<DWORD>(WS_CHILD);
        insertTopLevel(state(), child, (w->exStyle & WS_EX_TOPMOST) != 0);
    }
    exposure.finish(child);
    return old;
}

HWND GetDesktopWindow() {
    return nullptr;
}

HWND GetDlgItem(HWND dlg, int id) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(dlg);
    if (!w)
        return nullptr;
    for (HWND c : w->children) {
        Window* cw = findWindow(c);
        if (cw && cw->id == id)
            return c;
    }
    setError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return 0;
    return (w->style & WS_CHILD) ? static_cast<int>(w->id) : 0;
}

BOOL SetDlgItemTextW(HWND dlg, int id, LPCWSTR text) {
    HWND item = GetDlgItem(dlg, id);
    return item ? SetWindowTextW(item, text) : FALSE;
}

UINT GetDlgItemTextW(HWND dlg, int id, LPWSTR buffer, int max) {
    HWND item = GetDlgItem(dlg, id);
    if (!item) {
        if (buffer && max > 0)
            buffer[0] = 0;
        return 0;
    }
    return static_cast<UINT>(GetWindowTextW(item, buffer, max));
}

LRESULT SendDlgItemMessageW(HWND dlg, int id, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND item = GetDlgItem(dlg, id);
    return item ? SendMessageW(item, msg, wParam, lParam) : 0;
}

namespace {

// Calls `fn` for each live window of `handles` (taken as a snapshot, so that the callback may
// create or destroy windows); a false result stops the enumeration.
bool enumerate(const std::vector<HWND>& handles, WNDENUMPROC fn, LPARAM param) {
    for (HWND h : handles) {
        if (!IsWindow(h))
            continue;
        if (!fn(h, param))
            return false;
    }
    return true;
}

}  // namespace

BOOL EnumWindows(WNDENUMPROC fn, LPARAM param) {
    if (!fn) {
        setError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<HWND> handles;
    {
        Lock lock = lockState();
        handles = state().topLevels;
    }
    return enumerate(handles, fn, param) ? TRUE : FALSE;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC fn, LPARAM param) {
    if (!fn) {
        setError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<HWND> handles;
    {
        Lock lock = lockState();
        if (!findWindowOrFail(parent))
            return FALSE;
        collectSubtree(parent, handles);
        handles.erase(handles.begin());
    }
    return enumerate(handles, fn, param) ? TRUE : FALSE;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
    Lock lock = lockState();
    UserState& s = state();
    for (HWND h : s.topLevels) {
        Window* w = findWindow(h);
        if (!w)
            continue;
        if (className && !classMatches(*w->cls, className))
            continue;
        if (windowName && copyText(windowName, kMaxWindowText + 1) != w->text)
            continue;
        return h;
    }
    return nullptr;
}

DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD process) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w) {
        if (process)
            *process = 0;
        return 0;
    }
    if (process)
        *process = w->process;
    return w->thread;
}
