// Property sheets: a modal window of pages, each a dialog made from its own template when it is
// first shown, chosen by the tabs along the sheet's bottom edge, with OK and Cancel. Pages are
// told of their activation and of the sheet's end through WM_NOTIFY (PSN_*). Included by
// commctrl.h.
#pragma once

#include "winuser.h"

struct _PROPSHEETPAGEW;
// Called with PSPCB_CREATE before the page's dialog is made (0 refuses the page) and with
// PSPCB_RELEASE when the sheet ends.
typedef UINT(CALLBACK* LPFNPSPCALLBACKW)(HWND hwnd, UINT message, struct _PROPSHEETPAGEW* page);
// Called with PSCB_INITIALIZED once the sheet window has its pages' tabs.
typedef int(CALLBACK* PFNPROPSHEETCALLBACK)(HWND hwnd, UINT message, LPARAM lParam);

typedef struct _PROPSHEETPAGEW {
    DWORD dwSize;
    DWORD dwFlags;
    HINSTANCE hInstance;
    LPCWSTR pszTemplate;
    LPCWSTR pszIcon;
    LPCWSTR pszTitle;  // the tab's text with PSP_USETITLE, else the template's caption
    DLGPROC pfnDlgProc;
    LPARAM lParam;  // the page's own value; WM_INITDIALOG's lParam points to the sheet's copy
    LPFNPSPCALLBACKW pfnCallback;
    UINT* pcRefParent;
} PROPSHEETPAGEW, *LPPROPSHEETPAGEW;
typedef const PROPSHEETPAGEW* LPCPROPSHEETPAGEW;

typedef struct _PROPSHEETHEADERW {
    DWORD dwSize;
    DWORD dwFlags;
    HWND hwndParent;
    HINSTANCE hInstance;
    LPCWSTR pszIcon;
    LPCWSTR pszCaption;
    UINT nPages;
    UINT nStartPage;
    LPCPROPSHEETPAGEW ppsp;
    PFNPROPSHEETCALLBACK pfnCallback;
} PROPSHEETHEADERW, *LPPROPSHEETHEADERW;
typedef const PROPSHEETHEADERW* LPCPROPSHEETHEADERW;

typedef struct _PSHNOTIFY {
    NMHDR hdr;
    LPARAM lParam;
} PSHNOTIFY, *LPPSHNOTIFY;

#define PSP_DEFAULT 0x00000000
#define PSP_USETITLE 0x00000008
#define PSP_USECALLBACK 0x00000080

#define PSPCB_RELEASE 1
#define PSPCB_CREATE 2

#define PSH_DEFAULT 0x00000000
#define PSH_PROPSHEETPAGE 0x00000008
#define PSH_NOAPPLYNOW 0x00000080
#define PSH_USECALLBACK 0x00000100

#define PSCB_INITIALIZED 1

#define PSN_FIRST (0u - 200u)
#define PSN_SETACTIVE (PSN_FIRST - 0)
#define PSN_KILLACTIVE (PSN_FIRST - 1)
#define PSN_APPLY (PSN_FIRST - 2)
#define PSN_RESET (PSN_FIRST - 3)
#define PSN_QUERYCANCEL (PSN_FIRST - 9)

#define PSNRET_NOERROR 0
#define PSNRET_INVALID 1
#define PSNRET_INVALID_NOCHANGEPAGE 2

#define PSM_SETCURSEL (WM_USER + 101)
#define PSM_PRESSBUTTON (WM_USER + 113)
#define PSM_GETTABCONTROL (WM_USER + 116)
#define PSM_GETCURRENTPAGEHWND (WM_USER + 118)

#define PSBTN_OK 1
#define PSBTN_CANCEL 5

// The tab control's id in the sheet.
#define IDC_PROPSHEET_TABCONTROL 0x3020

// Runs the sheet modally (the owner disabled, as for a modal dialog), starting at page
// nStartPage. Pages must be given as PROPSHEETPAGEW structures (PSH_PROPSHEETPAGE). OK sends
// PSN_KILLACTIVE to the page shown, then PSN_APPLY to every page that was made, in order; any
// page may refuse. Cancel sends PSN_QUERYCANCEL, then PSN_RESET to the pages made. Returns 1
// after OK, 0 after Cancel, -1 when the sheet could not be made.
INT_PTR PropertySheetW(LPCPROPSHEETHEADERW header);

#define PROPSHEETPAGE PROPSHEETPAGEW
#define PROPSHEETHEADER PROPSHEETHEADERW
#define PropertySheet PropertySheetW
