// Drawing a layout's picture from its keys: key faces with clear edges, function keys in
// their own colour, labels in the bold face, the alternate characters small in a corner; and
// encoding it as a compact indexed PNG for the skin file.
#pragma once

#include <cstdint>
#include <vector>

#include "SkinCompiler.h"

// The picture of `layout` at its own size, as 0x00RRGGBB pixels; empty when it could not be
// drawn.
std::vector<uint32_t> drawLayoutPicture(const CompiledLayout& layout, const Theme& theme);

// Encodes pixels as an 8-bit indexed PNG. Pictures with more than 256 colours (anti-aliased
// labels over many colours) lose the low bits of their channels until they fit. False only
// when encoding fails.
bool encodeSkinPicture(int width, int height, std::vector<uint32_t> pixels, std::vector<BYTE>& png);
