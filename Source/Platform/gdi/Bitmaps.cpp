// Creating bitmaps: device-compatible (32-bit), from bits (monochrome, 24- or 32-bit rows),
// and DIB sections whose memory the caller reads and writes directly.
#include <winbase.h>

#include <cstring>

#include "gdi/DcAccess.h"
#include "gdi/GdiLock.h"

using namespace platform;

namespace {

// Rows of device-dependent bitmap bits are padded to 16 bits, DIB rows to 32 bits.
int64_t ddbRowBytes(int width, int bitsPerPixel) {
    return (int64_t{width} * bitsPerPixel + 15) / 16 * 2;
}
int64_t dibRowBytes(int width, int bitsPerPixel) {
    return (int64_t{width} * bitsPerPixel + 31) / 32 * 4;
}

// Rows of `bitsPerPixel` bits, top row first, padded to 16 bits.
void loadBits(BitmapObject& b, int bitsPerPixel, const uint8_t* bits) {
    int w = b.surface.width();
    int64_t rowBytes = ddbRowBytes(w, bitsPerPixel);
    for (int y = 0; y < b.surface.height(); ++y) {
        const uint8_t* src = bits + y * rowBytes;
        uint32_t* dst = b.surface.row(y);
        for (int x = 0; x < w; ++x) {
            switch (bitsPerPixel) {
                case 1:
                    dst[x] = (src[x / 8] >> (7 - x % 8)) & 1u ? 0x00FFFFFFu : 0u;
                    break;
                case 24:
                    dst[x] = uint32_t{src[x * 3]} | (uint32_t{src[x * 3 + 1]} << 8) |
                             (uint32_t{src[x * 3 + 2]} << 16);
                    break;
                default:
                    std::memcpy(&dst[x], src + x * 4, 4);
                    dst[x] &= 0x00FFFFFFu;
                    break;
            }
        }
    }
}

// Pixels laid out as 0x00RRGGBB words or B, G, R bytes: BI_RGB, or 32-bit BI_BITFIELDS with
// exactly those masks. The masks sit 40 bytes in: right after a BITMAPINFOHEADER, and at the
// same place inside the longer headers.
bool isPlainLayout(const BITMAPINFO& info) {
    const BITMAPINFOHEADER& h = info.bmiHeader;
    if (h.biCompression == BI_RGB) {
        return true;
    }
    if (h.biCompression != BI_BITFIELDS || h.biBitCount != 32) {
        return false;
    }
    DWORD masks[3];
    const auto* base = reinterpret_cast<const uint8_t*>(&info);
    std::memcpy(masks, base + sizeof(BITMAPINFOHEADER), sizeof(masks));
    return masks[0] == 0x00FF0000u && masks[1] == 0x0000FF00u && masks[2] == 0x000000FFu;
}

}  // namespace

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 24 && bitsPerPixel != 32) ||
        !Surface::isValidSize(width, height)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto b = std::make_unique<BitmapObject>();
    b->surface = Surface(width, height);
    b->bitsPerPixel = bitsPerPixel == 1 ? 1 : 32;
    if (bits != nullptr) {
        loadBits(*b, static_cast<int>(bitsPerPixel), static_cast<const uint8_t*>(bits));
    }
    return addObject(std::move(b));
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
    GdiLock lock;
    if (findDC(hdc) == nullptr) {
        return nullptr;
    }
    if (width == 0 || height == 0) {
        // As on Windows: an empty request gives a 1 x 1 monochrome bitmap.
        return CreateBitmap(1, 1, 1, 1, nullptr);
    }
    if (!Surface::isValidSize(width, height)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // Every device surface is 32-bit, so a compatible bitmap is too, whatever is selected.
    auto b = std::make_unique<BitmapObject>();
    b->surface = Surface(width, height);
    return addObject(std::move(b));
}

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset) {
    GdiLock lock;
    if (bits != nullptr) {
        *bits = nullptr;
    }
    (void)offset;
    if ((hdc != nullptr && findDC(hdc) == nullptr) || info == nullptr || section != nullptr ||
        usage != DIB_RGB_COLORS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const BITMAPINFOHEADER& h = info->bmiHeader;
    int bitCount = h.biBitCount;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biPlanes != 1 ||
        (bitCount != 24 && bitCount != 32) || !isPlainLayout(*info) || h.biHeight == INT32_MIN) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    int width = h.biWidth;
    bool bottomUp = h.biHeight > 0;
    int height = bottomUp ? h.biHeight : -h.biHeight;
    if (!Surface::isValidSize(width, height)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto b = std::make_unique<BitmapObject>();
    b->isDib = true;
    b->bottomUp = bottomUp;
    b->bitsPerPixel = bitCount;
    b->dibRowBytes = static_cast<int>(dibRowBytes(width, bitCount));
    b->dibMemory.assign(static_cast<size_t>(b->dibRowBytes) * static_cast<size_t>(height), 0);
    if (bitCount == 32) {
        auto* memory = reinterpret_cast<uint32_t*>(b->dibMemory.data());
        uint32_t* top = bottomUp ? memory + static_cast<ptrdiff_t>(height - 1) * width : memory;
        b->surface = Surface::wrap(top, width, height, bottomUp ? -width : width);
    } else {
        b->surface = Surface(width, height);
    }
    void* memory = b->dibMemory.data();
    HBITMAP handle = addObject(std::move(b));
    if (handle != nullptr && bits != nullptr) {
        *bits = memory;
    }
    return handle;
}
