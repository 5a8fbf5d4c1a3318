// The picture is decoded into the layout's bitmap exactly as the panel would, copied onto a
// canvas, optionally marked with the key table, and written as an RGB PNG.
#include "RenderCommand.h"

#include <device/PngEncoder.h>

#include <fstream>
#include <string>

#include "Canvas.h"

namespace {

constexpr COLORREF kOutline = 0x000000FF;  // red
constexpr COLORREF kNumber = 0x0000D0FF;   // amber
constexpr BYTE kDefaultCharset = 1;

void drawOutlines(HDC dc, const SkinLayout& layout) {
    HPEN pen = CreatePen(PS_SOLID, 1, kOutline);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    HFONT font = CreateFontW(-9, 0, 0, 0, 400, 0, 0, 0, kDefaultCharset, 0, 0,
                             NONANTIALIASED_QUALITY, 0, u"Tahoma");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kNumber);
    for (int r = 0; r < layout.rowCount; ++r) {
        for (int k = 0; k < layout.rowKeyCount[r]; ++k) {
            const RECT& rect = layout.keys[r][k].rect;
            Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
            std::string number = std::to_string(r) + "," + std::to_string(k);
            std::u16string text(number.begin(), number.end());
            RECT inside{rect.left + 2, rect.top + 1, rect.right - 1, rect.bottom - 1};
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &inside,
                      DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        }
    }
    SelectObject(dc, oldFont);
    DeleteObject(font);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

bool writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

}  // namespace

int renderCommand(const std::filesystem::path& skinFile, ScreenSize screen, int n,
                  const std::filesystem::path& outFile, KeyOutlines outlines, FILE* err) {
    LoadedLayout loaded;
    std::string className;
    const std::vector<SkinProblem> problems =
        loadHostLayout(skinFile, screen, n, loaded, className);
    if (!problems.empty()) {
        for (const SkinProblem& problem : problems)
            std::fprintf(err, "%s\n", problemLine(skinFile, problem).c_str());
        return 1;
    }
    DecodeContext context;
    const std::optional<SIZE> size = decodeLayoutPicture(loaded, context.dc());
    if (!size) {
        std::fprintf(
            err, "%s\n",
            problemLine(skinFile, SkinProblem{className, n, -1, -1, pictureProblem(loaded)})
                .c_str());
        return 1;
    }
    const SkinLayout& layout = *loaded.layout;
    Canvas canvas(size->cx, size->cy);
    if (!canvas.valid()) {
        std::fprintf(err, "kvskin: no room to render %s layout %d\n", className.c_str(), n);
        return 1;
    }
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(source, layout.bitmap);
    BitBlt(canvas.dc(), 0, 0, size->cx, size->cy, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    if (outlines == KeyOutlines::Shown)
        drawOutlines(canvas.dc(), layout);
    std::vector<uint8_t> png;
    if (!device::encodePng(canvas.width(), canvas.height(), canvas.pixels(),
                           device::PngColours::Rgb, png) ||
        !writeFile(outFile, png)) {
        std::fprintf(err, "kvskin: cannot write %s\n", outFile.c_str());
        return 1;
    }
    return 0;
}
