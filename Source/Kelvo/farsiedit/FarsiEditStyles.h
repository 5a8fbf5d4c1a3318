// The Farsi edit control's style bits, the commands its keys and menu run, and its window
// class name: what the code that places a control needs to know.
#pragma once

#include <windef.h>

inline constexpr WCHAR kFarsiEditClass[] = u"FarsiEditCtrl";

// Horizontal alignment (0 is taken as right).
inline constexpr DWORD FES_ALIGNMASK = 0x0003;
inline constexpr DWORD FES_LEFT = 0x0001;
inline constexpr DWORD FES_CENTER = 0x0002;
inline constexpr DWORD FES_RIGHT = 0x0003;
inline constexpr DWORD FES_MULTILINE = 0x0004;
// Each paragraph aligned by its own direction instead of by the alignment bits.
inline constexpr DWORD FES_BYDIRECTION = 0x0008;
// Vertical place of a text shorter than the view.
inline constexpr DWORD FES_VALIGNMASK = 0x0030;
inline constexpr DWORD FES_TOP = 0x0010;
inline constexpr DWORD FES_VCENTER = 0x0020;
inline constexpr DWORD FES_BOTTOM = 0x0030;
// A vertical scroll bar on the left side.
inline constexpr DWORD FES_VSCROLL = 0x0040;
// No wrapping, a horizontal scroll bar at the bottom.
inline constexpr DWORD FES_HSCROLL = 0x0080;
// A read-only control posts typed characters to its parent.
inline constexpr DWORD FES_FORWARDCHARS = 0x0200;
inline constexpr DWORD FES_READONLY = 0x0800;
// Enter makes a new paragraph.
inline constexpr DWORD FES_WANTRETURN = 0x1000;
inline constexpr DWORD FES_DIGITSONLY = 0x2000;
// The Tab key stays with the control.
inline constexpr DWORD FES_WANTTAB = 0x4000;

// lParam of the WM_CHAR a read-only control forwards to its parent.
inline constexpr LPARAM kForwardedCharMark = 0xFAED;

// Commands, from the control's keys or its menu.
inline constexpr UINT ID_FE_LEFT = 0x9471;
inline constexpr UINT ID_FE_RIGHT = 0x9472;
inline constexpr UINT ID_FE_UP = 0x9473;
inline constexpr UINT ID_FE_DOWN = 0x9474;
inline constexpr UINT ID_FE_END = 0x9475;
inline constexpr UINT ID_FE_HOME = 0x9476;
inline constexpr UINT ID_FE_PAGEUP = 0x9477;
inline constexpr UINT ID_FE_PAGEDOWN = 0x9478;
inline constexpr UINT ID_FE_NEWPARA = 0x947A;
inline constexpr UINT ID_FE_TAB = 0x947B;
inline constexpr UINT ID_FE_ESCAPE = 0x947C;
inline constexpr UINT ID_FE_DELETE = 0x947D;
inline constexpr UINT ID_FE_COPY = 0x947E;
inline constexpr UINT ID_FE_PASTE = 0x947F;
inline constexpr UINT ID_FE_CUT = 0x9480;
inline constexpr UINT ID_FE_SELECTALL = 0x9481;
