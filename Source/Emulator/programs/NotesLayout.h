// How the Notes text lies on its page: each paragraph laid out by CBidiPara (shaped, in bidi
// order, wrapped to the page width), its lines aligned to the paragraph's direction (right for
// a right-to-left paragraph), and the maps between caret positions and points on the page.
#pragma once

#include <windef.h>

#include <memory>
#include <vector>

#include "farsiedit/CBidiPara.h"
#include "programs/NotesText.h"

class NotesLayout {
public:
    // Measures with `dc` (borrowed; the text's font selected in it) on a page `width` pixels
    // wide, each line `lineHeight` pixels high.
    NotesLayout(HDC dc, int width, int lineHeight);

    // A new page width: every paragraph is wrapped again.
    void setWidth(int width);
    int width() const { return m_width; }
    int lineHeight() const { return m_lineHeight; }

    // Lays out the whole text again / only the paragraphs an edit replaced.
    void rebuild(const NotesText& text);
    void apply(const NotesText& text, const TextChange& change);

    // Lines of the whole text; every paragraph has at least one.
    int lineCount() const { return m_lineCount; }

    // Where the caret of a position stands: the text's line and the x of its edge on the page.
    struct Place {
        int line = 0;
        int x = 0;
    };
    Place placeOf(TextPosition position) const;
    // The position nearest to page point x on a line of the text (clamped to the text).
    TextPosition positionAt(int line, int x) const;
    // The logical start / end of the line the position stands on. The end stays before a
    // space that ends a wrapped line, so that the caret stays on that line.
    TextPosition lineStart(TextPosition position) const;
    TextPosition lineEnd(TextPosition position) const;
    // True for a right-to-left paragraph (one whose first strong letter is Farsi or Arabic).
    bool rightToLeft(int para) const;
    // True when the caret cannot stand at the position: between two characters shown by one
    // glyph (a lam-alef ligature). Caret movement steps over it.
    bool insideGlyph(TextPosition position) const;

    // Draws one line of the text with its left page edge at x0 and its top at y.
    void drawLine(HDC dc, int line, int x0, int y, const RECT* clip) const;

private:
    struct Line {
        int start = 0;           // first glyph in the paragraph's glyphs
        int count = 0;           // glyphs on the line
        int left = 0;            // page x of the line's left end
        std::vector<int> edges;  // x of each glyph boundary from the line's left end
    };
    struct Para {
        std::unique_ptr<CBidiPara> bidi;
        std::vector<Line> lines;
        int firstLine = 0;
    };

    Para layOut(const std::u16string& text, int inheritedBase) const;
    void renumber();
    // The paragraph and its line of a line of the whole text (clamped).
    const Para& paraOfLine(int line, int* paraIndex, int* lineInPara) const;
    // The line of `para` showing glyph `glyph`.
    static int lineOfGlyph(const Para& para, int glyph);
    // Logical offset of the position at glyph boundary `column` of a line.
    static int offsetAtColumn(const Para& para, int line, int column);

    HDC m_dc;
    int m_width;
    int m_lineHeight;
    std::vector<Para> m_paras;
    int m_lineCount = 0;
};
