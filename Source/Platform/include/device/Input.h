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

// WM_KEYDOWN / WM_KEYUP with a virtual key; the key state (GetKeyState) follows. lParam is
// as a keyboard makes it: repeat count 1, the scan code in bits 16-23, the previous state in
// bit 30 and the transition in bit 31; `extraBits` are or-ed in (kKeyNoCharacter).
bool keyDown(UINT vk, UINT scanCode = 0, LPARAM extraBits = 0);
bool keyUp(UINT vk, UINT scanCode = 0);

// A WM_KEYDOWN whose lParam carries this bit (one of the bits keyboards leave unused) makes no
// character in TranslateMessage: its character arrives as a WM_CHAR of its own, as when an
// input panel sends a character together with its key.
inline constexpr LPARAM kKeyNoCharacter = 0x02000000;
// WM_CHAR with the character, as an input panel's character output arrives; a keyboard's
// character carries the lParam of its key.
bool typeChar(WCHAR ch, LPARAM lParam = 1);

}  // namespace device
