// The icon handle table. Handles are numbers handed out once, never addresses, so a stale or
// made-up handle finds nothing.
#include "gdi/IconTable.h"

#include <mutex>
#include <unordered_map>

namespace platform {

namespace {

struct Table {
    std::mutex mutex;
    std::unordered_map<uintptr_t, std::shared_ptr<const IconPixels>> icons;
    uintptr_t next = 0x1C0000;
};

Table& table() {
    static Table t;
    return t;
}

}  // namespace

HICON addIcon(IconPixels pixels) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    t.next += 4;
    t.icons[t.next] = std::make_shared<const IconPixels>(std::move(pixels));
    return reinterpret_cast<HICON>(t.next);
}

std::shared_ptr<const IconPixels> findIcon(HICON icon) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    auto found = t.icons.find(reinterpret_cast<uintptr_t>(icon));
    return found == t.icons.end() ? nullptr : found->second;
}

bool removeIcon(HICON icon) {
    Table& t = table();
    std::lock_guard lock(t.mutex);
    return t.icons.erase(reinterpret_cast<uintptr_t>(icon)) == 1;
}

IconPixels resizedIcon(const IconPixels& pixels, int width, int height) {
    if (pixels.width == width && pixels.height == height)
        return pixels;
    IconPixels out;
    out.width = width;
    out.height = height;
    out.argb.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        int64_t sy = (2 * int64_t{y} + 1) * pixels.height / (2 * int64_t{height});
        for (int x = 0; x < width; ++x) {
            int64_t sx = (2 * int64_t{x} + 1) * pixels.width / (2 * int64_t{width});
            out.argb[static_cast<size_t>(y) * width + x] = pixels.argb[sy * pixels.width + sx];
        }
    }
    return out;
}

}  // namespace platform
