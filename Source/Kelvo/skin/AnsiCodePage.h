// The device's ANSI code page (Windows-1252) for the 8-bit names of container items: each byte
// is one UTF-16 code unit, and characters the code page lacks are written as '?'.
#pragma once

#include <string>
#include <string_view>

// The UTF-16 text an 8-bit ANSI string stands for.
std::u16string textFromAnsi(std::string_view bytes);

// The 8-bit ANSI form of a text. A character the code page lacks (a surrogate pair counts as
// one character) becomes '?'.
std::string ansiFromText(std::u16string_view text);

// Whether the 8-bit ANSI string stands for exactly this text.
bool ansiEquals(std::string_view bytes, std::u16string_view text);
