// The common controls: image lists (equal-sized images kept together, a toolbar's buttons, a
// SIP button's picture, with their transparency, added from bitmaps or icons and drawn by
// index), and below them the trackbar, tab control, toolbar and property sheets.
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

// ---- Common controls ------------------------------------------------------------------------
// The trackbar, the tab control and the toolbar (the command bar's window), and property
// sheets (prsht.h). Their notifications reach the parent as WM_NOTIFY, WM_HSCROLL or
// WM_COMMAND.

#include "winuser.h"

#define NM_FIRST 0u

// Trackbar: a thumb moved along a channel between a minimum and a maximum position.
#define TRACKBAR_CLASSW u"msctls_trackbar32"

#define TBS_AUTOTICKS 0x0001
#define TBS_VERT 0x0002
#define TBS_HORZ 0x0000
#define TBS_TOP 0x0004
#define TBS_BOTTOM 0x0000
#define TBS_LEFT 0x0004
#define TBS_RIGHT 0x0000
#define TBS_BOTH 0x0008
#define TBS_NOTICKS 0x0010
#define TBS_NOTHUMB 0x0080

#define TBM_GETPOS (WM_USER)
#define TBM_GETRANGEMIN (WM_USER + 1)
#define TBM_GETRANGEMAX (WM_USER + 2)
#define TBM_SETPOS (WM_USER + 5)
#define TBM_SETRANGE (WM_USER + 6)
#define TBM_SETRANGEMIN (WM_USER + 7)
#define TBM_SETRANGEMAX (WM_USER + 8)
#define TBM_SETTICFREQ (WM_USER + 20)
#define TBM_SETPAGESIZE (WM_USER + 21)
#define TBM_GETPAGESIZE (WM_USER + 22)
#define TBM_SETLINESIZE (WM_USER + 23)
#define TBM_GETLINESIZE (WM_USER + 24)
#define TBM_GETTHUMBRECT (WM_USER + 25)
#define TBM_GETCHANNELRECT (WM_USER + 26)

// WM_HSCROLL codes a trackbar sends its parent (low word of wParam; the high word carries the
// position for TB_THUMBTRACK and TB_THUMBPOSITION; lParam is the trackbar).
#define TB_LINEUP 0
#define TB_LINEDOWN 1
#define TB_PAGEUP 2
#define TB_PAGEDOWN 3
#define TB_THUMBPOSITION 4
#define TB_THUMBTRACK 5
#define TB_TOP 6
#define TB_BOTTOM 7
#define TB_ENDTRACK 8

// Tab control: a row of labelled tabs, one of them selected.
#define WC_TABCONTROLW u"SysTabControl32"

#define TCS_BOTTOM 0x0002
#define TCS_FOCUSNEVER 0x8000

#define TCIF_TEXT 0x0001
#define TCIF_PARAM 0x0008

typedef struct tagTCITEMW {
    UINT mask;
    DWORD dwState;
    DWORD dwStateMask;
    LPWSTR pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
} TCITEMW, *LPTCITEMW;

typedef struct tagTCHITTESTINFO {
    POINT pt;
    UINT flags;
} TCHITTESTINFO, *LPTCHITTESTINFO;

#define TCHT_NOWHERE 0x0001
#define TCHT_ONITEM 0x0006

#define TCM_FIRST 0x1300
#define TCM_GETITEMCOUNT (TCM_FIRST + 4)
#define TCM_DELETEITEM (TCM_FIRST + 8)
#define TCM_DELETEALLITEMS (TCM_FIRST + 9)
#define TCM_GETITEMRECT (TCM_FIRST + 10)
#define TCM_GETCURSEL (TCM_FIRST + 11)
#define TCM_SETCURSEL (TCM_FIRST + 12)
#define TCM_HITTEST (TCM_FIRST + 13)
#define TCM_ADJUSTRECT (TCM_FIRST + 40)
#define TCM_GETITEMW (TCM_FIRST + 60)
#define TCM_SETITEMW (TCM_FIRST + 61)
#define TCM_INSERTITEMW (TCM_FIRST + 62)

#define TCN_FIRST (0u - 550u)
#define TCN_SELCHANGE (TCN_FIRST - 1)
#define TCN_SELCHANGING (TCN_FIRST - 2)

// Toolbar: the window of a command bar, a bar along its parent's top edge.
#define TOOLBARCLASSNAMEW u"ToolbarWindow32"

#define CCS_TOP 0x00000001L
#define CCS_NORESIZE 0x00000004L
#define CCS_NOPARENTALIGN 0x00000008L
#define CCS_BOTTOM 0x00000003L
#define TBSTYLE_FLAT 0x0800

#define TB_BUTTONCOUNT (WM_USER + 24)
#define TB_AUTOSIZE (WM_USER + 33)

#define WC_TABCONTROL WC_TABCONTROLW
#define TOOLBARCLASSNAME TOOLBARCLASSNAMEW
#define TRACKBAR_CLASS TRACKBAR_CLASSW
#define TCITEM TCITEMW
#define TCM_GETITEM TCM_GETITEMW
#define TCM_SETITEM TCM_SETITEMW
#define TCM_INSERTITEM TCM_INSERTITEMW

#include "prsht.h"
