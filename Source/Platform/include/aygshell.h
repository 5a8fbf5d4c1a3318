// The Pocket PC shell's helpers for programs (aygshell): what the device's programs and
// libraries call beyond the core window manager.
#pragma once

#include "windef.h"

// ---- Input panel ----------------------------------------------------------------------

// What a program keeps about the input panel for its main window; cbSize must be set.
typedef struct tagSHACTIVATEINFO {
    DWORD cbSize;
    HWND hwndLastFocus;
    UINT fSipUp : 1;  // the panel was up when the window last heard of it
    UINT fSipOnDeactivation : 1;
    UINT fActive : 1;
    UINT fReserved : 29;
} SHACTIVATEINFO, *PSHACTIVATEINFO;

// A program's WM_SETTINGCHANGE: when the input panel was shown, hidden or resized
// (SPI_SETSIPINFO), or the screen or the work area changed (SETTINGCHANGE_RESET,
// SPI_SETWORKAREA), a top-level window is moved over the visible desktop, the work area less
// the panel when it is up, and psai->fSipUp records whether it is. Other settings change
// nothing. FALSE for a window that does not exist or a psai without its cbSize.
BOOL SHHandleWMSettingChange(HWND hwnd, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* psai);

// SystemParametersInfo for the input panel: SPI_GETSIPINFO reads the SIPINFO at pvParam
// (SipGetInfo), SPI_SETSIPINFO sets it (SipSetInfo); any other action fails with
// ERROR_INVALID_PARAMETER.
BOOL SHSipInfo(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni);

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
