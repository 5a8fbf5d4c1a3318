// The caret: one per device, owned by a window of one thread, with a hide count as on Windows
// (a new caret starts hidden). While shown it blinks by inverting its rectangle on the screen
// every blink period; the owning thread's message retrieval drives the blink, and painting
// takes it off the screen while the window draws.
#include "device/Display.h"
#include "gdi/GdiLock.h"
#include "gdi/WindowDC.h"
#include "user/UserState.h"

namespace platform::user {
namespace {

bool hiddenForPaint = false;

RECT caretScreenRect(const Caret& c) {
    Window* w = findWindow(c.hwnd);
    if (!w)
        return RECT{0, 0, 0, 0};
    POINT o = screenOrigin(*w);
    int64_t x = int64_t{o.x} + c.pos.x;
    int64_t y = int64_t{o.y} + c.pos.y;
    return RECT{clampScreen(x), clampScreen(y), clampScreen(x + c.width),
                clampScreen(y + c.height)};
}

void invert(Caret& c) {
    Window* w = findWindow(c.hwnd);
    if (!w)
        return;
    Region area(caretScreenRect(c));
    area.intersect(visibleArea(*w));
    platform::GdiLock gdi;
    Surface& screen = platform::screenSurface();
    area.intersect(screen.bounds());
    for (const RECT& r : area.rects()) {
        for (LONG y = r.top; y < r.bottom; ++y) {
            uint32_t* row = screen.row(y);
            for (LONG x = r.left; x < r.right; ++x)
                row[x] ^= 0x00FFFFFFu;
        }
    }
    screen.touch();
    c.drawn = !c.drawn;
}

void undraw(Caret& c) {
    if (c.drawn)
        invert(c);
}

Caret* callerCaret() {
    Caret& c = state().caret;
    return c.hwnd && c.thread == currentThread() ? &c : nullptr;
}

}  // namespace

void releaseCaretOf(HWND hwnd) {
    // The window's area is repainted as it goes, which also removes an inverted caret.
    if (state().caret.hwnd == hwnd)
        state().caret = Caret{};
}

void caretHideForPaint(HWND hwnd) {
    Caret& c = state().caret;
    if (c.hwnd == hwnd && c.drawn) {
        undraw(c);
        hiddenForPaint = true;
    }
}

void caretRestoreAfterPaint(HWND hwnd) {
    Caret& c = state().caret;
    if (hiddenForPaint && c.hwnd == hwnd && c.hideCount == 0 && !c.drawn)
        invert(c);
    hiddenForPaint = false;
}

void caretBlinkDue(uint64_t at) {
    Caret& c = state().caret;
    if (!c.hwnd || c.thread != currentThread() || c.hideCount != 0 || at < c.nextBlink)
        return;
    invert(c);
    c.nextBlink = at + state().caretBlinkTime;
}

}  // namespace platform::user

using namespace platform;
using namespace platform::user;

BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height) {
    (void)bitmap;  // a bitmap caret is drawn as a solid one
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return FALSE;
    if (w->thread != currentThread()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    Caret& c = state().caret;
    undraw(c);
    c = Caret{};
    c.hwnd = hwnd;
    c.thread = w->thread;
    c.width = width > 0 ? clampCoordinate(width) : GetSystemMetrics(SM_CXBORDER);
    c.height = height > 0 ? clampCoordinate(height) : GetSystemMetrics(SM_CYBORDER);
    return TRUE;
}

BOOL DestroyCaret() {
    Lock lock = lockState();
    Caret* c = callerCaret();
    if (!c)
        return FALSE;
    undraw(*c);
    *c = Caret{};
    return TRUE;
}

BOOL ShowCaret(HWND hwnd) {
    Lock lock = lockState();
    Caret* c = callerCaret();
    if (!c || (hwnd && hwnd != c->hwnd) || c->hideCount == 0)
        return FALSE;
    if (--c->hideCount == 0) {
        invert(*c);
        c->nextBlink = now() + state().caretBlinkTime;
        device::notifyWaiters();
    }
    return TRUE;
}

BOOL HideCaret(HWND hwnd) {
    Lock lock = lockState();
    Caret* c = callerCaret();
    if (!c || (hwnd && hwnd != c->hwnd))
        return FALSE;
    undraw(*c);
    c->hideCount++;
    return TRUE;
}

BOOL SetCaretPos(int x, int y) {
    Lock lock = lockState();
    Caret* c = callerCaret();
    if (!c)
        return FALSE;
    undraw(*c);
    c->pos = POINT{clampCoordinate(x), clampCoordinate(y)};
    if (c->hideCount == 0) {
        // A moved caret shows at once and starts its blink period again.
        invert(*c);
        c->nextBlink = now() + state().caretBlinkTime;
    }
    return TRUE;
}

BOOL GetCaretPos(LPPOINT point) {
    Lock lock = lockState();
    Caret* c = callerCaret();
    if (!c || !point)
        return FALSE;
    *point = c->pos;
    return TRUE;
}

UINT GetCaretBlinkTime() {
    Lock lock = lockState();
    return state().caretBlinkTime;
}

BOOL SetCaretBlinkTime(UINT ms) {
    Lock lock = lockState();
    state().caretBlinkTime = ms < USER_TIMER_MINIMUM ? USER_TIMER_MINIMUM : ms;
    return TRUE;
}

device::CaretState device::caretState() {
    Lock lock = lockState();
    const Caret& c = state().caret;
    CaretState out;
    if (!c.hwnd)
        return out;
    out.window = c.hwnd;
    out.rect = caretScreenRect(c);
    out.shown = c.hideCount == 0;
    out.blinkOn = c.drawn;
    return out;
}
