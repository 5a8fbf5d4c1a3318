// The one lock of the graphics device interface. Every GDI call holds it, so device processes
// may draw from their own threads; the window manager holds it while it touches surfaces
// that device contexts draw on.
#pragma once

#include <mutex>

namespace platform {

std::recursive_mutex& gdiMutex();

class GdiLock {
public:
    GdiLock() : lock_(gdiMutex()) {}

private:
    std::lock_guard<std::recursive_mutex> lock_;
};

}  // namespace platform
