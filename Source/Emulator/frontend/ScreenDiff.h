// Which part of the device screen changed between two copies of it, so that a front end
// updates only that part of its picture.
#pragma once

#include <device/Screen.h>

#include <optional>

struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ScreenRect&) const = default;
};

// The smallest rectangle holding every pixel that differs; the whole of `after` when the
// sizes differ; nothing when the copies are the same.
std::optional<ScreenRect> changedRect(const device::ScreenImage& before,
                                      const device::ScreenImage& after);
