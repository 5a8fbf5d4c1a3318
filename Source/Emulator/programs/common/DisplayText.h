// Short texts (a name, a label) as the device programs show them: Farsi and Arabic letters
// shaped and the text put in display order by the bidi paragraph layout, then measured or drawn
// on one line in the DC's current font, shortened with an ellipsis where it does not fit.
#pragma once

#include <windef.h>

#include <string>
#include <string_view>

struct DisplayGlyphs {
    std::u16string glyphs;  // left to right as shown
    bool rightToLeft = false;
};

// The text up to its first line break, laid out on one line.
DisplayGlyphs displayGlyphs(HDC dc, std::u16string_view text);
int displayWidth(HDC dc, std::u16string_view text);

enum class TextAlign { Left, Centre, Right };
// Draws the text vertically centred in `box`, clipped to it; a text wider than the box loses
// its logical end (its right for left-to-right text, its left for right-to-left) to "…".
void drawDisplayText(HDC dc, const RECT& box, std::u16string_view text, TextAlign align);
