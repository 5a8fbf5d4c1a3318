// CBidiPara's text editing and its Layout: the paragraph's base level, explicit embeddings and
// overrides, weak and neutral types, implicit levels, and the Arabic-script shaping pass.
#include "farsiedit/CBidiPara.h"

#include <algorithm>
#include <cstring>

#include "farsiedit/BidiTables.h"

using namespace bidi;

namespace {

// Free room kept after a reallocation, and the least room an insertion works in.
constexpr int kSpareRoom = 20;
constexpr int kLeastRoom = 10;

constexpr WCHAR kZwnj = 0x200C;

constexpr BYTE kNoClass = 255;
constexpr signed char kNoLevel = -1;

BYTE direction(int level) {
    return (level & 1) != 0 ? R : L;
}

bool endsParagraph(WCHAR c) {
    return c == 0 || c == 0x000A || c == 0x000D || c == 0x2029;
}

// Strong direction of a neighbour of a neutral sequence: EN and AN count as R; anything else
// that is not L or R counts as neither.
BYTE strongOf(BYTE c) {
    switch (c) {
        case L:
            return L;
        case R:
        case EN:
        case AN:
            return R;
        default:
            return ON;
    }
}

}  // namespace

CBidiPara::CBidiPara()
    : paraIndex(-1),
      firstLine(-1),
      capacity(0),
      length(0),
      glyphCount(0),
      baseLevel(0),
      maxLevel(0),
      minLevel(0),
      lineCount(0),
      wrapped(false) {}

CBidiPara::~CBidiPara() = default;

void CBidiPara::reallocate(int newCapacity, Contents contents) {
    auto newText = std::make_unique<WCHAR[]>(newCapacity);  // zero-filled
    if (contents == Contents::Keep && text) {
        std::copy_n(text.get(), std::min(length, newCapacity), newText.get());
    }
    text = std::move(newText);
    capacity = newCapacity;
    glyphs = std::make_unique<WCHAR[]>(newCapacity);
    classes = std::make_unique<BYTE[]>(newCapacity + 2);
    levels = std::make_unique<signed char[]>(newCapacity + 2);
    visToLog = std::make_unique<WORD[]>(newCapacity);
    logToVis = std::make_unique<WORD[]>(newCapacity);
    // One line per glyph at most, or one empty line, and the trailing 0.
    lineLengths = std::make_unique<WORD[]>(newCapacity + 2);
    charRows = std::make_unique<int16_t[]>(newCapacity);
    partner = std::make_unique<WORD[]>(newCapacity);
    glyphLevels = std::make_unique<signed char[]>(newCapacity);
    prefixWidths = std::make_unique<int[]>(newCapacity + 1);
    std::fill_n(classes.get(), newCapacity + 2, kNoClass);
    std::fill_n(levels.get(), newCapacity + 2, kNoLevel);
    resetMaps();
    glyphCount = 0;
    lineCount = 0;
    wrapped = false;
}

void CBidiPara::resetMaps() {
    std::fill_n(visToLog.get(), capacity, NO_GLYPH);
    std::fill_n(logToVis.get(), capacity, NO_GLYPH);
    std::fill_n(partner.get(), capacity, NO_GLYPH);
}

int CBidiPara::SetText(const WCHAR* str) {
    int count = 0;
    if (str != nullptr) {
        while (count < MAX_LENGTH && !endsParagraph(str[count])) {
            ++count;
        }
    }
    length = 0;
    reallocate(count + kSpareRoom, Contents::Discard);
    if (count > 0) {
        std::copy_n(str, count, text.get());
    }
    length = count;
    return count;
}

bool CBidiPara::InsertAt(int index, const WCHAR* chars, int count) {
    if (index < 0 || index > length || count < 0 || (count > 0 && chars == nullptr)) {
        return false;
    }
    if (count > MAX_LENGTH - length) {
        return false;
    }
    if (count == 0) {
        return true;
    }
    const int room = capacity - length;
    if (count > room || room < kLeastRoom) {
        reallocate(length + count + kSpareRoom, Contents::Keep);
    }
    WCHAR* t = text.get();
    std::memmove(t + index + count, t + index, sizeof(WCHAR) * (length - index));
    std::copy_n(chars, count, t + index);
    length += count;
    return true;
}

bool CBidiPara::InsertAfter(int index, const WCHAR* chars, int count) {
    if (index < 0 || index >= length) {
        return false;
    }
    return InsertAt(index + 1, chars, count);
}

bool CBidiPara::Delete(int index, int count) {
    if (index < 0 || index >= length || count <= 0) {
        return false;
    }
    count = std::min(count, length - index);
    WCHAR* t = text.get();
    std::memmove(t + index, t + index + count, sizeof(WCHAR) * (length - index - count));
    std::fill_n(t + length - count, count, WCHAR{0});
    length -= count;
    return true;
}

void CBidiPara::Layout() {
    if (capacity == 0) {
        reallocate(kSpareRoom, Contents::Discard);
    }
    wrapped = false;
    lineCount = 0;
    lineLengths[0] = 0;

    // Classes from the table; the sentinels beyond the text.
    BYTE* cls = classes.get() + 1;
    signed char* lev = levels.get() + 1;
    const WCHAR* t = text.get();
    for (int i = 0; i < length; ++i) {
        const int row = charTableIndex(t[i]);
        charRows[i] = static_cast<int16_t>(row);
        cls[i] = row < 0 ? static_cast<BYTE>(ON) : static_cast<BYTE>(CharTable[row].bidiClass);
    }
    std::fill(cls + length, cls + capacity + 1, kNoClass);
    std::fill_n(lev, length, 0);
    std::fill(lev + length, lev + capacity + 1, kNoLevel);

    // Base level from the first strong character; an empty paragraph keeps its own.
    if (length > 0) {
        baseLevel = 0;
        for (int i = 0; i < length; ++i) {
            const BYTE c = cls[i];
            if (c == L || c == LRO) {
                break;
            }
            if (c == AL || c == R || c == RLO) {
                baseLevel = 1;
                break;
            }
        }
    }

    resolveExplicit();
    resolveWeak();
    resolveNeutrals();
    resolveImplicit();
    resetMaps();
    shape();
}

void CBidiPara::resolveExplicit() {
    BYTE* cls = classes.get() + 1;
    signed char* lev = levels.get() + 1;
    // The open embeddings: level and override class (ON for none). At most MAX_LEVEL deep,
    // since each one raises the level by at least one.
    struct Embedding {
        signed char level;
        BYTE override;
    };
    Embedding stack[MAX_LEVEL + 2];
    int depth = 0;
    stack[0] = {static_cast<signed char>(baseLevel), ON};
    for (int i = 0; i < length; ++i) {
        const BYTE c = cls[i];
        const Embedding& current = stack[depth];
        if (c <= BN) {
            lev[i] = current.level;
            if (current.override != ON) {
                cls[i] = current.override;
            }
            continue;
        }
        cls[i] = BN;
        lev[i] = 0;
        if (c == PDF) {
            if (depth > 0) {
                --depth;
            }
            continue;
        }
        const bool odd = c == RLE || c == RLO;
        int next = current.level + 1;
        if (((next & 1) != 0) != odd) {
            ++next;
        }
        if (next > MAX_LEVEL) {
            continue;
        }
        lev[i] = static_cast<signed char>(next);
        BYTE override = ON;
        if (c == RLO) {
            override = R;
        } else if (c == LRO) {
            override = L;
        }
        stack[++depth] = {static_cast<signed char>(next), override};
    }
}

void CBidiPara::resolveWeak() {
    BYTE* cls = classes.get() + 1;
    const signed char* lev = levels.get() + 1;
    for (int s = 0; s < length;) {
        const signed char level = lev[s];
        int e = s + 1;
        while (lev[e] == level) {
            ++e;
        }
        const BYTE sor = s == 0 ? direction(baseLevel) : direction(std::max(level, lev[s - 1]));

        // W1: marks take the class before them.
        for (int i = s; i < e; ++i) {
            if (cls[i] == NSM) {
                cls[i] = i == 0 ? sor : cls[i - 1];
            }
        }
        // W2, W3: European digits after Arabic letters are Arabic digits; AL is R.
        BYTE lastStrong = sor;
        for (int i = s; i < e; ++i) {
            const BYTE c = cls[i];
            if (c == L || c == R) {
                lastStrong = c;
            } else if (c == AL) {
                lastStrong = AL;
                cls[i] = R;
            } else if (c == EN && (lastStrong == R || lastStrong == AL)) {
                cls[i] = AN;
            }
        }
        // W4: single separators between digits of one kind.
        for (int i = s + 1; i < e - 1; ++i) {
            const BYTE c = cls[i];
            if (c == ES) {
                cls[i] = cls[i - 1] == EN && cls[i + 1] == EN ? EN : ON;
            } else if (c == CS) {
                const BYTE before = cls[i - 1];
                if (before == cls[i + 1] && (before == EN || before == AN)) {
                    cls[i] = before;
                } else {
                    cls[i] = ON;
                }
            }
        }
        if (cls[e - 1] == ES || cls[e - 1] == CS) {
            cls[e - 1] = ON;
        }
        // W5: terminators next to European digits join them; others are neutral.
        for (int i = s; i < e;) {
            if (cls[i] != ET) {
                ++i;
                continue;
            }
            int j = i;
            while (j < e && cls[j] == ET) {
                ++j;
            }
            const BYTE before = i == s ? sor : cls[i - 1];
            const BYTE to = before == EN || (j < e && cls[j] == EN) ? EN : ON;
            std::fill(cls + i, cls + j, to);
            i = j;
        }
        // W7: European digits in left-to-right context are L.
        lastStrong = sor;
        for (int i = s; i < e; ++i) {
            const BYTE c = cls[i];
            if (c == L || c == R) {
                lastStrong = c;
            } else if (c == EN && lastStrong == L) {
                cls[i] = L;
            }
        }
        s = e;
    }
}

void CBidiPara::resolveNeutrals() {
    BYTE* cls = classes.get() + 1;
    const signed char* lev = levels.get() + 1;
    for (int s = 0; s < length;) {
        const signed char level = lev[s];
        int e = s + 1;
        while (lev[e] == level) {
            ++e;
        }
        const BYTE sor = s == 0 ? direction(baseLevel) : direction(std::max(level, lev[s - 1]));
        const BYTE eor = e == length ? direction(baseLevel) : direction(std::max(level, lev[e]));
        for (int i = s; i < e;) {
            if (cls[i] != ON) {
                ++i;
                continue;
            }
            int j = i;
            while (j < e && cls[j] == ON) {
                ++j;
            }
            const BYTE before = i == s ? sor : strongOf(cls[i - 1]);
            const BYTE after = j == e ? eor : strongOf(cls[j]);
            const BYTE to = before == after && before != ON ? before : direction(level);
            std::fill(cls + i, cls + j, to);
            i = j;
        }
        s = e;
    }
}

void CBidiPara::resolveImplicit() {
    const BYTE* cls = classes.get() + 1;
    signed char* lev = levels.get() + 1;
    int highest = 0;
    int lowest = MAX_LEVEL;
    for (int i = 0; i < length; ++i) {
        const BYTE c = cls[i];
        int level = lev[i];
        if ((level & 1) == 0) {
            if (c == R) {
                level += 1;
            } else if (c == AN || c == EN) {
                level += 2;
            }
        } else if (c == L || c == EN || c == AN) {
            level += 1;
        }
        lev[i] = static_cast<signed char>(level);
        highest = std::max(highest, level);
        lowest = std::min(lowest, level);
    }
    maxLevel = static_cast<int16_t>(highest);
    minLevel = static_cast<int16_t>(lowest);
}

void CBidiPara::shape() {
    enum class Form { Isolated, Final, Initial, Medial, JoinedZwj };
    struct Letter {
        int pos;  // glyph position, -1 for none
        int row;
        Form form;
    };
    constexpr Letter kNone{-1, 0, Form::Isolated};

    const WCHAR* t = text.get();
    WCHAR* g = glyphs.get();
    WORD* v2l = visToLog.get();
    WORD* l2v = logToVis.get();
    const signed char* lev = levels.get() + 1;
    Letter previous = kNone;
    Letter beforePrevious = kNone;
    int o = -1;

    // Takes back the last glyph slot, which showed character i.
    auto takeBack = [&](int i, WORD mapTo) {
        g[o] = 0;
        v2l[o] = NO_GLYPH;
        l2v[i] = mapTo;
        --o;
    };
    // Removes the glyph at `pos` (its character keeps no glyph), moving later glyphs down.
    auto removeGlyph = [&](int pos) {
        l2v[v2l[pos]] = NO_GLYPH;
        for (int k = pos; k < o; ++k) {
            g[k] = g[k + 1];
            v2l[k] = v2l[k + 1];
            l2v[v2l[k]] = static_cast<WORD>(k);
        }
        g[o] = 0;
        v2l[o] = NO_GLYPH;
        --o;
    };
    auto formOf = [](int row, Form joined) { return row == kZwjRow ? Form::JoinedZwj : joined; };

    for (int i = 0; i < length; ++i) {
        const WCHAR ch = t[i];
        const int tableRow = charRows[i];
        const int row = tableRow < 0 ? 0 : CharTable[tableRow].joinRow;
        if (ch == kZwnj) {
            previous = beforePrevious = kNone;
        }
        if (row == kDrop) {
            continue;
        }
        ++o;
        g[o] = ch;
        v2l[o] = static_cast<WORD>(i);
        l2v[i] = static_cast<WORD>(o);
        if (row == 0) {
            if (tableRow < 0 || CharTable[tableRow].bidiClass != NSM) {
                previous = beforePrevious = kNone;
            }
            continue;
        }
        if (o > 0 && lev[v2l[o - 1]] != lev[i]) {
            previous = beforePrevious = kNone;
        }
        const JoinTableRow& forms = JoinTable[row];
        if (previous.pos < 0 || (lev[i] & 1) == 0) {
            g[o] = forms.isolated;
            previous = {o, row, (lev[i] & 1) == 0 ? Form::Isolated : formOf(row, Form::Isolated)};
            beforePrevious = kNone;
            continue;
        }
        const bool linksToLam = (forms.link >> 8) == kLamRow;
        const int ligature = forms.link & 0xFF;
        if (previous.form == Form::Isolated || previous.form == Form::Final) {
            const bool afterFinal = previous.form == Form::Final;
            if (previous.row == kLamRow && linksToLam) {
                const int lamPos = previous.pos;
                const WORD lam = v2l[lamPos];
                g[lamPos] = afterFinal ? JoinTable[ligature].final : JoinTable[ligature].isolated;
                takeBack(i, static_cast<WORD>(lamPos));
                partner[lam] = static_cast<WORD>(i);
                partner[i] = lam;
                previous = {lamPos, ligature, afterFinal ? Form::Final : Form::Isolated};
                continue;
            }
            const JoinTableRow& before = JoinTable[previous.row];
            const WCHAR joined = afterFinal ? before.medial : before.initial;
            if (joined != 0 && forms.final != 0) {
                g[previous.pos] = joined;
                g[o] = forms.final;
                beforePrevious = {previous.pos, previous.row,
                                  afterFinal ? Form::Medial : Form::Initial};
                previous = {o, row, formOf(row, Form::Final)};
                continue;
            }
            g[o] = forms.isolated;
            previous = {o, row, formOf(row, Form::Isolated)};
            beforePrevious = kNone;
            continue;
        }
        // The previous letter is a ZWJ that joined (or stands ready to join) this one.
        if (row == kZwjRow) {
            takeBack(i, NO_GLYPH);
            continue;
        }
        const int zwjPos = previous.pos;
        const int zwj = v2l[zwjPos];
        // Adjacent glyphs: whatever lies between them in the text has no glyph (a dropped
        // character or a second ZWJ) and, like them, does not count for joining.
        if (beforePrevious.pos >= 0 && beforePrevious.row == kLamRow && linksToLam &&
            zwjPos == beforePrevious.pos + 1 && o == zwjPos + 1) {
            // Lam, ZWJ, alef: one ligature at the lam's place, which joins nothing further.
            const int lamPos = beforePrevious.pos;
            const WORD lam = v2l[lamPos];
            g[lamPos] = beforePrevious.form == Form::Medial ? JoinTable[ligature].final
                                                            : JoinTable[ligature].isolated;
            takeBack(i, static_cast<WORD>(lamPos));
            takeBack(zwj, static_cast<WORD>(lamPos));
            partner[lam] = static_cast<WORD>(i);
            partner[zwj] = lam;
            partner[i] = lam;
            previous = {lamPos, ligature, Form::Isolated};
            beforePrevious = kNone;
            continue;
        }
        if (forms.final != 0) {
            removeGlyph(zwjPos);
            g[o] = forms.final;
            previous = {o, row, Form::Final};
            continue;
        }
        g[o] = forms.isolated;
        previous = {o, row, Form::Isolated};
        beforePrevious = kNone;
    }
    glyphCount = o + 1;
    std::fill(g + glyphCount, g + capacity, WCHAR{0});
}
