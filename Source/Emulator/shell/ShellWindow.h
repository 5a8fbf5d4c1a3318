// What the shell's windows share: a window class of their own whose messages the framework
// routes to the window's object, a top-level popup over one rectangle of the screen, and the
// start of their painting (the bars' colours among it).
#pragma once

#include <afxwin.h>

// The title and menu bars' ground and text.
inline constexpr COLORREF kBarColour = RGB(0, 40, 120);
inline constexpr COLORREF kBarTextColour = RGB(255, 255, 255);

// Registers `className` (once) and creates `window` as a visible popup covering `rect`.
bool createShellWindow(CWnd& window, LPCWSTR className, DWORD exStyle, LPCWSTR title,
                       const RECT& rect);

// Starts painting `window` on `dc`: the client area filled with `ground`, then text drawn
// transparent in `text` with `font`. Returns the client rectangle.
RECT beginShellPaint(CDC& dc, const CWnd& window, COLORREF ground, COLORREF text, HFONT font);
