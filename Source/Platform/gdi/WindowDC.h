// Device contexts on surfaces the window manager owns: window and paint DCs are built from a
// surface, the surface position of the window's client origin and the visible region. Also
// the screen surface and the routing of GetDC/ReleaseDC for windows.
#pragma once

#include <windef.h>

#include "gdi/Region.h"
#include "gdi/Surface.h"

namespace platform {

// A DC drawing on `surface`, whose logical (0, 0) lies at `origin` of the surface and whose
// drawing is clipped to `clip` (surface coordinates). The surface must outlive the DC.
// Null when the table of objects is full.
HDC createSurfaceDC(Surface& surface, POINT origin, const Region& clip);
// A new visible region (surface coordinates) for a surface DC; false for any other handle.
bool setDCClip(HDC dc, const Region& clip);
// Moves a surface DC's logical (0, 0) to `origin` of its surface.
bool setDCOrigin(HDC dc, POINT origin);
// Frees a surface DC; false for a stale handle or a memory DC.
bool releaseSurfaceDC(HDC dc);

// The device's screen (240 x 320 when the device starts; device::setScreenSize changes it).
Surface& screenSurface();

// GetDC and ReleaseDC with a window are the window manager's: it registers them here.
// Without handlers, GetDC of a window gives null and ReleaseDC of a window 0.
struct WindowDCHandlers {
    HDC (*getDC)(HWND window) = nullptr;
    int (*releaseDC)(HWND window, HDC dc) = nullptr;
};
void setWindowDCHandlers(const WindowDCHandlers& handlers);

}  // namespace platform
