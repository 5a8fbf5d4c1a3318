// The screen: GetDC(NULL) draws on it, front ends copy it, screenshots are PNG files that
// libpng reads back pixel for pixel, and GetDC of a window goes to the window manager.
#include <device/Screen.h>
#include <png.h>
#include <unistd.h>

#include <filesystem>

#include "GdiTestSupport.h"
#include "gdi/WindowDC.h"

namespace {

struct PngImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    bool ok = false;
};

PngImage readPng(const std::filesystem::path& path) {
    PngImage out;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        return out;
    }
    image.format = PNG_FORMAT_RGB;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.rgb.resize(PNG_IMAGE_SIZE(image));
    out.ok = png_image_finish_read(&image, nullptr, out.rgb.data(), 0, nullptr) != 0;
    return out;
}

std::filesystem::path temporaryFile(const char* name) {
    return std::filesystem::temp_directory_path() /
           (std::string("kelvo-gdi-") + std::to_string(getpid()) + "-" + name);
}

TEST(Screen, PngScreenshotReadsBackWithTheRightPixels) {
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    RECT all{0, 0, 240, 320};
    FillRect(screen, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT corner{0, 0, 10, 5};
    FillRect(screen, &corner, red);
    SetPixel(screen, 239, 319, RGB(1, 2, 3));
    SetPixel(screen, 100, 200, RGB(10, 200, 30));
    ReleaseDC(nullptr, screen);
    DeleteObject(red);

    std::filesystem::path file = temporaryFile("shot.png");
    ASSERT_TRUE(device::saveScreenPng(file));
    PngImage png = readPng(file);
    std::filesystem::remove(file);
    ASSERT_TRUE(png.ok);
    ASSERT_EQ(png.width, 240);
    ASSERT_EQ(png.height, 320);
    auto rgbAt = [&](int x, int y) {
        const uint8_t* p = &png.rgb[(static_cast<size_t>(y) * png.width + x) * 3];
        return RGB(p[0], p[1], p[2]);
    };
    EXPECT_EQ(rgbAt(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(rgbAt(9, 4), RGB(255, 0, 0));
    EXPECT_EQ(rgbAt(10, 4), RGB(255, 255, 255));
    EXPECT_EQ(rgbAt(239, 319), RGB(1, 2, 3));
    EXPECT_EQ(rgbAt(100, 200), RGB(10, 200, 30));

    // A file that cannot be written is reported.
    EXPECT_FALSE(device::saveScreenPng("/nonexistent-folder/shot.png"));
}

TEST(Screen, CopiesAndVersionsFollowDrawingAndResizing) {
    uint64_t before = device::screenVersion();
    HDC screen = GetDC(nullptr);
    SetPixel(screen, 3, 4, RGB(0x11, 0x22, 0x33));
    EXPECT_GT(device::screenVersion(), before);
    device::ScreenImage copy = device::copyScreen();
    ASSERT_EQ(copy.width, 240);
    ASSERT_EQ(copy.pixels.size(), 240u * 320u);
    EXPECT_EQ(copy.pixels[4 * 240 + 3], 0x00112233u);

    // After a rotation the screen DC covers the new size, and the screen starts black.
    ASSERT_TRUE(device::setScreenSize(320, 240));
    EXPECT_EQ(GetPixel(screen, 3, 4), RGB(0, 0, 0));
    EXPECT_NE(SetPixel(screen, 300, 10, RGB(9, 9, 9)), CLR_INVALID);
    EXPECT_EQ(SetPixel(screen, 10, 300, RGB(9, 9, 9)), CLR_INVALID);
    RECT box{};
    GetClipBox(screen, &box);
    EXPECT_EQ(box.right, 320);
    EXPECT_EQ(box.bottom, 240);
    ReleaseDC(nullptr, screen);
}

HDC g_windowDC = nullptr;
HWND g_askedFor = nullptr;

TEST(Screen, WindowDCsComeFromTheWindowManagersHandlers) {
    auto window = reinterpret_cast<HWND>(0x1000);
    EXPECT_EQ(GetDC(window), nullptr);
    EXPECT_EQ(ReleaseDC(window, nullptr), 0);
    platform::WindowDCHandlers handlers;
    handlers.getDC = [](HWND hwnd) {
        g_askedFor = hwnd;
        g_windowDC = platform::createSurfaceDC(platform::screenSurface(), POINT{10, 20},
                                               platform::Region(RECT{10, 20, 50, 60}));
        return g_windowDC;
    };
    handlers.releaseDC = [](HWND, HDC dc) { return platform::releaseSurfaceDC(dc) ? 1 : 0; };
    platform::setWindowDCHandlers(handlers);
    HDC dc = GetDC(window);
    EXPECT_EQ(g_askedFor, window);
    ASSERT_EQ(dc, g_windowDC);
    SetPixel(dc, 0, 0, RGB(7, 7, 7));
    EXPECT_EQ(device::copyScreen().pixels[20 * 240 + 10], 0x00070707u);
    EXPECT_TRUE(platform::setDCOrigin(dc, POINT{11, 21}));
    SetPixel(dc, 0, 0, RGB(8, 8, 8));
    EXPECT_EQ(device::copyScreen().pixels[21 * 240 + 11], 0x00080808u);
    EXPECT_EQ(ReleaseDC(window, dc), 1);
    EXPECT_FALSE(DeleteDC(dc));
}

}  // namespace
