// A memory DC for the paragraph layout tests: its own white bitmap and the Tahoma face of a
// given height selected, black text; all freed at scope end.
#pragma once

#include <windef.h>
#include <wingdi.h>

#include <algorithm>

class Canvas {
public:
    Canvas(int width, int height, int fontHeight = -16) : m_width(width), m_height(height) {
        dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateCompatibleBitmap(dc, width, height);
        m_oldBitmap = SelectObject(dc, m_bitmap);
        LOGFONTW f{};
        f.lfHeight = fontHeight;
        f.lfWeight = FW_NORMAL;
        const char16_t face[] = u"Tahoma";
        for (int i = 0; face[i] != 0; ++i) {
            f.lfFaceName[i] = face[i];
        }
        m_font = CreateFontIndirectW(&f);
        m_oldFont = SelectObject(dc, m_font);
        SetTextColor(dc, RGB(0, 0, 0));
        clear();
    }
    ~Canvas() {
        SelectObject(dc, m_oldFont);
        SelectObject(dc, m_oldBitmap);
        DeleteObject(m_font);
        DeleteObject(m_bitmap);
        DeleteDC(dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    void clear() {
        HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
        RECT all{0, 0, m_width, m_height};
        FillRect(dc, &all, white);
        DeleteObject(white);
    }
    bool dark(int x, int y) const {
        const COLORREF c = GetPixel(dc, x, y);
        return c != CLR_INVALID && GetRValue(c) < 128;
    }
    // Horizontal extent [left, right) of the dark pixels in the rows top..bottom-1; left > right
    // when there are none.
    RECT inkColumns(int top, int bottom) const {
        RECT r{m_width, top, -1, bottom};
        for (int y = top; y < bottom; ++y) {
            for (int x = 0; x < m_width; ++x) {
                if (dark(x, y)) {
                    r.left = std::min<LONG>(r.left, x);
                    r.right = std::max<LONG>(r.right, x + 1);
                }
            }
        }
        return r;
    }
    RECT all() const { return RECT{0, 0, m_width, m_height}; }

    HDC dc = nullptr;

private:
    int m_width;
    int m_height;
    HBITMAP m_bitmap = nullptr;
    HFONT m_font = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    HGDIOBJ m_oldFont = nullptr;
};
