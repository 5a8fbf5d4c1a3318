// CBidiPara's measuring and drawing through a DC: marks take no room and are drawn over the
// glyph they belong to, and a line's selected parts are inverted.
#include <algorithm>

#include "farsiedit/BidiTables.h"
#include "farsiedit/CBidiPara.h"

namespace {

bool isMark(WCHAR c) {
    return bidi::classOf(c) == bidi::NSM;
}

int extentOf(HDC dc, const WCHAR* chars, int count) {
    SIZE size{0, 0};
    if (count <= 0 || !GetTextExtentExPointW(dc, chars, count, 0, nullptr, nullptr, &size)) {
        return 0;
    }
    return size.cx;
}

// Most selected stretches a line inverts.
constexpr int kMaxSelectedRuns = 3;

// Which side of its origin a zero-width mark's ink lies on. Fonts hang marks either to the left
// of the origin (meant to be drawn at the right edge of their base) or to the right of it
// (meant for the base's left edge); only drawing the mark shows which.
enum class MarkSide { Left, Right };

MarkSide markSide(HDC dc, WCHAR mark) {
    TEXTMETRICW metrics{};
    if (!GetTextMetricsW(dc, &metrics) || metrics.tmHeight <= 0) {
        return MarkSide::Left;
    }
    const int height = std::min<int>(metrics.tmHeight, 200);
    const int width = 4 * height;
    MarkSide side = MarkSide::Left;
    HDC probe = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(probe, width, height);
    if (probe != nullptr && bitmap != nullptr) {
        HGDIOBJ oldBitmap = SelectObject(probe, bitmap);
        HGDIOBJ oldFont = SelectObject(probe, GetCurrentObject(dc, OBJ_FONT));
        PatBlt(probe, 0, 0, width, height, WHITENESS);
        SetTextColor(probe, RGB(0, 0, 0));
        SetBkMode(probe, TRANSPARENT);
        SetTextAlign(probe, TA_LEFT | TA_TOP);
        const int origin = width / 2;
        ExtTextOutW(probe, origin, 0, 0, nullptr, &mark, 1, nullptr);
        long long left = 0;
        long long right = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (GetRValue(GetPixel(probe, x, y)) < 128) {
                    (x < origin ? left : right) += 1;
                }
            }
        }
        side = right > left ? MarkSide::Right : MarkSide::Left;
        SelectObject(probe, oldFont);
        SelectObject(probe, oldBitmap);
    }
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
    if (probe != nullptr) {
        DeleteDC(probe);
    }
    return side;
}

// The sides of the marks met during one drawing call, each mark probed once.
class MarkSides {
public:
    explicit MarkSides(HDC dc) : m_dc(dc) {}
    MarkSide of(WCHAR mark) {
        for (int i = 0; i < m_count; ++i) {
            if (m_marks[i] == mark) {
                return m_sides[i];
            }
        }
        const MarkSide side = markSide(m_dc, mark);
        if (m_count < kCapacity) {
            m_marks[m_count] = mark;
            m_sides[m_count] = side;
            ++m_count;
        }
        return side;
    }

private:
    static constexpr int kCapacity = 16;
    HDC m_dc;
    WCHAR m_marks[kCapacity] = {};
    MarkSide m_sides[kCapacity] = {};
    int m_count = 0;
};

}  // namespace

int CBidiPara::TextWidth(HDC dc, const WCHAR* chars, int count) {
    if (chars == nullptr) {
        return 0;
    }
    if (count == -1) {
        count = 0;
        while (chars[count] != 0) {
            ++count;
        }
    }
    int width = 0;
    for (int i = 0; i < count;) {
        if (isMark(chars[i])) {
            ++i;
            continue;
        }
        int j = i + 1;
        while (j < count && !isMark(chars[j])) {
            ++j;
        }
        width += extentOf(dc, chars + i, j - i);
        i = j;
    }
    return width;
}

void CBidiPara::DrawRuns(HDC dc, int x, int y, const RECT* clip, const WCHAR* chars, int count) {
    if (chars == nullptr || count <= 0) {
        return;
    }
    SetBkMode(dc, TRANSPARENT);
    MarkSides sides(dc);
    if (GetTextAlign(dc) != TA_RIGHT) {
        int pen = x;
        int baseLeft = x;  // left edge of the last glyph drawn
        for (int i = 0; i < count;) {
            int j = i;
            while (j < count && !isMark(chars[j])) {
                ++j;
            }
            if (j > i) {
                ExtTextOutW(dc, pen, y, ETO_CLIPPED, clip, chars + i, j - i, nullptr);
                pen += extentOf(dc, chars + i, j - i);
                baseLeft = pen - extentOf(dc, chars + j - 1, 1);
            }
            // The marks after the run belong to its last glyph: drawn at its right edge, or at
            // its left edge for a font whose marks hang to the right of their origin.
            for (; j < count && isMark(chars[j]); ++j) {
                const int at = sides.of(chars[j]) == MarkSide::Left ? pen : baseLeft;
                ExtTextOutW(dc, at, y, ETO_CLIPPED, clip, chars + j, 1, nullptr);
            }
            i = j;
        }
    } else {
        int pen = x;
        for (int j = count; j > 0;) {
            int i = j;
            while (i > 0 && !isMark(chars[i - 1])) {
                --i;
            }
            int baseRight = pen;  // edges of the run's first glyph
            int baseLeft = pen;
            if (j > i) {
                ExtTextOutW(dc, pen, y, ETO_CLIPPED, clip, chars + i, j - i, nullptr);
                const int runWidth = extentOf(dc, chars + i, j - i);
                baseLeft = pen - runWidth;
                baseRight = baseLeft + extentOf(dc, chars + i, 1);
                pen -= runWidth;
            }
            // The marks before the run belong to its first glyph in visual order: right-aligned
            // at its right edge, or at its left edge for marks hanging right of their origin.
            for (; i > 0 && isMark(chars[i - 1]); --i) {
                const int at = sides.of(chars[i - 1]) == MarkSide::Left ? baseRight : baseLeft;
                ExtTextOutW(dc, at, y, ETO_CLIPPED, clip, chars + i - 1, 1, nullptr);
            }
            j = i;
        }
    }
    SetBkMode(dc, OPAQUE);
}

void CBidiPara::DrawLine(HDC dc, int x, int y, int selStart, int selEnd, const RECT* clip,
                         int lineHeight, int line) const {
    const int start = LineStart(line);
    if (start < 0) {
        return;
    }
    const int count = lineLengths[line];
    const WCHAR* g = glyphs.get() + start;
    DrawRuns(dc, x, y, clip, g, count);
    if (selStart >= selEnd || count == 0 || selEnd <= LineFirstChar(line) ||
        selStart > LineLastChar(line)) {
        return;
    }
    auto selected = [&](int glyph) {
        const int c = visToLog[start + glyph];
        const int sharer = partner[c];
        return (c >= selStart && c < selEnd) ||
               (sharer != NO_GLYPH && sharer > c && sharer >= selStart && sharer < selEnd);
    };
    const bool fromRight = GetTextAlign(dc) == TA_RIGHT;
    const int step = fromRight ? -1 : 1;
    int pen = x;
    int runs = 0;
    for (int k = 0; k < count && runs < kMaxSelectedRuns;) {
        const int glyph = fromRight ? count - 1 - k : k;
        if (!selected(glyph)) {
            pen += step * TextWidth(dc, g + glyph, 1);
            ++k;
            continue;
        }
        const int runStart = pen;
        while (k < count && selected(fromRight ? count - 1 - k : k)) {
            pen += step * TextWidth(dc, g + (fromRight ? count - 1 - k : k), 1);
            ++k;
        }
        RECT r{std::min(runStart, pen), y, std::max(runStart, pen), y + lineHeight};
        InvertRect(dc, &r);
        ++runs;
    }
}
