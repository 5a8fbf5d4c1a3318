// The text is drawn black on white into a scratch DIB section with a margin of a line's height
// all round, and the box of the non-white pixels is read straight from its bits.
#include "farsiedit/TextInk.h"

#include <algorithm>
#include <cstdint>

namespace {

// A channel below this is ink: about 4% coverage of black on white.
constexpr uint32_t kInkBelow = 245;
// The scratch picture's longest side; longer strings are measured only that far.
constexpr int kLargestScratch = 4096;

}  // namespace

RECT TextInkBounds(HDC dc, const WCHAR* text, int count) {
    RECT box{0, 0, 0, 0};
    TEXTMETRICW metrics{};
    SIZE extent{};
    if (text == nullptr || count <= 0 || !GetTextMetricsW(dc, &metrics) || metrics.tmHeight <= 0 ||
        !GetTextExtentPoint32W(dc, text, count, &extent)) {
        return box;
    }
    const int margin = std::min<int>(metrics.tmHeight, kLargestScratch / 4);
    const int width = std::min<int>(extent.cx + 2 * margin, kLargestScratch);
    const int height = std::min<int>(metrics.tmHeight + 2 * margin, kLargestScratch);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC probe = CreateCompatibleDC(dc);
    void* bits = nullptr;
    HBITMAP bitmap = probe != nullptr
                         ? CreateDIBSection(probe, &info, DIB_RGB_COLORS, &bits, nullptr, 0)
                         : nullptr;
    if (bitmap != nullptr && bits != nullptr) {
        HGDIOBJ oldBitmap = SelectObject(probe, bitmap);
        HGDIOBJ oldFont = SelectObject(probe, GetCurrentObject(dc, OBJ_FONT));
        PatBlt(probe, 0, 0, width, height, WHITENESS);
        SetTextColor(probe, RGB(0, 0, 0));
        SetBkMode(probe, TRANSPARENT);
        SetTextAlign(probe, TA_LEFT | TA_TOP);
        ExtTextOutW(probe, margin, margin, 0, nullptr, text, static_cast<UINT>(count), nullptr);
        const uint32_t* pixels = static_cast<const uint32_t*>(bits);
        RECT ink{width, height, 0, 0};
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
                if (std::min({p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF}) < kInkBelow) {
                    ink.left = std::min<LONG>(ink.left, x);
                    ink.top = std::min<LONG>(ink.top, y);
                    ink.right = std::max<LONG>(ink.right, x + 1);
                    ink.bottom = std::max<LONG>(ink.bottom, y + 1);
                }
            }
        }
        if (ink.left < ink.right) {
            box =
                RECT{ink.left - margin, ink.top - margin, ink.right - margin, ink.bottom - margin};
        }
        SelectObject(probe, oldFont);
        SelectObject(probe, oldBitmap);
    }
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
    if (probe != nullptr) {
        DeleteDC(probe);
    }
    return box;
}
