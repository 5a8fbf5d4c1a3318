// The built-in programs' icons: icon groups of kvemu's own resources (Source/Emulator/
// resources.txt names the same numbers), each with a 16 x 16 and a 32 x 32 image.
#pragma once

#include <windef.h>

inline constexpr WORD kNotesIcon = 3001;
inline constexpr WORD kContactsIcon = 3002;
inline constexpr WORD kCalendarIcon = 3003;
inline constexpr WORD kPuzzleIcon = 3004;
inline constexpr WORD kMemoryIcon = 3005;
inline constexpr WORD kHelpIcon = 3006;
