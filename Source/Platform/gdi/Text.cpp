// Fonts and text: creating fonts, metrics and extents, and ExtTextOutW/TextOutW with the
// DC's alignment, background mode and colours. Glyphs are anti-aliased coverage blended in
// the text colour.
#include <algorithm>
#include <cstring>

#include "gdi/GdiLock.h"
#include "gdi/TextRender.h"

namespace platform {
namespace {

// Text longer than this is refused: no device string comes near it.
constexpr int kMaxTextLength = 1 << 20;

inline uint32_t blendCoverage(uint32_t dst, uint32_t color, uint32_t a) {
    if (a == 255) {
        return color;
    }
    uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        uint32_t c = (color >> shift) & 0xFFu;
        uint32_t d = (dst >> shift) & 0xFFu;
        result |= ((c * a + d * (255 - a) + 127) / 255) << shift;
    }
    return result;
}

void blendGlyph(DrawTarget& target, const Glyph& g, int64_t x, int64_t y, uint32_t color,
                const RECT& limit) {
    if (g.width == 0 || g.height == 0) {
        return;
    }
    RECT box{clampCoordinate(x), clampCoordinate(y), clampCoordinate(x + g.width),
             clampCoordinate(y + g.height)};
    box = intersectRects(box, limit);
    target.forEachSpan(box, [&](uint32_t* p, int px, int py, int n) {
        const uint8_t* cov = g.coverage.data() + (py - y) * g.width + (px - x);
        for (int i = 0; i < n; ++i) {
            if (cov[i] != 0) {
                p[i] = blendCoverage(p[i], color, cov[i]);
            }
        }
    });
}

void fillSurfaceRect(DrawTarget& target, const RECT& r, uint32_t color) {
    target.forEachSpan(r, [&](uint32_t* p, int, int, int n) { std::fill_n(p, n, color); });
}

bool validText(const char16_t* text, int64_t count) {
    return count >= 0 && count <= kMaxTextLength && (count == 0 || text != nullptr);
}

}  // namespace

FontFace* dcFace(DeviceContext& dc) {
    FontObject* font = findFont(dc.font);
    return font != nullptr ? font->face.get() : nullptr;
}

void textAdvances(FontFace& face, const char16_t* text, int count, std::vector<int>& out) {
    out.resize(static_cast<size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i) {
        out[i] = face.advance(text[i]);
    }
}

int64_t textWidth(FontFace& face, const char16_t* text, int count) {
    int64_t width = 0;
    for (int i = 0; i < count; ++i) {
        width += face.advance(text[i]);
    }
    return width;
}

RECT unlimited() {
    return RECT{static_cast<LONG>(-kCoordinateLimit), static_cast<LONG>(-kCoordinateLimit),
                static_cast<LONG>(kCoordinateLimit), static_cast<LONG>(kCoordinateLimit)};
}

void drawTextRun(DrawTarget& target, FontFace& face, const LOGFONTW& font, const TextRun& run,
                 uint32_t color, const RECT& limit) {
    int64_t pen = run.penX;
    for (int i = 0; i < run.count; ++i) {
        const Glyph& g = face.glyph(run.text[i]);
        blendGlyph(target, g, pen + g.left, run.baselineY - g.top, color, limit);
        pen += run.advances[i];
    }
    const FontMetrics& m = face.metrics();
    auto line = [&](int64_t top) {
        RECT r{clampCoordinate(std::min(run.penX, pen)), clampCoordinate(top),
               clampCoordinate(std::max(run.penX, pen)), clampCoordinate(top + m.lineThickness)};
        fillSurfaceRect(target, intersectRects(r, limit), color);
    };
    if (font.lfUnderline) {
        line(run.baselineY + m.underlinePosition);
    }
    if (font.lfStrikeOut) {
        line(run.baselineY - m.strikeoutPosition);
    }
}

}  // namespace platform

using namespace platform;

HFONT CreateFontIndirectW(const LOGFONTW* font) {
    if (font == nullptr) {
        return nullptr;
    }
    std::unique_ptr<FontObject> object = createFontObject(*font);
    return object ? addObject(std::move(object)) : nullptr;
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCWSTR faceName) {
    LOGFONTW f{};
    f.lfHeight = height;
    f.lfWidth = width;
    f.lfEscapement = escapement;
    f.lfOrientation = orientation;
    f.lfWeight = weight;
    f.lfItalic = static_cast<BYTE>(italic != 0);
    f.lfUnderline = static_cast<BYTE>(underline != 0);
    f.lfStrikeOut = static_cast<BYTE>(strikeOut != 0);
    f.lfCharSet = static_cast<BYTE>(charSet);
    f.lfOutPrecision = static_cast<BYTE>(outPrecision);
    f.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    f.lfQuality = static_cast<BYTE>(quality);
    f.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
    for (int i = 0; faceName != nullptr && i < LF_FACESIZE - 1 && faceName[i] != 0; ++i) {
        f.lfFaceName[i] = faceName[i];
    }
    return CreateFontIndirectW(&f);
}

BOOL GetTextMetricsW(HDC hdc, LPTEXTMETRICW metrics) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    FontObject* font = dc != nullptr ? findFont(dc->font) : nullptr;
    if (font == nullptr || metrics == nullptr) {
        return FALSE;
    }
    const FontMetrics& m = font->face->metrics();
    const LOGFONTW& lf = font->logFont;
    TEXTMETRICW tm{};
    tm.tmHeight = m.height();
    tm.tmAscent = m.ascent;
    tm.tmDescent = m.descent;
    tm.tmInternalLeading = m.internalLeading;
    tm.tmExternalLeading = m.externalLeading;
    tm.tmAveCharWidth = m.aveCharWidth;
    tm.tmMaxCharWidth = m.maxCharWidth;
    tm.tmWeight = lf.lfWeight != 0 ? lf.lfWeight : FW_NORMAL;
    tm.tmDigitizedAspectX = 96;
    tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 0x0020;
    tm.tmLastChar = 0xFFFC;
    tm.tmDefaultChar = 0x001F;
    tm.tmBreakChar = 0x0020;
    tm.tmItalic = lf.lfItalic ? 1 : 0;
    tm.tmUnderlined = lf.lfUnderline ? 1 : 0;
    tm.tmStruckOut = lf.lfStrikeOut ? 1 : 0;
    // The pitch bit set means a variable-pitch font, as on Windows.
    tm.tmPitchAndFamily = static_cast<BYTE>(TMPF_TRUETYPE | (m.fixedPitch ? 0 : TMPF_FIXED_PITCH) |
                                            (m.fixedPitch ? FF_MODERN : FF_SWISS));
    tm.tmCharSet = lf.lfCharSet;
    *metrics = tm;
    return TRUE;
}

int GetTextFaceW(HDC hdc, int count, LPWSTR faceName) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    FontObject* font = dc != nullptr ? findFont(dc->font) : nullptr;
    if (font == nullptr) {
        return 0;
    }
    int length = 0;
    while (length < LF_FACESIZE - 1 && font->logFont.lfFaceName[length] != 0) {
        ++length;
    }
    if (faceName == nullptr) {
        return length + 1;
    }
    if (count <= 0) {
        return 0;
    }
    int copied = std::min(length, count - 1);
    std::copy_n(font->logFont.lfFaceName, copied, faceName);
    faceName[copied] = 0;
    return copied;
}

BOOL GetTextExtentExPointW(HDC hdc, LPCWSTR text, int count, int maxExtent, LPINT fit,
                           LPINT partialExtents, LPSIZE size) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    FontFace* face = dc != nullptr ? dcFace(*dc) : nullptr;
    if (face == nullptr || !validText(text, count)) {
        return FALSE;
    }
    int64_t extent = 0;
    int fitting = 0;
    for (int i = 0; i < count; ++i) {
        extent += face->advance(text[i]);
        if (partialExtents != nullptr) {
            partialExtents[i] = clampCoordinate(extent);
        }
        if (extent <= maxExtent && fitting == i) {
            fitting = i + 1;
        }
    }
    if (fit != nullptr) {
        *fit = fitting;
    }
    if (size != nullptr) {
        *size = SIZE{clampCoordinate(extent), face->metrics().height()};
    }
    return TRUE;
}

BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, LPSIZE size) {
    return GetTextExtentExPointW(hdc, text, count, 0, nullptr, nullptr, size);
}

BOOL GetCharWidth32W(HDC hdc, UINT first, UINT last, LPINT widths) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    FontFace* face = dc != nullptr ? dcFace(*dc) : nullptr;
    if (face == nullptr || widths == nullptr || first > last || last > 0x10FFFF) {
        return FALSE;
    }
    for (UINT c = first; c <= last; ++c) {
        widths[c - first] = face->advance(static_cast<char32_t>(c));
    }
    return TRUE;
}

BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                 const INT* advances) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    FontObject* font = dc != nullptr ? findFont(dc->font) : nullptr;
    // Glyph indexes come from shaping engines the device does not have.
    if (font == nullptr || !validText(text, count) || (options & ETO_GLYPH_INDEX)) {
        return FALSE;
    }
    FontFace& face = *font->face;
    int n = static_cast<int>(count);
    std::vector<int> widths;
    if (advances != nullptr) {
        widths.assign(advances, advances + n);
    } else {
        textAdvances(face, text, n, widths);
    }
    int64_t width = 0;
    for (int w : widths) {
        width += w;
    }
    bool updateCp = (dc->textAlign & TA_UPDATECP) != 0;
    int64_t refX = updateCp ? dc->position.x : x;
    int64_t refY = updateCp ? dc->position.y : y;
    int64_t left = refX;
    switch (dc->textAlign & TA_CENTER) {
        case TA_RIGHT:
            left = refX - width;
            break;
        case TA_CENTER:
            left = refX - width / 2;
            break;
        default:
            break;
    }
    const FontMetrics& m = face.metrics();
    int64_t baseline = refY + m.ascent;
    switch (dc->textAlign & TA_BASELINE) {
        case TA_BASELINE:
            baseline = refY;
            break;
        case TA_BOTTOM:
            baseline = refY - m.descent;
            break;
        default:
            break;
    }
    if (updateCp) {
        switch (dc->textAlign & TA_CENTER) {
            case TA_RIGHT:
                dc->position.x = clampCoordinate(refX - width);
                break;
            case TA_CENTER:
                break;
            default:
                dc->position.x = clampCoordinate(refX + width);
                break;
        }
    }

    DrawTarget target(*dc);
    if (!target.valid()) {
        return TRUE;
    }
    RECT limit = unlimited();
    if (rect != nullptr) {
        RECT r = target.toSurface(*rect);
        if (options & ETO_OPAQUE) {
            fillSurfaceRect(target, r, pixelFromColorref(dc->bkColor));
        }
        if (options & ETO_CLIPPED) {
            limit = r;
        }
    }
    int64_t surfaceLeft = left + dcOffsetX(*dc);
    int64_t surfaceBaseline = baseline + dcOffsetY(*dc);
    if (dc->bkMode == OPAQUE && n > 0) {
        RECT cell{clampCoordinate(surfaceLeft), clampCoordinate(surfaceBaseline - m.ascent),
                  clampCoordinate(surfaceLeft + width),
                  clampCoordinate(surfaceBaseline + m.descent)};
        fillSurfaceRect(target, intersectRects(cell, limit), pixelFromColorref(dc->bkColor));
    }
    TextRun run{text, n, widths.data(), surfaceLeft, surfaceBaseline};
    drawTextRun(target, face, font->logFont, run, pixelFromColorref(dc->textColor), limit);
    return TRUE;
}

BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR text, int count) {
    if (count < 0) {
        return FALSE;
    }
    return ExtTextOutW(hdc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}
