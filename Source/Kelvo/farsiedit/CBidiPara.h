// CBidiPara: one paragraph of the Farsi edit control's text, laid out for display: bidi levels
// resolved over the built-in character table, Arabic-script letters shaped into presentation
// forms, the glyphs broken into lines, reordered visually, measured and drawn through a DC.
#pragma once

#include <windef.h>
#include <wingdi.h>

#include <cstdint>
#include <memory>
#include <string>

class CBidiPara {
public:
    // Highest explicit embedding level; an embedding that would go deeper opens nothing.
    static constexpr int MAX_LEVEL = 61;
    // The map value of a glyph slot or character that has no counterpart.
    static constexpr WORD NO_GLYPH = 0xFFFF;
    // Longest paragraph: the maps and line lengths are 16-bit with NO_GLYPH as a sentinel, so
    // no index or count may reach 0xFFFF.
    static constexpr int MAX_LENGTH = 0xFFFE;
    // What LineFirstChar reports for a line without glyphs.
    static constexpr int EMPTY_LINE = 100000;

    CBidiPara();
    virtual ~CBidiPara();
    CBidiPara(const CBidiPara&) = delete;
    CBidiPara& operator=(const CBidiPara&) = delete;

    // Takes the characters of `str` up to the first NUL, LF, CR or U+2029, at most MAX_LENGTH
    // of them (the rest is dropped); returns how many were taken. A null `str` is empty.
    int SetText(const WCHAR* str);
    // Insert `count` characters before logical position `index` (0..length) / after position
    // `index`. False, changing nothing, when the position or count is invalid or the paragraph
    // would grow beyond MAX_LENGTH.
    bool InsertAt(int index, const WCHAR* chars, int count);
    bool InsertAfter(int index, const WCHAR* chars, int count);
    // Removes up to `count` characters at `index`; false when there is nothing to remove.
    bool Delete(int index, int count);

    // Resolves levels and shapes the current text; line information is discarded.
    void Layout();
    // Breaks the glyphs into lines no wider than `width` pixels on `dc` (width < 1: no
    // wrapping), then applies the line rules and reorders each line. Returns the widest line.
    int Wrap(HDC dc, int width);

    // Width of a glyph string with marks counting zero; count -1 means up to NUL.
    static int TextWidth(HDC dc, const WCHAR* chars, int count);
    // Draws a glyph string at (x, y), each mark over the glyph it belongs to: the glyph after
    // it when the mark's level (in `glyphLevels`, one per glyph) is odd, else the one before.
    // Without levels, right-aligned strings are taken as right-to-left, others left-to-right.
    static void DrawRuns(HDC dc, int x, int y, const RECT* clip, const WCHAR* chars, int count,
                         const signed char* glyphLevels = nullptr);
    // Draws line `line` and inverts the parts of it in the logical range [selStart, selEnd).
    void DrawLine(HDC dc, int x, int y, int selStart, int selEnd, const RECT* clip, int lineHeight,
                  int line) const;

    // The next / previous logical index after / before `i` that has a glyph, or -1.
    int NextVisible(int i) const;
    int PrevVisible(int i) const;
    // Smallest logical index shown on the line (EMPTY_LINE for an empty line), -1 for no line.
    int LineFirstChar(int line) const;
    // Largest logical index shown on the line, counting the alef that shares a lam's glyph;
    // -1 for an empty line or no line.
    int LineLastChar(int line) const;
    // The line's glyphs in visual order.
    std::u16string LineGlyphs(int line) const;
    // Index of the line's first glyph in `glyphs`, -1 for no line.
    int LineStart(int line) const;

    // Resolved class and level of logical character i, with the sentinels (255 and -1)
    // before the first character and from `length` on.
    BYTE ClassAt(int i) const { return classes[i + 1]; }
    signed char LevelAt(int i) const { return levels[i + 1]; }

    int32_t paraIndex;
    int32_t firstLine;
    std::unique_ptr<WCHAR[]> text;
    int32_t capacity;
    int32_t length;
    int32_t glyphCount;
    std::unique_ptr<WCHAR[]> glyphs;
    // Entry 0 is the sentinel in front; character i is at i + 1.
    std::unique_ptr<BYTE[]> classes;
    std::unique_ptr<signed char[]> levels;
    std::unique_ptr<WORD[]> visToLog;
    std::unique_ptr<WORD[]> logToVis;
    std::unique_ptr<WORD[]> lineLengths;
    int32_t baseLevel;
    int16_t maxLevel;
    int16_t minLevel;
    int32_t lineCount;

private:
    enum class Contents { Keep, Discard };

    // Reallocates every array to `newCapacity`, keeping the text when asked.
    void reallocate(int newCapacity, Contents contents);
    void resetMaps();
    void resolveExplicit();
    void resolveWeak();
    void resolveNeutrals();
    void resolveImplicit();
    void shape();
    int breakLines(HDC dc, int width);
    void measurePrefixes(HDC dc);
    void resetWhitespaceLevels();
    void mirror();
    void reorder();

    // CharTable row of each logical character (-1: not in the table), filled by Layout.
    std::unique_ptr<int16_t[]> charRows;
    // For a lam that became a ligature, the last character sharing its glyph; for those
    // characters, the lam. NO_GLYPH elsewhere.
    std::unique_ptr<WORD[]> partner;
    // Level of each glyph, in visual order after Wrap.
    std::unique_ptr<signed char[]> glyphLevels;
    // While lines are broken: entry k is the width of the first k glyphs.
    std::unique_ptr<int[]> prefixWidths;
    // Wrap has reordered the glyphs since the last Layout.
    bool wrapped;
};
