// Key faces are rounded rectangles one pixel (two on large panels) inside the key's
// rectangle, so that neighbouring keys are parted by a line of the background and the panel's
// pushed look (the key's piece moved a pixel right and down) shows. Labels start at about
// 60% of the row's height and shrink until their ink, measured by drawing it, keeps a clear
// pixel inside the face's edge; the ink, not the advance, is centred.
#include "LayoutPicture.h"

#include <device/PngEncoder.h>

#include <algorithm>
#include <map>
#include <memory>
#include <unordered_set>

#include "Canvas.h"
#include "farsiedit/CBidiPara.h"
#include "farsiedit/TextInk.h"
#include "skin/SkinLayout.h"

namespace {

constexpr BYTE kDefaultCharset = 1;
constexpr int kSmallestLabel = 7;
constexpr int kLargestWord = 13;
constexpr int kLargestSymbol = 18;
constexpr size_t kPaletteColours = 256;

struct FontDeleter {
    void operator()(HFONT font) const { DeleteObject(font); }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

// Labels are bold; shaped Arabic-script words need presentation forms, which only the regular
// weight of the sans face has.
enum class Weight { Bold, Regular };

class FontCache {
public:
    HFONT get(int height, Weight weight) {
        const int key = weight == Weight::Bold ? height : -height;
        auto found = m_fonts.find(key);
        if (found != m_fonts.end())
            return found->second.get();
        HFONT font = CreateFontW(-height, 0, 0, 0, weight == Weight::Bold ? FW_BOLD : 400, 0, 0, 0,
                                 kDefaultCharset, 0, 0, ANTIALIASED_QUALITY, 0, u"Tahoma");
        m_fonts.emplace(key, FontHandle(font));
        return font;
    }

private:
    std::map<int, FontHandle> m_fonts;
};

bool isArabicLetter(char16_t ch) {
    return (ch >= 0x0621 && ch <= 0x064A) || (ch >= 0x066E && ch <= 0x06D3);
}

bool isPresentationForm(char16_t ch) {
    return (ch >= 0xFB50 && ch <= 0xFDFF) || (ch >= 0xFE70 && ch <= 0xFEFF);
}

// Text is drawn as given, so a label of several Arabic-script characters is put into display
// order and shaped first, as the panel does with macro names.
std::u16string visualLabel(HDC dc, const std::u16string& label, Weight& weight) {
    weight = Weight::Bold;
    bool arabic = false;
    for (char16_t ch : label)
        arabic = arabic || isArabicLetter(ch);
    if (!arabic || label.size() < 2)
        return label;
    CBidiPara para;
    para.SetText(label.c_str());
    para.Layout();
    para.Wrap(dc, -1);
    std::u16string shown = para.LineGlyphs(0);
    for (char16_t ch : shown) {
        if (isPresentationForm(ch))
            weight = Weight::Regular;
    }
    return shown;
}

// A label's font and the box its ink fills, relative to the point the text is drawn at.
struct FittedText {
    HFONT font = nullptr;
    RECT ink{0, 0, 0, 0};
    int cellHeight = 0;
};

// The largest font from `start` down whose ink fits within maxWidth by maxHeight; the smallest
// size when none does (its ink is then cut at the face's edge, which kvskin check reports).
FittedText fitText(HDC dc, FontCache& fonts, const std::u16string& text, int start, int maxWidth,
                   int maxHeight, Weight weight = Weight::Bold) {
    FittedText fitted;
    for (int height = std::max(start, kSmallestLabel); height >= kSmallestLabel; --height) {
        fitted.font = fonts.get(height, weight);
        HGDIOBJ previous = SelectObject(dc, fitted.font);
        fitted.ink = TextInkBounds(dc, text.c_str(), static_cast<int>(text.size()));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        fitted.cellHeight = metrics.tmHeight;
        SelectObject(dc, previous);
        if (fitted.ink.right - fitted.ink.left <= maxWidth &&
            fitted.ink.bottom - fitted.ink.top <= maxHeight)
            break;
    }
    return fitted;
}

enum class Placement { Centred, TopRight };

// Draws fitted text so that its ink lies in `area`: centred across it and with its line
// centred down it, or in its top-right corner. Ink that cannot fit is clipped to `clip`.
void drawFitted(HDC dc, const FittedText& fitted, COLORREF colour, const std::u16string& text,
                const RECT& area, const RECT& clip, Placement placement) {
    if (text.empty() || fitted.font == nullptr || fitted.ink.left >= fitted.ink.right)
        return;
    int x = 0;
    int y = 0;
    if (placement == Placement::TopRight) {
        x = area.right - fitted.ink.right;
        y = area.top - fitted.ink.top;
    } else {
        x = area.left + (area.right - area.left - (fitted.ink.right - fitted.ink.left)) / 2 -
            fitted.ink.left;
        // The line's cell is centred, as for every label of the row, unless that would take
        // the ink out of the area.
        y = area.top + (area.bottom - area.top - fitted.cellHeight) / 2;
        y = std::min<int>(y, area.bottom - fitted.ink.bottom);
        y = std::max<int>(y, area.top - fitted.ink.top);
    }
    HGDIOBJ previous = SelectObject(dc, fitted.font);
    SetTextColor(dc, colour);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    ExtTextOutW(dc, x, y, ETO_CLIPPED, &clip, text.c_str(), static_cast<UINT>(text.size()),
                nullptr);
    SelectObject(dc, previous);
}

struct Colours {
    COLORREF face;
    COLORREF label;
};

Colours coloursOf(KeyStyle style, const Theme& theme) {
    switch (style) {
        case KeyStyle::Char:
        case KeyStyle::Blank:
            return {theme.key, theme.label};
        case KeyStyle::Accent:
            return {theme.accentKey, theme.accentLabel};
        case KeyStyle::Display:
            return {theme.display, theme.label};
        default:
            return {theme.functionKey, theme.functionLabel};
    }
}

// Keeps `bits` bits of each channel, the rest filled from the top so white stays white.
uint32_t reduce(uint32_t pixel, int bits) {
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        uint32_t channel = (pixel >> shift) & 0xFF;
        uint32_t kept = channel >> (8 - bits);
        uint32_t spread = kept << (8 - bits);
        for (int filled = bits; filled < 8; filled += bits)
            spread |= kept << (8 - bits) >> filled;
        out |= (spread & 0xFF) << shift;
    }
    return out;
}

size_t colourCount(const std::vector<uint32_t>& pixels, size_t limit) {
    std::unordered_set<uint32_t> seen;
    for (uint32_t pixel : pixels) {
        seen.insert(pixel);
        if (seen.size() > limit)
            break;
    }
    return seen.size();
}

}  // namespace

std::vector<uint32_t> drawLayoutPicture(const CompiledLayout& layout, const Theme& theme) {
    const int width = layout.entry.width;
    const int height = layout.entry.height;
    Canvas canvas(width, height);
    if (!canvas.valid())
        return {};
    HDC dc = canvas.dc();
    const int scale = width > 400 ? 2 : 1;
    {
        HBRUSH background = CreateSolidBrush(theme.background);
        RECT all{0, 0, width, height};
        FillRect(dc, &all, background);
        DeleteObject(background);
    }
    SetBkMode(dc, TRANSPARENT);
    FontCache fonts;
    SelectedObject edgePen(dc, CreatePen(PS_SOLID, 1, theme.keyEdge));
    for (size_t r = 0; r < layout.entry.rows.size(); ++r) {
        for (size_t k = 0; k < layout.entry.rows[r].size(); ++k) {
            const SkinKeyEntry& key = layout.entry.rows[r][k];
            const KeyLook& look = layout.looks[r][k];
            if (look.style == KeyStyle::None)
                continue;
            RECT face{key.rect.left + scale, key.rect.top + scale, key.rect.right - scale,
                      key.rect.bottom - scale};
            if (face.right - face.left < 2 || face.bottom - face.top < 2)
                face = key.rect;
            const Colours colours = coloursOf(look.style, theme);
            {
                SelectedObject brush(dc, CreateSolidBrush(colours.face));
                const int radius = 4 * scale;
                RoundRect(dc, face.left, face.top, face.right, face.bottom, radius, radius);
            }
            if (look.style == KeyStyle::Display || look.style == KeyStyle::Blank)
                continue;
            const int faceWidth = face.right - face.left;
            const int faceHeight = face.bottom - face.top;
            // Ink keeps one clear pixel (two on large panels) inside the face's edge line.
            RECT inner = face;
            InflateRect(&inner, -(1 + scale), -(1 + scale));
            const bool withHint = !look.hint.empty() && faceHeight >= 28;
            // Words stay at a reading size on tall keys; single symbols may grow larger.
            const int largest = (look.label.size() > 1 ? kLargestWord : kLargestSymbol) * scale;
            const int share = withHint ? 52 : look.label.size() == 1 ? 74 : 64;
            const int start = std::clamp(faceHeight * share / 100, kSmallestLabel,
                                         std::max(kSmallestLabel, largest));
            Weight weight = Weight::Bold;
            const std::u16string label = visualLabel(dc, look.label, weight);
            RECT labelArea = inner;
            if (withHint)
                labelArea.top += faceHeight / 6;
            const FittedText fitted =
                fitText(dc, fonts, label, start, labelArea.right - labelArea.left,
                        labelArea.bottom - labelArea.top, weight);
            drawFitted(dc, fitted, colours.label, label, labelArea, face, Placement::Centred);
            if (withHint) {
                const FittedText small =
                    fitText(dc, fonts, look.hint, std::max(kSmallestLabel, faceHeight * 30 / 100),
                            faceWidth / 2, faceHeight / 2);
                drawFitted(dc, small, theme.hint, look.hint, inner, face, Placement::TopRight);
            }
        }
    }
    return canvas.pixels();
}

bool encodeSkinPicture(int width, int height, std::vector<uint32_t> pixels,
                       std::vector<BYTE>& png) {
    for (int bits = 7; colourCount(pixels, kPaletteColours) > kPaletteColours && bits >= 2;
         --bits) {
        for (uint32_t& pixel : pixels)
            pixel = reduce(pixel, bits);
    }
    std::vector<uint8_t> encoded;
    if (!device::encodePng(width, height, pixels, device::PngColours::Palette, encoded))
        return false;
    png.assign(encoded.begin(), encoded.end());
    return true;
}
