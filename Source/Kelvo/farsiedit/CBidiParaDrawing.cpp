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
    if (GetTextAlign(dc) != TA_RIGHT) {
        int pen = x;
        for (int i = 0; i < count;) {
            int j = i;
            while (j < count && !isMark(chars[j])) {
                ++j;
            }
            if (j > i) {
                ExtTextOutW(dc, pen, y, ETO_CLIPPED, clip, chars + i, j - i, nullptr);
                pen += extentOf(dc, chars + i, j - i);
            }
            // The marks after the run sit at the right edge of its last glyph.
            for (; j < count && isMark(chars[j]); ++j) {
                ExtTextOutW(dc, pen, y, ETO_CLIPPED, clip, chars + j, 1, nullptr);
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
            int markAnchor = pen;  // right edge of the run's first glyph
            if (j > i) {
                ExtTextOutW(dc, pen, y, ETO_CLIPPED, clip, chars + i, j - i, nullptr);
                const int runWidth = extentOf(dc, chars + i, j - i);
                markAnchor = pen - runWidth + extentOf(dc, chars + i, 1);
                pen -= runWidth;
            }
            // The marks before the run belong to its first glyph in visual order.
            for (; i > 0 && isMark(chars[i - 1]); --i) {
                ExtTextOutW(dc, markAnchor, y, ETO_CLIPPED, clip, chars + i - 1, 1, nullptr);
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
