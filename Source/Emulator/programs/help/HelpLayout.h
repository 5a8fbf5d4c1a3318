// How a help topic lies on the page: each block's text broken into lines at spaces (a word wider
// than the page at its characters), Farsi and Arabic words shaped and every line put in display
// order by the bidi paragraph layout's levels, list items indented behind their markers, and the
// lines stacked with the spacing of their blocks. Also where the links are on the page.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "programs/common/GdiScope.h"
#include "programs/help/HelpDocument.h"

// The fonts of a help page, made as they are first needed: body text, bold, italic, code, the
// underlined forms for links, and three heading sizes.
class HelpFonts {
public:
    explicit HelpFonts(int scale) : m_scale(scale) {}

    struct Face {
        HFONT font = nullptr;
        int ascent = 0;
        int height = 0;
        int space = 0;  // the width of a space
    };
    // `heading` is the block's heading level (0 for none).
    const Face& face(HDC measure, uint8_t style, bool link, int heading);

private:
    struct Owned {
        FontHandle font;
        Face face;
    };
    int m_scale;
    std::map<int, Owned> m_faces;
};

// Colours of a help page.
inline constexpr COLORREF kHelpText = RGB(0, 0, 0);
inline constexpr COLORREF kHelpHeading = RGB(0, 50, 130);
inline constexpr COLORREF kHelpLink = RGB(0, 70, 200);
inline constexpr COLORREF kHelpRule = RGB(190, 196, 206);

struct HelpPiece {
    int x = 0;  // from the page's left edge
    int width = 0;
    std::u16string glyphs;  // left to right as shown
    HFONT font = nullptr;
    int ascent = 0;
    COLORREF colour = kHelpText;
    int link = -1;
};

struct HelpLine {
    size_t block = 0;  // the block the line belongs to
    int top = 0;
    int height = 0;
    int baseline = 0;  // from the line's top
    bool rule = false;
    std::vector<HelpPiece> pieces;
};

// A place on the page that outlives a new layout of the same blocks (at another width): the
// n-th line of a block and how far down into it.
struct HelpPlace {
    size_t block = 0;
    size_t line = 0;
    int offset = 0;
};

class HelpLayout {
public:
    // Lays out `blocks` on a page `width` pixels wide, measuring with `measure`.
    void build(const std::vector<HelpBlock>& blocks, HDC measure, HelpFonts& fonts, int width,
               int scale);
    int height() const { return m_height; }
    const std::vector<HelpLine>& lines() const { return m_lines; }
    // The link under a point of the page, -1 for none.
    int linkAt(POINT page) const;
    // The place at a height of the page; nothing above the first line or on an empty page.
    std::optional<HelpPlace> placeAt(int y) const;
    // The height of a place on this page: its block's last line when the block has fewer lines
    // now, the page's end when the block is gone.
    int topOf(const HelpPlace& place) const;
    // Draws the lines that show in `view` (window coordinates) with the page scrolled by `top`.
    void draw(HDC dc, const RECT& view, int top) const;

private:
    std::vector<HelpLine> m_lines;
    int m_height = 0;
};
