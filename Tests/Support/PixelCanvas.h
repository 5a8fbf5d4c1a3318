// A memory device context over a 32-bit top-down DIB section, for tests that draw and then
// read back the pixels they expect (0x00RRGGBB); and the size of an icon.
#pragma once

#include <gtest/gtest.h>
#include <wingdi.h>
#include <winicon.h>

#include <cstdint>

namespace testsupport {

class PixelCanvas {
public:
    PixelCanvas(int width, int height, uint32_t fill) : width_(width), height_(height) {
        dc_ = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        EXPECT_NE(bitmap_, nullptr);
        bits_ = static_cast<uint32_t*>(bits);
        previous_ = SelectObject(dc_, bitmap_);
        for (int i = 0; i < width * height; ++i)
            bits_[i] = fill;
    }
    ~PixelCanvas() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;

    HDC dc() const { return dc_; }
    uint32_t at(int x, int y) const { return bits_[y * width_ + x] & 0x00FFFFFFu; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    uint32_t* bits_ = nullptr;
};

// The size of an icon's image.
inline SIZE iconSize(HICON icon) {
    ICONINFO info{};
    EXPECT_TRUE(GetIconInfo(icon, &info));
    BITMAP bm{};
    GetObjectW(info.hbmColor, sizeof bm, &bm);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return SIZE{bm.bmWidth, bm.bmHeight};
}

}  // namespace testsupport
