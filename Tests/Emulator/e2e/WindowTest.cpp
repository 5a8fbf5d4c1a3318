// kvemu in its SDL window on a private Xvfb server: the window shows the device's screen
// scaled by two, pixel for pixel as a headless screenshot of the same device state, and a
// SIGTERM closes it cleanly. The window's picture is kept in the build folder for looking at.
#include <gmock/gmock.h>
#include <png.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>

#include "KvemuRun.h"
#include "ScreenPicture.h"

namespace {

uint32_t bigEndian(const std::string& bytes, size_t offset) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

// The 32-bit frame buffer file Xvfb keeps with -fbdir (X window dump format).
bool readFrameBuffer(const std::string& bytes, Picture& picture) {
    if (bytes.size() < 100)
        return false;
    const uint32_t headerSize = bigEndian(bytes, 0);
    const uint32_t width = bigEndian(bytes, 16), height = bigEndian(bytes, 20);
    const uint32_t byteOrder = bigEndian(bytes, 28), bitsPerPixel = bigEndian(bytes, 44);
    const uint32_t bytesPerLine = bigEndian(bytes, 48), colours = bigEndian(bytes, 76);
    const uint64_t start = uint64_t{headerSize} + uint64_t{colours} * 12;
    if (bitsPerPixel != 32 || width > 4096 || height > 4096 || bytesPerLine < width * 4 ||
        start + uint64_t{bytesPerLine} * height > bytes.size())
        return false;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.pixels.resize(size_t{width} * height);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const size_t p = start + size_t{y} * bytesPerLine + size_t{x} * 4;
            uint32_t v = 0;
            for (int i = 0; i < 4; ++i) {
                const auto byte = static_cast<unsigned char>(bytes[p + static_cast<size_t>(i)]);
                v |= uint32_t{byte} << (byteOrder == 0 ? 8 * i : 8 * (3 - i));
            }
            picture.pixels[size_t{y} * width + x] = v & 0xFFFFFF;
        }
    }
    return true;
}

void writePng(const std::filesystem::path& path, Picture picture) {
    std::filesystem::create_directories(path.parent_path());
    for (auto& p : picture.pixels)
        p |= 0xFF000000u;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_BGRA;
    png_image_write_to_file(&image, path.c_str(), 0, picture.pixels.data(), 0, nullptr);
}

using Window = KvemuTest;

TEST_F(Window, ShowsTheDeviceScreenScaledByTwoAndClosesOnTerminate) {
    if (std::system("command -v xvfb-run > /dev/null") != 0)
        GTEST_SKIP() << "xvfb-run is not installed (Debian package xvfb)";
    // The headless picture of a fresh device: Notes in front, the keyboard below.
    ASSERT_EQ(run("shot " + file("device.png").string() + "\n").status, 0);
    Picture device;
    ASSERT_TRUE(readPng(file("device.png"), device));

    // The window on a private server; its frame buffer is copied once the device shows.
    std::filesystem::create_directories(file("fb"));
    std::ofstream(file("inner.sh"))
        << "\"$1\" --device \"$2\" > \"$3/kvemu.out\" 2>&1 &\n"
           "p=$!\nsleep 6\ncp \"$3/fb/Xvfb_screen0\" \"$3/window.xwd\"\n"
           "kill -TERM $p\nwait $p\necho $? > \"$3/status\"\n";
    const std::string command =
        "SDL_AUDIODRIVER=dummy xvfb-run -a -s '-screen 0 640x760x24 -fbdir " + file("fb").string() +
        " -nolisten tcp' sh '" + file("inner.sh").string() + "' '" + KVEMU_PATH + "' '" +
        file("window-device").string() + "' '" + m_folder.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(slurp(file("status")), "0\n") << slurp(file("kvemu.out"));
    Picture screen;
    ASSERT_TRUE(readFrameBuffer(slurp(file("window.xwd")), screen));
    writePng(shot("kvemu-window-xvfb.png"), screen);

    // The device's top left corner: the first pixel of the title bar's colour.
    const uint32_t bar = device.at(0, 0);
    int left = -1, top = -1;
    for (int y = 0; y < screen.height && top < 0; ++y) {
        for (int x = 0; x < screen.width; ++x) {
            if (screen.at(x, y) == bar) {
                left = x;
                top = y;
                break;
            }
        }
    }
    ASSERT_GE(left, 0) << "no title bar on the screen";
    ASSERT_LE(left + 2 * device.width, screen.width);
    ASSERT_LE(top + 2 * device.height, screen.height);
    // The lower part of the screen (the keyboard and the menu bar; above it the title bar's
    // clock may have moved on and Notes' caret may blink): every device pixel is a 2 x 2 block.
    int different = 0;
    for (int y = 200; y < device.height; ++y) {
        for (int x = 0; x < device.width; ++x) {
            for (int dy = 0; dy < 2; ++dy) {
                for (int dx = 0; dx < 2; ++dx) {
                    if (screen.at(left + 2 * x + dx, top + 2 * y + dy) != device.at(x, y))
                        ++different;
                }
            }
        }
    }
    EXPECT_EQ(different, 0);
}

}  // namespace
