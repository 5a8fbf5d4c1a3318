// Icons: loading them from a module's icon resources, making them from bitmaps, drawing and
// destroying them. An icon keeps straight-alpha pixels: 32-bit images keep their alpha, older
// images take theirs from the AND mask (set bits are transparent).
#pragma once

#include "windef.h"

typedef struct _ICONINFO {
    BOOL fIcon;
    DWORD xHotspot;
    DWORD yHotspot;
    HBITMAP hbmMask;
    HBITMAP hbmColor;
} ICONINFO, *PICONINFO;

#define DI_MASK 0x0001
#define DI_IMAGE 0x0002
#define DI_NORMAL 0x0003
#define DI_COMPAT 0x0004
#define DI_DEFAULTSIZE 0x0008

// The size LoadIconW looks for, and DrawIcon and DI_DEFAULTSIZE draw at.
#define KELVO_DEFAULT_ICON_SIZE 32

// Icon group resource `name` of `instance`, the image nearest to 32 × 32 at its own size.
// System icons (a null instance) are not provided: null.
HICON LoadIconW(HINSTANCE instance, LPCWSTR name);
// hbmColor's pixels with hbmMask's transparency (white mask pixels are transparent); both
// bitmaps stay the caller's. Null when either is missing or their sizes differ.
HICON CreateIconIndirect(PICONINFO iconInfo);
BOOL DestroyIcon(HICON icon);
// Draws at (x, y) in cx × cy (0: the icon's own size, or 32 with DI_DEFAULTSIZE), scaled
// when that differs from the icon's size. DI_NORMAL blends by the icon's transparency,
// DI_IMAGE draws its colours opaque, DI_MASK blackens where the icon is opaque. A
// flicker-free brush fills cx × cy first. istepIfAniCur is ignored.
BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int cx, int cy, UINT istepIfAniCur,
                HBRUSH hbrFlickerFreeDraw, UINT diFlags);
// DrawIconEx at the default size, DI_NORMAL.
BOOL DrawIcon(HDC hdc, int x, int y, HICON icon);
// New colour (32-bit) and mask (1-bit, set = transparent) bitmaps of the icon, which the
// caller deletes; the hot spot is the icon's centre.
BOOL GetIconInfo(HICON icon, PICONINFO iconInfo);
