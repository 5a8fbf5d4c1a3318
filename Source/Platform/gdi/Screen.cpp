// The device's screen: its surface, size and dots per inch, copies and PNG screenshots for
// front ends and tests, and the screen DCs of GetDC(NULL).
#include <cstdio>
#include <system_error>

#include <device/PngEncoder.h>
#include <device/Screen.h>

#include "gdi/DcAccess.h"
#include "gdi/GdiLock.h"
#include "gdi/WindowDC.h"
#include "kernel/DeviceReset.h"

namespace platform {
namespace {

constexpr int kDefaultScreenWidth = 240;
constexpr int kDefaultScreenHeight = 320;
constexpr int kMaxScreenSide = 4096;

struct ScreenState {
    Surface surface{kDefaultScreenWidth, kDefaultScreenHeight};
    int dpi = 0;
    WindowDCHandlers handlers;
};

ScreenState& screen() {
    static auto* state = new ScreenState;
    return *state;
}

// A fresh device's screen is black, of the default size, at automatic dots per inch.
const bool resetRegistered = addResetStep(ResetStage::Device, [] {
    GdiLock lock;
    screen().surface.resize(kDefaultScreenWidth, kDefaultScreenHeight);
    screen().dpi = 0;
});

bool writePng(const std::filesystem::path& path, const device::ScreenImage& image) {
    std::vector<uint8_t> png;
    if (!device::encodePng(image.width, image.height, image.pixels, device::PngColours::Rgb, png))
        return false;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    written = std::fflush(file) == 0 && written;
    return std::fclose(file) == 0 && written;
}

}  // namespace

Surface& screenSurface() {
    return screen().surface;
}

void setWindowDCHandlers(const WindowDCHandlers& handlers) {
    GdiLock lock;
    screen().handlers = handlers;
}

}  // namespace platform

using namespace platform;

bool device::setScreenSize(int width, int height) {
    GdiLock lock;
    if (width < 1 || height < 1 || width > kMaxScreenSide || height > kMaxScreenSide) {
        return false;
    }
    return screen().surface.resize(width, height);
}

int device::screenWidth() {
    GdiLock lock;
    return screen().surface.width();
}

int device::screenHeight() {
    GdiLock lock;
    return screen().surface.height();
}

void device::setScreenDpi(int dpi) {
    GdiLock lock;
    screen().dpi = dpi > 0 ? dpi : 0;
}

int device::screenDpi() {
    GdiLock lock;
    const ScreenState& s = screen();
    if (s.dpi > 0) {
        return s.dpi;
    }
    return s.surface.width() >= 480 && s.surface.height() >= 480 ? 192 : 96;
}

device::ScreenImage device::copyScreen() {
    GdiLock lock;
    const Surface& s = screen().surface;
    ScreenImage image;
    image.width = s.width();
    image.height = s.height();
    image.pixels.resize(static_cast<size_t>(image.width) * image.height);
    for (int y = 0; y < image.height; ++y) {
        std::copy_n(s.row(y), image.width, image.pixels.begin() + ptrdiff_t{y} * image.width);
    }
    return image;
}

uint64_t device::screenVersion() {
    GdiLock lock;
    return screen().surface.version();
}

bool device::saveScreenPng(const std::filesystem::path& path) {
    ScreenImage image = copyScreen();
    if (writePng(path, image)) {
        return true;
    }
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return false;
}

HDC GetDC(HWND hwnd) {
    if (hwnd == nullptr) {
        GdiLock lock;
        // No base clip: the DC follows the screen through size changes.
        HDC dc = createSurfaceDC(screen().surface, POINT{0, 0}, Region());
        if (DeviceContext* d = findDC(dc)) {
            d->baseClip.reset();
        }
        return dc;
    }
    WindowDCHandlers handlers;
    {
        GdiLock lock;
        handlers = screen().handlers;
    }
    return handlers.getDC != nullptr ? handlers.getDC(hwnd) : nullptr;
}

int ReleaseDC(HWND hwnd, HDC hdc) {
    if (hwnd == nullptr) {
        return releaseSurfaceDC(hdc) ? 1 : 0;
    }
    WindowDCHandlers handlers;
    {
        GdiLock lock;
        handlers = screen().handlers;
    }
    return handlers.releaseDC != nullptr ? handlers.releaseDC(hwnd, hdc) : 0;
}
