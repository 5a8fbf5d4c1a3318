// DrawTextW: text formatted into a rectangle. Lines break at line feeds (unless single-line)
// and, with DT_WORDBREAK, after spaces; each line is aligned left, centred or right; a single
// line is centred or bottom-aligned vertically on request; '&' marks an underlined prefix.
#include <algorithm>
#include <string>

#include "gdi/GdiLock.h"
#include "gdi/TextRender.h"

using namespace platform;

namespace {

constexpr int kMaxDrawTextLength = 1 << 20;
constexpr int kTabStopCharacters = 8;

struct Line {
    int start = 0;
    int count = 0;  // characters drawn (trailing spaces of a wrapped line are not)
    int64_t width = 0;
};

class Formatter {
public:
    Formatter(FontFace& face, UINT format, const std::u16string& shown)
        : face_(face), format_(format), shown_(shown) {
        tabWidth_ = std::max(1, face.metrics().aveCharWidth * kTabStopCharacters);
    }

    // The advance of character i when the line's pen stands at x.
    int advanceAt(int i, int64_t x) const {
        if (shown_[i] == u'\t' && (format_ & DT_EXPANDTABS)) {
            return static_cast<int>(tabWidth_ - x % tabWidth_);
        }
        return face_.advance(shown_[i]);
    }

    int64_t width(int start, int count) const {
        int64_t x = 0;
        for (int i = start; i < start + count; ++i) {
            x += advanceAt(i, x);
        }
        return x;
    }

    void advances(int start, int count, std::vector<int>& out) const {
        out.clear();
        int64_t x = 0;
        for (int i = start; i < start + count; ++i) {
            out.push_back(advanceAt(i, x));
            x += out.back();
        }
    }

    // Splits the hard line [start, end) into lines no wider than `limit` where spaces allow.
    void wrap(int start, int end, int64_t limit, std::vector<Line>& lines) const {
        int pos = start;
        do {
            int64_t x = 0;
            int breakAt = -1;  // end of the last word that fitted
            int i = pos;
            while (i < end) {
                if (shown_[i] == u' ') {
                    breakAt = i;
                    while (i < end && shown_[i] == u' ') {
                        x += advanceAt(i, x);
                        ++i;
                    }
                    continue;
                }
                int64_t next = x + advanceAt(i, x);
                if (next > limit && breakAt > pos) {
                    break;
                }
                x = next;
                ++i;
            }
            if (i >= end) {
                lines.push_back(Line{pos, end - pos, width(pos, end - pos)});
                return;
            }
            int count = breakAt - pos;
            lines.push_back(Line{pos, count, width(pos, count)});
            pos = breakAt;
            while (pos < end && shown_[pos] == u' ') {
                ++pos;
            }
        } while (pos < end);
    }

private:
    FontFace& face_;
    UINT format_;
    const std::u16string& shown_;
    int64_t tabWidth_ = 1;
};

// Draws the lines of one DrawTextW call.
struct LineDrawing {
    DrawTarget& target;
    FontFace& face;
    const LOGFONTW& font;
    DeviceContext& dc;
    const Formatter& formatter;
    UINT format;
    RECT limit = unlimited();

    void fill(const RECT& r, uint32_t color) {
        target.forEachSpan(intersectRects(r, limit),
                           [&](uint32_t* p, int, int, int k) { std::fill_n(p, k, color); });
    }

    // `underlined` is in ascending order; `nextUnderline` walks it along the lines.
    void draw(const std::u16string& shown, const Line& line, const RECT& rect, int64_t y,
              int64_t lineHeight, const std::vector<int>& underlined, size_t& nextUnderline) {
        const FontMetrics& m = face.metrics();
        int64_t rectWidth = int64_t{rect.right} - rect.left;
        std::vector<int> advances;
        formatter.advances(line.start, line.count, advances);
        int keep = line.count;
        std::u16string drawn =
            shown.substr(static_cast<size_t>(line.start), static_cast<size_t>(line.count));
        if ((format & DT_END_ELLIPSIS) && line.width > rectWidth) {
            const std::u16string dots = u"...";
            int64_t room = rectWidth - textWidth(face, dots.data(), 3);
            int64_t x = 0;
            keep = 0;
            while (keep < line.count && x + advances[keep] <= room) {
                x += advances[keep++];
            }
            drawn.resize(static_cast<size_t>(keep));
            advances.resize(static_cast<size_t>(keep));
            drawn += dots;
            for (char16_t c : dots) {
                advances.push_back(face.advance(c));
            }
        }
        for (char16_t& c : drawn) {
            if (c == u'\t' && (format & DT_EXPANDTABS)) {
                c = u' ';
            }
        }
        // Pen positions: positions[i] is where character i starts, relative to the line.
        std::vector<int64_t> positions(advances.size() + 1, 0);
        for (size_t i = 0; i < advances.size(); ++i) {
            positions[i + 1] = positions[i] + advances[i];
        }
        int64_t width = positions.back();
        int64_t x = rect.left;
        if (format & DT_CENTER) {
            x = rect.left + (rectWidth - width) / 2;
        } else if (format & DT_RIGHT) {
            x = rect.right - width;
        }
        int64_t penX = x + dcOffsetX(dc);
        int64_t cellTop = y + dcOffsetY(dc);
        int64_t baseline = cellTop + m.ascent;
        uint32_t color = pixelFromColorref(dc.textColor);
        if (dc.bkMode == OPAQUE && !drawn.empty()) {
            fill(RECT{clampCoordinate(penX), clampCoordinate(cellTop),
                      clampCoordinate(penX + width), clampCoordinate(cellTop + lineHeight)},
                 pixelFromColorref(dc.bkColor));
        }
        TextRun run{drawn.data(), static_cast<int>(drawn.size()), advances.data(), penX, baseline};
        drawTextRun(target, face, font, run, color, limit);
        // Underline the prefixed characters of this line that are still shown.
        int lineEnd = line.start + line.count;
        while (nextUnderline < underlined.size() && underlined[nextUnderline] < lineEnd) {
            int at = underlined[nextUnderline++] - line.start;
            if (at < 0 || at >= keep) {
                continue;
            }
            int64_t uy = baseline + m.underlinePosition;
            fill(RECT{clampCoordinate(penX + positions[at]), clampCoordinate(uy),
                      clampCoordinate(penX + positions[at + 1]),
                      clampCoordinate(uy + m.lineThickness)},
                 color);
        }
    }
};

// The text without its prefix marks, and where the underlined characters are.
std::u16string stripPrefixes(const char16_t* text, int count, UINT format,
                             std::vector<int>& underlined) {
    std::u16string shown;
    shown.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        if (!(format & DT_NOPREFIX) && text[i] == u'&' && i + 1 < count) {
            ++i;
            if (text[i] != u'&' && !(format & DT_HIDEPREFIX)) {
                underlined.push_back(static_cast<int>(shown.size()));
            }
        }
        shown.push_back(text[i]);
    }
    return shown;
}

}  // namespace

int DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    FontObject* font = dc != nullptr ? findFont(dc->font) : nullptr;
    if (font == nullptr || rect == nullptr || (text == nullptr && count != 0) || count < -1) {
        return 0;
    }
    if (count == -1) {
        count = 0;
        while (count < kMaxDrawTextLength && text[count] != 0) {
            ++count;
        }
    }
    if (count > kMaxDrawTextLength) {
        return 0;
    }
    FontFace& face = *font->face;
    const FontMetrics& m = face.metrics();
    std::vector<int> underlined;
    std::u16string shown = stripPrefixes(text, count, format, underlined);
    Formatter formatter(face, format, shown);

    int64_t rectWidth = int64_t{rect->right} - rect->left;
    int64_t rectHeight = int64_t{rect->bottom} - rect->top;
    std::vector<Line> lines;
    bool singleLine = (format & DT_SINGLELINE) != 0;
    bool wordBreak = (format & DT_WORDBREAK) && !singleLine;
    int n = static_cast<int>(shown.size());
    int start = 0;
    while (true) {
        int end = start;
        while (end < n && (singleLine || (shown[end] != u'\n' && shown[end] != u'\r'))) {
            ++end;
        }
        if (wordBreak) {
            formatter.wrap(start, end, rectWidth, lines);
        } else {
            lines.push_back(Line{start, end - start, formatter.width(start, end - start)});
        }
        if (end >= n) {
            break;
        }
        start = end + ((shown[end] == u'\r' && end + 1 < n && shown[end + 1] == u'\n') ? 2 : 1);
        if (start >= n) {
            break;
        }
    }

    int64_t lineHeight = m.height() + ((format & DT_EXTERNALLEADING) ? m.externalLeading : 0);
    int64_t textHeight = lineHeight * static_cast<int64_t>(lines.size());
    int64_t widest = 0;
    for (const Line& l : lines) {
        widest = std::max(widest, l.width);
    }
    if (format & DT_CALCRECT) {
        rect->right = clampCoordinate(rect->left + widest);
        rect->bottom = clampCoordinate(rect->top + textHeight);
        return clampCoordinate(textHeight);
    }

    int64_t top = rect->top;
    if (lines.size() == 1) {
        if (format & DT_VCENTER) {
            top = rect->top + (rectHeight - lineHeight) / 2;
        } else if (format & DT_BOTTOM) {
            top = rect->bottom - lineHeight;
        }
    }

    DrawTarget target(*dc);
    if (target.valid()) {
        LineDrawing drawing{target, face, font->logFont, *dc, formatter, format};
        drawing.limit = (format & DT_NOCLIP) ? unlimited() : target.toSurface(*rect);
        size_t nextUnderline = 0;
        for (size_t li = 0; li < lines.size(); ++li) {
            int64_t y = top + lineHeight * static_cast<int64_t>(li);
            drawing.draw(shown, lines[li], *rect, y, lineHeight, underlined, nextUnderline);
        }
    }
    int64_t result = (top - rect->top) + textHeight;
    return clampCoordinate(result);
}
