// Window-manager internals shared between its files: z-order, hit testing, destruction, DCs.
#pragma once

#include "user/UserState.h"

// Internal SetWindowPos flags telling DefWindowProc that the client area did not move or resize.
#define SWP_NOCLIENTSIZE 0x0800
#define SWP_NOCLIENTMOVE 0x1000

namespace platform::user {

void normalizeTopmostBand();
void moveInZOrder(Window& w, HWND after);
// The deepest visible, enabled window under a screen point (lock held).
HWND hitTest(POINT screenPoint);
bool destroyWindowLocked(Lock& lock, HWND hwnd);
// A DC for the window, clipped to `clip` (screen coordinates); null on failure.
HDC makeWindowDC(const Window& w, const Region& clip);
// Brush painting: fills `rect` (client coordinates) of `dc` with the class background brush.
bool eraseWithClassBrush(HWND hwnd, HDC dc);
// Window DCs still held when their window goes draw nothing from then on (lock held).
void windowDCsOfGoneWindow(HWND hwnd);
// The focus window of the foreground window's thread, else the foreground window (lock held).
HWND foregroundFocus();

}  // namespace platform::user
