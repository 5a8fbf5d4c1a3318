// The device's two games, in the Start menu's Games folder: Puzzle ("puzzle.exe"), the
// tile-sliding puzzle, and Memory ("memory.exe"), the pairs game. Both are played with the
// stylus (the puzzle also with the arrow keys) and say when they are won.
#pragma once

#include <windef.h>
#include <wingdi.h>

inline constexpr WCHAR kPuzzleWindowClass[] = u"PuzzleWindow";
inline constexpr WCHAR kPuzzleTitle[] = u"Puzzle";
inline constexpr WCHAR kMemoryWindowClass[] = u"MemoryWindow";
inline constexpr WCHAR kMemoryTitle[] = u"Memory";

// The colour of the puzzle's gap.
inline constexpr COLORREF kPuzzleGapColour = RGB(210, 214, 222);

// How long two different cards stay face up before they turn back, in milliseconds.
inline constexpr UINT kMemoryMismatchMs = 1000;

// Put "puzzle.exe" and "memory.exe" in the device's program table.
void registerPuzzleProgram();
void registerMemoryProgram();
