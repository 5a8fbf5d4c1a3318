// Injected input: stylus events go to the capturing window or the deepest visible, enabled
// window under the point, in client coordinates; a second tap soon and near enough becomes a
// double click for CS_DBLCLKS classes. Keys and characters go to the foreground thread's focus
// window. GetAsyncKeyState reports the key state last injected; GetKeyState the state as of
// the last key message the calling thread retrieved, so translation sees the keys of its time.
#include <cstdlib>

#include "device/Display.h"
#include "device/Input.h"
#include "user/InputWait.h"
#include "user/Internal.h"
#include "user/UserState.h"

namespace platform::user {
namespace {

bool contains(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

bool takesInput(const Window& w) {
    return (w.style & WS_VISIBLE) && !(w.style & WS_DISABLED);
}

HWND deepest(Window& w, POINT screenPoint) {
    for (HWND h : w.children) {
        Window* c = findWindow(h);
        if (c && takesInput(*c) && contains(screenRect(*c), screenPoint))
            return deepest(*c, screenPoint);
    }
    return w.handle;
}

bool modifierDown(const UserState& s, int vk, int left, int right) {
    return s.keyDown[vk] || s.keyDown[left] || s.keyDown[right];
}

WPARAM mouseKeys(const UserState& s, bool buttonDown) {
    WPARAM keys = buttonDown ? MK_LBUTTON : 0;
    if (modifierDown(s, VK_SHIFT, VK_LSHIFT, VK_RSHIFT))
        keys |= MK_SHIFT;
    if (modifierDown(s, VK_CONTROL, VK_LCONTROL, VK_RCONTROL))
        keys |= MK_CONTROL;
    return keys;
}

// Half the double-tap rectangle on each side of the first tap.
constexpr LONG kDoubleTapSlop = 4;

enum class Stylus { Down, Move, Up };

bool injectStylus(Stylus kind, int x, int y) {
    Lock lock = lockState();
    UserState& s = state();
    POINT pt{x, y};
    HWND target = s.capture ? s.capture : hitTest(pt);
    Window* w = findWindow(target);
    if (kind == Stylus::Down)
        s.stylusDown = true;
    if (kind == Stylus::Up)
        s.stylusDown = false;
    if (!w)
        return false;
    uint64_t t = now();
    UINT msg = kind == Stylus::Down ? WM_LBUTTONDOWN
               : kind == Stylus::Up ? WM_LBUTTONUP
                                    : WM_MOUSEMOVE;
    if (kind == Stylus::Down) {
        const LastTap& last = s.lastTap;
        bool again = last.valid && last.hwnd == target && t - last.time <= GetDoubleClickTime() &&
                     std::labs(last.pt.x - x) <= kDoubleTapSlop &&
                     std::labs(last.pt.y - y) <= kDoubleTapSlop;
        if (again && (w->cls->style & CS_DBLCLKS)) {
            msg = WM_LBUTTONDBLCLK;
            s.lastTap = LastTap{};  // a third tap starts over
        } else {
            s.lastTap = LastTap{target, t, pt, true};
        }
    }
    POINT o = screenOrigin(*w);
    InputMessage in;
    in.msg.hwnd = target;
    in.msg.message = msg;
    in.msg.wParam = mouseKeys(s, s.stylusDown);
    in.msg.lParam =
        MAKELPARAM(static_cast<WORD>(int64_t{x} - o.x), static_cast<WORD>(int64_t{y} - o.y));
    in.msg.time = static_cast<DWORD>(t);
    in.msg.pt = pt;
    in.activate = kind == Stylus::Down && !s.capture;
    postInput(lock, w->thread, in);
    return true;
}

bool injectKey(UINT msg, WPARAM wParam, LPARAM lParam) {
    Lock lock = lockState();
    HWND target = foregroundFocus();
    Window* w = findWindow(target);
    if (!w)
        return false;
    InputMessage in;
    in.msg.hwnd = target;
    in.msg.message = msg;
    in.msg.wParam = wParam;
    in.msg.lParam = lParam;
    in.msg.time = static_cast<DWORD>(now());
    postInput(lock, w->thread, in);
    return true;
}

}  // namespace

HWND hitTest(POINT pt) {
    for (HWND h : state().topLevels) {
        Window* w = findWindow(h);
        if (w && takesInput(*w) && contains(screenRect(*w), pt))
            return deepest(*w, pt);
    }
    return nullptr;
}

bool stylusIsDown() {
    Lock lock = lockState();
    return state().stylusDown;
}

}  // namespace platform::user

using namespace platform::user;

bool device::stylusDown(int x, int y) {
    return injectStylus(Stylus::Down, x, y);
}
bool device::stylusMove(int x, int y) {
    return injectStylus(Stylus::Move, x, y);
}
bool device::stylusUp(int x, int y) {
    return injectStylus(Stylus::Up, x, y);
}

bool device::keyDown(UINT vk, UINT scanCode, LPARAM extraBits) {
    vk &= 0xFF;
    bool wasDown = false;
    {
        Lock lock = lockState();
        UserState& s = state();
        wasDown = s.keyDown[vk] != 0;
        if (!wasDown)
            s.keyToggled[vk] ^= 1;
        s.keyDown[vk] = 1;
    }
    LPARAM lParam = 1 | static_cast<LPARAM>((scanCode & 0xFF) << 16) | (wasDown ? (1L << 30) : 0) |
                    (extraBits & kKeyNoCharacter);
    return injectKey(WM_KEYDOWN, vk, lParam);
}

bool device::keyUp(UINT vk, UINT scanCode) {
    vk &= 0xFF;
    {
        Lock lock = lockState();
        state().keyDown[vk] = 0;
    }
    LPARAM lParam = static_cast<LPARAM>(
        static_cast<DWORD>(1 | ((scanCode & 0xFF) << 16) | (1u << 30) | (1u << 31)));
    return injectKey(WM_KEYUP, vk, lParam);
}

bool device::typeChar(WCHAR ch, LPARAM lParam) {
    return injectKey(WM_CHAR, ch, lParam);
}

HWND device::foregroundFocusWindow() {
    Lock lock = lockState();
    return foregroundFocus();
}

SHORT GetKeyState(int vk) {
    Lock lock = lockState();
    ThreadQueue& s = currentQueue();
    if (vk < 0 || vk > 0xFF)
        return 0;
    return static_cast<SHORT>((s.keyDown[vk] ? 0x8000 : 0) | (s.keyToggled[vk] ? 1 : 0));
}

SHORT GetAsyncKeyState(int vk) {
    Lock lock = lockState();
    if (vk < 0 || vk > 0xFF)
        return 0;
    return static_cast<SHORT>(state().keyDown[vk] ? 0x8000 : 0);
}

UINT GetDoubleClickTime() {
    return 500;
}
