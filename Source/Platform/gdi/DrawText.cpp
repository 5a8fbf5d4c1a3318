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
        int64_t offsetX = dcOffsetX(*dc);
        int64_t offsetY = dcOffsetY(*dc);
        RECT limit = (format & DT_NOCLIP) ? unlimited() : target.toSurface(*rect);
        uint32_t color = pixelFromColorref(dc->textColor);
        const std::u16string ellipsis = u"...";
        std::vector<int> advances;
        for (size_t li = 0; li < lines.size(); ++li) {
            const Line& line = lines[li];
            std::u16string drawn =
                shown.substr(static_cast<size_t>(line.start), static_cast<size_t>(line.count));
            int64_t width = line.width;
            if ((format & DT_END_ELLIPSIS) && width > rectWidth) {
                int64_t dots = textWidth(face, ellipsis.data(), 3);
                int keep = line.count;
                while (keep > 0 && formatter.width(line.start, keep) + dots > rectWidth) {
                    --keep;
                }
                drawn = shown.substr(static_cast<size_t>(line.start), static_cast<size_t>(keep));
                formatter.advances(line.start, keep, advances);
                drawn += ellipsis;
                for (char16_t c : ellipsis) {
                    advances.push_back(face.advance(c));
                }
            } else {
                formatter.advances(line.start, line.count, advances);
            }
            width = 0;
            for (int a : advances) {
                width += a;
            }
            for (char16_t& c : drawn) {
                if (c == u'\t' && (format & DT_EXPANDTABS)) {
                    c = u' ';
                }
            }
            int64_t x = rect->left;
            if (format & DT_CENTER) {
                x = rect->left + (rectWidth - width) / 2;
            } else if (format & DT_RIGHT) {
                x = rect->right - width;
            }
            int64_t y = top + lineHeight * static_cast<int64_t>(li);
            int64_t penX = x + offsetX;
            int64_t baseline = y + offsetY + m.ascent;
            if (dc->bkMode == OPAQUE && !drawn.empty()) {
                RECT cell{clampCoordinate(penX), clampCoordinate(y + offsetY),
                          clampCoordinate(penX + width), clampCoordinate(y + offsetY + lineHeight)};
                uint32_t bk = pixelFromColorref(dc->bkColor);
                target.forEachSpan(intersectRects(cell, limit),
                                   [&](uint32_t* p, int, int, int k) { std::fill_n(p, k, bk); });
            }
            TextRun run{drawn.data(), static_cast<int>(drawn.size()), advances.data(), penX,
                        baseline};
            drawTextRun(target, face, font->logFont, run, color, limit);
            // Underline the prefixed characters that lie on this line.
            for (int u : underlined) {
                int at = u - line.start;
                if (at < 0 || at >= static_cast<int>(drawn.size()) || at >= line.count) {
                    continue;
                }
                int64_t ux = penX;
                for (int k = 0; k < at; ++k) {
                    ux += advances[k];
                }
                int64_t uy = baseline + m.underlinePosition;
                RECT r{clampCoordinate(ux), clampCoordinate(uy), clampCoordinate(ux + advances[at]),
                       clampCoordinate(uy + m.lineThickness)};
                target.forEachSpan(intersectRects(r, limit),
                                   [&](uint32_t* p, int, int, int k) { std::fill_n(p, k, color); });
            }
        }
    }
    int64_t result = (top - rect->top) + textHeight;
    return clampCoordinate(result);
}
