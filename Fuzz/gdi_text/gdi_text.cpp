// Fuzzes text layout and drawing with pasted-text-like input: the first eight bytes choose
// the DrawTextW format, ExtTextOutW options, alignment and rectangle; the rest is UTF-16 text.
#include <wingdi.h>

#include <cstring>
#include <vector>

namespace {

struct Canvas {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 64, 32);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HFONT font = nullptr;
    Canvas() {
        LOGFONTW f{};
        f.lfHeight = -11;
        const char16_t face[] = u"Tahoma";
        std::memcpy(f.lfFaceName, face, sizeof(face));
        font = CreateFontIndirectW(&f);
        SelectObject(dc, font);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Canvas canvas;
    if (size < 8) {
        return 0;
    }
    uint32_t format;
    std::memcpy(&format, data, 4);
    UINT options = data[4];
    UINT align = data[5];
    int width = static_cast<int8_t>(data[6]) * 4;
    int height = static_cast<int8_t>(data[7]) * 2;
    std::vector<char16_t> text((size - 8) / 2);
    if (!text.empty()) {
        std::memcpy(text.data(), data + 8, text.size() * 2);
    }
    int count = static_cast<int>(text.size());
    RECT rect{-3, -2, width, height};
    SetTextAlign(canvas.dc, align);
    SetBkMode(canvas.dc, (options & 1) ? OPAQUE : TRANSPARENT);
    DrawTextW(canvas.dc, text.data(), count, &rect, format & ~static_cast<uint32_t>(DT_CALCRECT));
    RECT measured = rect;
    DrawTextW(canvas.dc, text.data(), count, &measured, format | DT_CALCRECT);
    ExtTextOutW(canvas.dc, width, height, options, &rect, text.data(), static_cast<UINT>(count),
                nullptr);
    std::vector<int> partial(text.size() + 1);
    int fit = 0;
    SIZE extent{};
    GetTextExtentExPointW(canvas.dc, text.data(), count, width, &fit, partial.data(), &extent);
    return 0;
}
