// CBidiPara's lines: breaking the shaped glyphs into lines of a pixel width, the line rules
// (whitespace levels, mirroring, visual reordering) and the queries about lines and positions.
#include <algorithm>
#include <cstdint>

#include "farsiedit/BidiTables.h"
#include "farsiedit/CBidiPara.h"

namespace {

constexpr WCHAR kSpace = 0x0020;
constexpr WCHAR kTab = 0x0009;
constexpr WCHAR kLineSeparator = 0x2028;

bool isHighSurrogate(WCHAR c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(WCHAR c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

bool isMark(WCHAR c) {
    return bidi::classOf(c) == bidi::NSM;
}

WCHAR mirrorOf(WCHAR c) {
    switch (c) {
        case u'(':
            return u')';
        case u')':
            return u'(';
        case u'[':
            return u']';
        case u']':
            return u'[';
        case u'{':
            return u'}';
        case u'}':
            return u'{';
        case u'<':
            return u'>';
        case u'>':
            return u'<';
        case 0x00AB:
            return 0x00BB;
        case 0x00BB:
            return 0x00AB;
        case 0x2039:
            return 0x203A;
        case 0x203A:
            return 0x2039;
        case 0x2264:
            return 0x2265;
        case 0x2265:
            return 0x2264;
        case 0xFD3E:
            return 0xFD3F;
        case 0xFD3F:
            return 0xFD3E;
        default:
            return c;
    }
}

}  // namespace

int CBidiPara::Wrap(HDC dc, int width) {
    if (wrapped || capacity == 0) {
        // The glyphs are in visual order already (or there is nothing laid out yet): start again
        // from the logical order so that a second wrap gives the same lines as the first.
        Layout();
    }
    wrapped = true;
    const int widest = breakLines(dc, width);
    resetWhitespaceLevels();
    mirror();
    reorder();
    return widest;
}

int CBidiPara::breakLines(HDC dc, int width) {
    const WCHAR* g = glyphs.get();
    WORD* lines = lineLengths.get();
    lineCount = 0;
    auto endLine = [&](int start, int last) {
        lines[lineCount++] = static_cast<WORD>(last - start + 1);
    };
    if (glyphCount == 0) {
        lines[0] = 0;
        lines[1] = 0;
        lineCount = 1;
        return 0;
    }
    if (width < 1) {
        int start = 0;
        for (int i = 0; i < glyphCount; ++i) {
            if (g[i] == kLineSeparator || i == glyphCount - 1) {
                endLine(start, i);
                start = i + 1;
            }
        }
        lines[lineCount] = 0;
        return dc != nullptr ? TextWidth(dc, g, glyphCount) : 0;
    }
    // Every glyph is measured once: the width of glyphs s..e is prefix[e + 1] - prefix[s], so
    // neither a line of many words nor one long word is measured again and again.
    measurePrefixes(dc);
    const int* prefix = prefixWidths.get();
    auto widthOf = [&](int first, int last) { return prefix[last + 1] - prefix[first]; };
    int widest = 0;
    int start = 0;
    int fitting = -1;  // last opportunity of the line that fits, -1 for none
    auto newLine = [&](int last) {
        endLine(start, last);
        widest = std::max(widest, widthOf(start, last));
        start = last + 1;
        fitting = -1;
    };
    for (int i = 0; start < glyphCount; ++i) {
        // Break opportunities: spaces, line separators and the last glyph.
        if (g[i] != kSpace && g[i] != kLineSeparator && i < glyphCount - 1) {
            continue;
        }
        if (widthOf(start, i) <= width) {
            if (g[i] == kLineSeparator || i == glyphCount - 1) {
                newLine(i);
            } else {
                fitting = i;
            }
            continue;
        }
        // The line ends before opportunity i, which is the next one of the new line: it is
        // looked at again, but nothing before it is.
        if (fitting >= 0) {
            newLine(fitting);
            --i;
            continue;
        }
        // One word wider than the line: the longest prefix that fits, at least one character,
        // never ending between the two units of a surrogate pair.
        const int* fits = std::upper_bound(prefix + start + 1, prefix + i + 1,
                                           prefix[start] + static_cast<int64_t>(width),
                                           [](int64_t bound, int w) { return bound < w; });
        int last = std::max(start, static_cast<int>(fits - prefix) - 2);
        if (isHighSurrogate(g[last]) && last + 1 < glyphCount && isLowSurrogate(g[last + 1])) {
            last += last > start ? -1 : 1;
        }
        newLine(last);
        if (start <= i) {
            --i;  // opportunity i is not on a line yet
        }
    }
    lines[lineCount] = 0;
    return widest;
}

void CBidiPara::measurePrefixes(HDC dc) {
    const WCHAR* g = glyphs.get();
    int* prefix = prefixWidths.get();
    prefix[0] = 0;
    for (int i = 0; i < glyphCount;) {
        int j = i;
        while (j < glyphCount && !isMark(g[j])) {
            ++j;
        }
        // A run of non-marks gives every prefix of itself in one measurement.
        if (j == i || dc == nullptr ||
            !GetTextExtentExPointW(dc, g + i, j - i, 0, nullptr, prefix + i + 1, nullptr)) {
            std::fill(prefix + i + 1, prefix + j + 1, 0);
        }
        for (int k = i + 1; k <= j; ++k) {
            prefix[k] += prefix[i];
        }
        // Marks take no room.
        for (; j < glyphCount && isMark(g[j]); ++j) {
            prefix[j + 1] = prefix[j];
        }
        i = j;
    }
}

void CBidiPara::resetWhitespaceLevels() {
    const WCHAR* g = glyphs.get();
    const WORD* v2l = visToLog.get();
    signed char* lev = levels.get() + 1;
    const signed char base = static_cast<signed char>(baseLevel);
    int start = 0;
    for (int line = 0; line < lineCount; ++line) {
        const int end = start + lineLengths[line];
        for (int i = end - 1; i >= start && g[i] == kSpace; --i) {
            lev[v2l[i]] = base;
        }
        for (int i = start; i < end; ++i) {
            if (g[i] != kTab) {
                continue;
            }
            lev[v2l[i]] = base;
            for (int k = i - 1; k >= start && g[k] == kSpace; --k) {
                lev[v2l[k]] = base;
            }
        }
        start = end;
    }
}

void CBidiPara::mirror() {
    WCHAR* g = glyphs.get();
    const WORD* v2l = visToLog.get();
    const signed char* lev = levels.get() + 1;
    for (int i = 0; i < glyphCount; ++i) {
        if ((lev[v2l[i]] & 1) != 0) {
            g[i] = mirrorOf(g[i]);
        }
    }
}

void CBidiPara::reorder() {
    WCHAR* g = glyphs.get();
    WORD* v2l = visToLog.get();
    WORD* l2v = logToVis.get();
    signed char* gl = glyphLevels.get();
    const signed char* lev = levels.get() + 1;
    for (int i = 0; i < glyphCount; ++i) {
        gl[i] = lev[v2l[i]];
    }
    const int lowestOdd = minLevel | 1;
    int start = 0;
    for (int line = 0; line < lineCount; ++line) {
        const int end = start + lineLengths[line];
        for (int level = maxLevel; level >= lowestOdd; --level) {
            for (int i = start; i < end;) {
                if (gl[i] < level) {
                    ++i;
                    continue;
                }
                int j = i + 1;
                while (j < end && gl[j] >= level) {
                    ++j;
                }
                if (j - i >= 2) {
                    std::reverse(g + i, g + j);
                    std::reverse(v2l + i, v2l + j);
                    std::reverse(gl + i, gl + j);
                }
                i = j;
            }
        }
        // A reversed run turns surrogate pairs around: put each pair back in its own order.
        for (int i = start; i + 1 < end; ++i) {
            if (isLowSurrogate(g[i]) && isHighSurrogate(g[i + 1]) && v2l[i] == v2l[i + 1] + 1) {
                std::swap(g[i], g[i + 1]);
                std::swap(v2l[i], v2l[i + 1]);
                ++i;
            }
        }
        for (int i = start; i < end; ++i) {
            l2v[v2l[i]] = static_cast<WORD>(i);
        }
        start = end;
    }
    // Characters sharing a lam's glyph follow it.
    for (int i = 0; i < length; ++i) {
        if (partner[i] != NO_GLYPH && partner[i] < i) {
            l2v[i] = l2v[partner[i]];
        }
    }
}

int CBidiPara::LineStart(int line) const {
    if (line < 0 || line >= lineCount) {
        return -1;
    }
    int start = 0;
    for (int i = 0; i < line; ++i) {
        start += lineLengths[i];
    }
    return start;
}

int CBidiPara::LineFirstChar(int line) const {
    const int start = LineStart(line);
    if (start < 0) {
        return -1;
    }
    int first = EMPTY_LINE;
    for (int i = start; i < start + lineLengths[line]; ++i) {
        first = std::min<int>(first, visToLog[i]);
    }
    return first;
}

int CBidiPara::LineLastChar(int line) const {
    const int start = LineStart(line);
    if (start < 0) {
        return -1;
    }
    int last = -1;
    for (int i = start; i < start + lineLengths[line]; ++i) {
        const int c = visToLog[i];
        const int sharer = partner[c];
        last = std::max(last, sharer != NO_GLYPH && sharer > c ? sharer : c);
    }
    return last;
}

std::u16string CBidiPara::LineGlyphs(int line) const {
    const int start = LineStart(line);
    if (start < 0) {
        return {};
    }
    return std::u16string(glyphs.get() + start, lineLengths[line]);
}

int CBidiPara::NextVisible(int i) const {
    for (int k = std::max(i + 1, 0); k < length; ++k) {
        if (logToVis[k] != NO_GLYPH) {
            return k;
        }
    }
    return -1;
}

int CBidiPara::PrevVisible(int i) const {
    for (int k = std::min(i, length) - 1; k >= 0; --k) {
        if (logToVis[k] != NO_GLYPH) {
            return k;
        }
    }
    return -1;
}
