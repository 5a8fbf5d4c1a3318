// Measuring and drawing runs of text with a DC's font, shared by ExtTextOutW and DrawTextW.
// Code points are drawn one by one as given: no shaping, no reordering, no fallback.
#pragma once

#include <vector>

#include "gdi/DcAccess.h"
#include "gdi/FontFace.h"

namespace platform {

// The selected font's face; null when the DC has no usable font.
FontFace* dcFace(DeviceContext& dc);

// The advance of each character (UTF-16 units are code points here; surrogates are boxes).
void textAdvances(FontFace& face, const char16_t* text, int count, std::vector<int>& out);
int64_t textWidth(FontFace& face, const char16_t* text, int count);

struct TextRun {
    const char16_t* text = nullptr;
    int count = 0;
    const int* advances = nullptr;  // one per character
    int64_t penX = 0;               // surface coordinates of the first pen position
    int64_t baselineY = 0;
};

// Draws the run's glyphs in `color`, clipped to the DC's clip and to `limit` (surface
// coordinates), with the font's underline and strike-out.
void drawTextRun(DrawTarget& target, FontFace& face, const LOGFONTW& font, const TextRun& run,
                 uint32_t color, const RECT& limit);

// A rectangle that limits nothing.
RECT unlimited();

}  // namespace platform
