// Owners for the GDI objects the device programs draw with: memory DCs, bitmaps, brushes, pens
// and fonts are released when they go out of scope, and a selection puts the DC's previous
// object back.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

#include "shell/ShellFont.h"

struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;
using BitmapHandle = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectDeleter>;
using BrushHandle = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;
using PenHandle = std::unique_ptr<std::remove_pointer_t<HPEN>, GdiObjectDeleter>;

class Selection {
public:
    Selection(HDC dc, HGDIOBJ object)
        : m_dc(dc), m_previous(object ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (m_previous)
            SelectObject(m_dc, m_previous);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// Fills a rectangle with a colour.
inline void fillRect(HDC dc, const RECT& rect, COLORREF colour) {
    BrushHandle brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush.get());
}

// Draws a rectangle's one-pixel outline, inside the rectangle.
inline void frameRect(HDC dc, const RECT& rect, COLORREF colour) {
    fillRect(dc, RECT{rect.left, rect.top, rect.right, rect.top + 1}, colour);
    fillRect(dc, RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom}, colour);
    fillRect(dc, RECT{rect.left, rect.top, rect.left + 1, rect.bottom}, colour);
    fillRect(dc, RECT{rect.right - 1, rect.top, rect.right, rect.bottom}, colour);
}

// A font of `pixels` height at 96 dpi, times `scale`; Tahoma unless `face` names another.
enum class FontStyle { Upright, Italic };
enum class FontLine { None, Underline };
FontHandle makeProgramFont(int pixels, int scale, FontWeight weight,
                           FontStyle style = FontStyle::Upright, FontLine line = FontLine::None,
                           const WCHAR* face = u"Tahoma");
