// Where a string's ink lies relative to the point it is drawn at: glyphs may reach beyond their
// advance (Arabic letters' tails, italic overhangs, marks with no width), which only drawing
// them shows.
#pragma once

#include <windef.h>
#include <wingdi.h>

// The box of the pixels that drawing `count` characters with the DC's font at (0, 0), aligned
// TA_LEFT | TA_TOP, would darken, faint anti-aliased edges included. Empty (left >= right) when
// the text leaves no ink or cannot be measured.
RECT TextInkBounds(HDC dc, const WCHAR* text, int count);
