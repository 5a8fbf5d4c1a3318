// Window-manager internals shared between its files: z-order, hit testing, destruction, DCs.
#pragma once

#include "user/UserState.h"

// Internal SetWindowPos flags telling DefWindowProc that the client area did not move or resize.
#define SWP_NOCLIENTSIZE 0x0800
#define SWP_NOCLIENTMOVE 0x1000

namespace platform::user {

// Calls the calling thread's WH_CBT hooks (lock held, released around the calls).
LRESULT callCbtHooks(Lock& lock, int code, WPARAM wParam, LPARAM lParam);

void normalizeTopmostBand();
void moveInZOrder(Window& w, HWND after);
// The deepest visible, enabled window under a screen point (lock held).
HWND hitTest(POINT screenPoint);
bool destroyWindowLocked(Lock& lock, HWND hwnd);
// Takes a window out of the tree and the handle table, without messages (lock held).
void forgetWindow(HWND hwnd);
// A DC for the window, clipped to `clip` (screen coordinates); null on failure.
HDC makeWindowDC(const Window& w, const Region& clip);
// Fills the client area of `dc` with the window's class background brush; false without one.
bool eraseWithClassBrush(HWND hwnd, HDC dc);
// Window DCs still held when their window goes draw nothing from then on (lock held).
void windowDCsOfGoneWindow(HWND hwnd);
// The focus window of the foreground window's thread, else the foreground window (lock held).
HWND foregroundFocus();

}  // namespace platform::user
