// The Pocket PC shell's helpers for programs (aygshell): what the device's programs and
// libraries call beyond the core window manager.
#pragma once

#include "windef.h"

// ---- Tap-and-hold -----------------------------------------------------------------------

// SHRecognizeGesture's request: the window and the client point where the stylus went down.
typedef struct tagSHRGI {
    DWORD cbSize;
    HWND hwndClient;
    POINT ptDown;
    DWORD dwFlags;
} SHRGINFO, *PSHRGINFO;

#define SHRG_RETURNCMD 0x00000001
#define SHRG_NOTIFYPARENT 0x00000002
#define SHRG_LONGDELAY 0x00000008
#define SHRG_NOANIMATION 0x00000010

// The gesture a held stylus makes.
#define GN_CONTEXTMENU 1000

// Called on a stylus down: waits while the stylus stays down within a few pixels of the point;
// GN_CONTEXTMENU once it has been held for the device's hold time, 0 as soon as it moves away
// or comes up (its messages stay queued for the window).
DWORD SHRecognizeGesture(SHRGINFO* shrg);
