// What the shell's windows share: a window class of their own whose messages the framework
// routes to the window's object, and a top-level popup over one rectangle of the screen.
#pragma once

#include <afxwin.h>

// Registers `className` (once) and creates `window` as a visible popup covering `rect`.
bool createShellWindow(CWnd& window, LPCWSTR className, DWORD exStyle, LPCWSTR title,
                       const RECT& rect);
