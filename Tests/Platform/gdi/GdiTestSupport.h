// Helpers for the GDI tests: memory DCs with a bitmap of a given size and colour, read back
// through the surface the DC draws on.
#pragma once

#include <gtest/gtest.h>
#include <wingdi.h>

#include "gdi/Blend.h"
#include "gdi/Surface.h"

namespace gditest {

// A memory DC with its own 32-bit bitmap, filled with `color`; both freed at scope end.
class MemoryCanvas {
public:
    MemoryCanvas(int width, int height, COLORREF color = RGB(255, 255, 255)) {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(dc, width, height);
        old = SelectObject(dc, bitmap);
        HBRUSH brush = CreateSolidBrush(color);
        RECT all{0, 0, width, height};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
    }
    ~MemoryCanvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;

    // The pixel at surface (x, y) as a COLORREF; CLR_INVALID outside.
    COLORREF at(int x, int y) const {
        platform::Surface* s = platform::selectedSurface(dc);
        if (s == nullptr || !s->contains(x, y)) {
            return CLR_INVALID;
        }
        return platform::colorrefFromPixel(s->pixel(x, y));
    }
    void fill(const RECT& r, COLORREF color) {
        HBRUSH brush = CreateSolidBrush(color);
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    }

    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
};

}  // namespace gditest
