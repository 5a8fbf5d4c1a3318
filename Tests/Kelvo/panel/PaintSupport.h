// Reading what the panel painted on the device screen: pixels at panel points, and the
// extent of the text a face drew (every pixel that is not the picture's).
#pragma once

#include <device/Screen.h>
#include <windows.h>

#include <algorithm>
#include <climits>
#include <functional>

namespace painttest {

// Pixels of the screen as one copy, read at points of a window's client area.
class PanelPixels {
public:
    explicit PanelPixels(HWND window) : m_image(device::copyScreen()) {
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        m_origin = origin;
    }
    uint32_t at(int x, int y) const {
        const int sx = x + m_origin.x;
        const int sy = y + m_origin.y;
        if (sx < 0 || sy < 0 || sx >= m_image.width || sy >= m_image.height)
            return UINT32_MAX;
        return m_image.pixels[static_cast<size_t>(sy) * m_image.width + sx];
    }

    // The smallest rectangle inside `area` holding every pixel for which `background` is
    // false; empty (all zero) when there is none.
    RECT inkBounds(const RECT& area, const std::function<uint32_t(int, int)>& background) const {
        RECT ink{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                if (at(x, y) == background(x, y))
                    continue;
                ink.left = std::min<LONG>(ink.left, x);
                ink.top = std::min<LONG>(ink.top, y);
                ink.right = std::max<LONG>(ink.right, x + 1);
                ink.bottom = std::max<LONG>(ink.bottom, y + 1);
            }
        }
        return ink.left == INT_MAX ? RECT{} : ink;
    }

private:
    device::ScreenImage m_image;
    POINT m_origin{};
};

}  // namespace painttest
