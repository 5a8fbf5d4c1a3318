// System colour brushes for FillRect: Windows lets a program pass a system colour index plus
// one where a brush is expected ((HBRUSH)(COLOR_WINDOW + 1)). The window manager, which owns
// the system colours, hands the GDI the function that gives the brush of an index.
#pragma once

#include <windef.h>

namespace platform {

// Colour indexes below this, plus one, are taken as system colours by FillRect.
constexpr int kSystemColorCount = 31;

// `brushOf(index)` returns the stock brush of a system colour, or null for an unknown index.
void setSystemColorBrushSource(HBRUSH (*brushOf)(int index));

// The brush a FillRect argument stands for: the argument itself, or a system colour's brush.
HBRUSH resolveBrushArgument(HBRUSH brush);

}  // namespace platform
