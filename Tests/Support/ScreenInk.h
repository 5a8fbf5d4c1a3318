// Where text stands on the device's screen: the columns of an area holding dark pixels, the
// caret left out, and the first and last of them. For tests of what a text control shows.
#pragma once

#include <device/Display.h>
#include <device/Screen.h>
#include <winuser.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace testsupport {

// One entry per column of `area` (screen coordinates, from area.left): true where a pixel of the
// column within the screen has red below 128, outside the caret.
inline std::vector<bool> darkColumns(const RECT& area) {
    const device::ScreenImage screen = device::copyScreen();
    const device::CaretState caret = device::caretState();
    std::vector<bool> ink(static_cast<size_t>(std::max<LONG>(area.right - area.left, 0)), false);
    for (int y = std::max<LONG>(area.top, 0); y < area.bottom && y < screen.height; ++y) {
        for (int x = std::max<LONG>(area.left, 0); x < area.right && x < screen.width; ++x) {
            const POINT p{x, y};
            if (caret.window && PtInRect(&caret.rect, p))
                continue;
            const uint32_t px = screen.pixels[static_cast<size_t>(y * screen.width + x)];
            if (((px >> 16) & 0xFF) < 128)
                ink[static_cast<size_t>(x - area.left)] = true;
        }
    }
    return ink;
}

// The first and last true entry from `from` up to but not including `to`; {-1, -1} with none.
inline std::pair<int, int> inkExtent(const std::vector<bool>& ink, size_t from, size_t to) {
    int first = -1;
    int last = -1;
    for (size_t x = from; x < std::min(to, ink.size()); ++x) {
        if (ink[x]) {
            if (first < 0)
                first = static_cast<int>(x);
            last = static_cast<int>(x);
        }
    }
    return {first, last};
}

}  // namespace testsupport
