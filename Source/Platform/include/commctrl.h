// Image lists: equal-sized images kept together (a toolbar's buttons, a SIP button's picture)
// with their transparency, added from bitmaps or icons and drawn by index.
#pragma once

#include "windef.h"

struct _IMAGELIST;
typedef struct _IMAGELIST* HIMAGELIST;

#define ILC_MASK 0x0001
#define ILC_COLOR 0x0000
#define ILC_COLORDDB 0x00FE
#define ILC_COLOR4 0x0004
#define ILC_COLOR8 0x0008
#define ILC_COLOR16 0x0010
#define ILC_COLOR24 0x0018
#define ILC_COLOR32 0x0020

#define ILD_NORMAL 0x0000
#define ILD_TRANSPARENT 0x0001
#define ILD_BLEND25 0x0002
#define ILD_BLEND50 0x0004
#define ILD_FOCUS ILD_BLEND25
#define ILD_SELECTED ILD_BLEND50
#define ILD_BLEND ILD_BLEND50
#define ILD_MASK 0x0010
#define ILD_IMAGE 0x0020

#define CLR_NONE 0xFFFFFFFFu
#define CLR_DEFAULT 0xFF000000u

// A list of cx × cy images. With ILC_MASK images keep their transparency; without it they are
// drawn opaque. cInitial and cGrow are capacity hints.
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int cInitial, int cGrow);
BOOL ImageList_Destroy(HIMAGELIST himl);
// Adds the bitmap cut into images of the list's width (a wide bitmap adds several); a mask
// bitmap's white pixels are transparent. Returns the first new image's index or -1. The
// bitmaps stay the caller's.
int ImageList_Add(HIMAGELIST himl, HBITMAP image, HBITMAP mask);
// As ImageList_Add, with every pixel of colour `mask` transparent.
int ImageList_AddMasked(HIMAGELIST himl, HBITMAP image, COLORREF mask);
// Replaces image i (or, with i = -1, adds one) with the icon, scaled to the list's size.
int ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON icon);
#define ImageList_AddIcon(himl, hicon) ImageList_ReplaceIcon(himl, -1, hicon)
BOOL ImageList_Remove(HIMAGELIST himl, int i);
// ILD_TRANSPARENT, or ILD_NORMAL with no background colour, leaves transparent pixels
// untouched; ILD_NORMAL with a background colour fills them with it. ILD_MASK draws the
// mask (black where opaque, white where transparent), ILD_IMAGE the colours opaque.
// ILD_BLEND25 and ILD_BLEND50 tint the image 25% or 50% with the highlight colour.
BOOL ImageList_Draw(HIMAGELIST himl, int i, HDC hdc, int x, int y, UINT fStyle);
int ImageList_GetImageCount(HIMAGELIST himl);
BOOL ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy);
// The colour ILD_NORMAL puts under transparent pixels (CLR_NONE: none); returns the previous.
COLORREF ImageList_SetBkColor(HIMAGELIST himl, COLORREF clrBk);
COLORREF ImageList_GetBkColor(HIMAGELIST himl);
