// CBidiPara's lines: breaking the shaped glyphs into lines of a pixel width, the line rules
// (whitespace levels, mirroring, visual reordering) and the queries about lines and positions.
#include <algorithm>

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
    int widest = 0;
    bool measured = false;
    if (width < 1) {
        int start = 0;
        for (int i = 0; i < glyphCount; ++i) {
            if (g[i] == kLineSeparator || i == glyphCount - 1) {
                endLine(start, i);
                start = i + 1;
            }
        }
    } else {
        // Widths add up glyph by glyph, so a line's width grows by the width of each stretch
        // between break opportunities.
        int start = 0;
        int scan = 0;
        int scanWidth = 0;  // width of glyphs start..scan-1
        int fitting = -1;   // last opportunity that fits, -1 for none
        int fittingWidth = 0;
        auto newLine = [&](int last, int lineWidth) {
            endLine(start, last);
            widest = std::max(widest, lineWidth);
            measured = true;
            start = scan = last + 1;
            scanWidth = 0;
            fitting = -1;
        };
        while (start < glyphCount) {
            int i = scan;
            while (i < glyphCount - 1 && g[i] != kSpace && g[i] != kLineSeparator) {
                ++i;
            }
            const int lineWidth = scanWidth + TextWidth(dc, g + scan, i - scan + 1);
            if (lineWidth <= width) {
                if (g[i] == kLineSeparator || i == glyphCount - 1) {
                    newLine(i, lineWidth);
                    continue;
                }
                fitting = i;
                fittingWidth = lineWidth;
                scan = i + 1;
                scanWidth = lineWidth;
                continue;
            }
            if (fitting >= 0) {
                newLine(fitting, fittingWidth);
                continue;
            }
            // One word wider than the line: the longest prefix that fits, at least one glyph.
            int low = start;  // the prefix through `low` is kept even if it does not fit
            int high = i - 1;
            while (low < high) {
                const int middle = (low + high + 1) / 2;
                if (TextWidth(dc, g + start, middle - start + 1) <= width) {
                    low = middle;
                } else {
                    high = middle - 1;
                }
            }
            newLine(low, TextWidth(dc, g + start, low - start + 1));
        }
    }
    lines[lineCount] = 0;
    if (!measured && dc != nullptr) {
        widest = TextWidth(dc, g, glyphCount);
    }
    return widest;
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
