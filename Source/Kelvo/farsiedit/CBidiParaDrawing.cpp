// CBidiPara's measuring and drawing through a DC: marks take no room and are drawn over the
// glyph they belong to, and a line's selected parts are inverted.
#include <algorithm>

#include "farsiedit/BidiTables.h"
#include "farsiedit/CBidiPara.h"
#include "farsiedit/TextInk.h"

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

// Which side of its origin a zero-width mark's ink lies on. Fonts hang marks either to the left
// of the origin (meant to be drawn at the right edge of their base) or to the right of it
// (meant for the base's left edge); only drawing the mark shows which.
enum class MarkSide { Left, Right };

MarkSide markSide(HDC dc, WCHAR mark) {
    const RECT ink = TextInkBounds(dc, &mark, 1);
    return ink.left < ink.right && ink.left + ink.right > 0 ? MarkSide::Right : MarkSide::Left;
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

void CBidiPara::DrawRuns(HDC dc, int x, int y, const RECT* clip, const WCHAR* chars, int count,
                         const signed char* glyphLevels) {
    if (chars == nullptr || count <= 0) {
        return;
    }
    // Everything is drawn left-aligned from the string's left edge, found from the alignment;
    // the vertical alignment stays as it is.
    const UINT align = GetTextAlign(dc);
    const UINT horizontal = align & TA_CENTER;
    int pen = x;
    if (horizontal == TA_RIGHT) {
        pen = x - TextWidth(dc, chars, count);
    } else if (horizontal == TA_CENTER) {
        pen = x - TextWidth(dc, chars, count) / 2;
    }
    // Without levels, right-aligned text is taken as right-to-left and other text as
    // left-to-right.
    const bool rightToLeftText = horizontal == TA_RIGHT;
    SetTextAlign(dc, align & ~(TA_CENTER | TA_UPDATECP));
    SetBkMode(dc, TRANSPARENT);
    MarkSides sides(dc);
    int previousLeft = pen;  // edges of the last glyph drawn
    int previousRight = pen;
    bool hasPrevious = false;
    for (int i = 0; i < count;) {
        int j = i;
        while (j < count && !isMark(chars[j])) {
            ++j;
        }
        if (j > i) {
            ExtTextOutW(dc, pen, y, ETO_CLIPPED, clip, chars + i, j - i, nullptr);
            pen += extentOf(dc, chars + i, j - i);
            previousRight = pen;
            previousLeft = pen - extentOf(dc, chars + j - 1, 1);
            hasPrevious = true;
        }
        // A mark's base is the glyph before it in left-to-right text and the glyph after it in
        // right-to-left text, where the visual order puts marks in front of their letters.
        int next = j;
        while (next < count && isMark(chars[next])) {
            ++next;
        }
        const bool hasNext = next < count;
        const int nextLeft = pen;
        const int nextRight = hasNext ? pen + extentOf(dc, chars + next, 1) : pen;
        for (; j < next; ++j) {
            const bool rightToLeft =
                glyphLevels != nullptr ? (glyphLevels[j] & 1) != 0 : rightToLeftText;
            const bool onNext = hasNext && (rightToLeft || !hasPrevious);
            const int baseLeft = onNext ? nextLeft : previousLeft;
            const int baseRight = onNext ? nextRight : previousRight;
            // Marks hanging left of their origin go at the base's right edge, the others at its
            // left edge.
            const int at = sides.of(chars[j]) == MarkSide::Left ? baseRight : baseLeft;
            ExtTextOutW(dc, at, y, ETO_CLIPPED, clip, chars + j, 1, nullptr);
        }
        i = j;
    }
    SetTextAlign(dc, align);
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
    DrawRuns(dc, x, y, clip, g, count, glyphLevels.get() + start);
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
    const bool fromRight = (GetTextAlign(dc) & TA_CENTER) == TA_RIGHT;
    const int step = fromRight ? -1 : 1;
    int pen = x;
    for (int k = 0; k < count;) {
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
    }
}
