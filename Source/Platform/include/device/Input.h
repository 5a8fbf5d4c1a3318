// Input the device injects as a user would: stylus down, move and up at screen points, and
// keys and characters for the focused window of the foreground program. Each call posts into
// the message queue of the thread that owns the receiving window and returns at once; false
// when no window receives it.
#pragma once

#include "windef.h"

namespace device {

bool stylusDown(int x, int y);
bool stylusMove(int x, int y);
bool stylusUp(int x, int y);

// WM_KEYDOWN / WM_KEYUP with a virtual key; the key state (GetKeyState) follows.
bool keyDown(UINT vk);
bool keyUp(UINT vk);
// WM_CHAR with the character, as an input panel's character output arrives.
bool typeChar(WCHAR ch);

}  // namespace device
