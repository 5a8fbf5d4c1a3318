// Fuzzes bitmap creation from caller-supplied headers and bits (as bitmap resources and
// decoders pass them): a BITMAPINFOHEADER, then CreateBitmap's arguments and bits, each
// drawn and blitted with the rest of the input choosing coordinates.
#include <wingdi.h>

#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A header with room for the three colour masks that BI_BITFIELDS headers carry.
    struct {
        BITMAPINFOHEADER header;
        DWORD masks[3];
    } info{};
    if (size < sizeof(info) + 12) {
        return 0;
    }
    std::memcpy(&info, data, sizeof(info));
    data += sizeof(info);
    size -= sizeof(info);
    int16_t coords[6];
    std::memcpy(coords, data, sizeof(coords));
    data += sizeof(coords);
    size -= sizeof(coords);

    HDC dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                                   nullptr, 0);
    if (dib != nullptr) {
        BITMAP bm{};
        GetObjectW(dib, sizeof(bm), &bm);
        size_t bytes = static_cast<size_t>(bm.bmWidthBytes) * static_cast<size_t>(bm.bmHeight);
        std::memcpy(bits, data, std::min(bytes, size));
        HGDIOBJ old = SelectObject(dc, dib);
        HDC other = CreateCompatibleDC(dc);
        HBITMAP target = CreateCompatibleBitmap(dc, 16, 16);
        HGDIOBJ oldTarget = SelectObject(other, target);
        BitBlt(other, coords[0], coords[1], coords[2], coords[3], dc, coords[4], coords[5],
               SRCCOPY);
        StretchBlt(dc, coords[5], coords[4], coords[3], coords[2], other, coords[1], coords[0],
                   coords[2], coords[3], SRCINVERT);
        Ellipse(dc, coords[0], coords[1], coords[2], coords[3]);
        MoveToEx(dc, coords[0], coords[1], nullptr);
        LineTo(dc, coords[4], coords[5]);
        SelectObject(other, oldTarget);
        DeleteObject(target);
        DeleteDC(other);
        SelectObject(dc, old);
        DeleteObject(dib);
    }
    // The same bytes as CreateBitmap's arguments and bits.
    if (size >= 4) {
        int width = data[0] % 40;
        int height = data[1] % 40;
        UINT bpp = data[2] % 2 ? 32 : (data[2] % 4 == 0 ? 1 : 24);
        int64_t rowBytes = (int64_t{width} * bpp + 15) / 16 * 2;
        if (static_cast<size_t>(rowBytes * height) <= size - 4) {
            HBITMAP b = CreateBitmap(width, height, 1, bpp, data + 4);
            DeleteObject(b);
        }
    }
    DeleteDC(dc);
    return 0;
}
