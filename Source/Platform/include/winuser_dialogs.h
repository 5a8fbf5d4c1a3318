// Dialogs and the standard controls of the window manager: dialog boxes made from dialog
// templates (modal and modeless), their keyboard handling and dialog units, and the push
// button, check box, static and drop-down list combo box controls, spelled and numbered as on
// Windows CE. Included by winuser.h.
#pragma once

#include "windef.h"

typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

// The header of every WM_NOTIFY message.
typedef struct tagNMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
} NMHDR, *LPNMHDR;

// ---- Dialogs --------------------------------------------------------------------------------

// Command ids of the standard buttons
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

// Dialog styles
#define DS_ABSALIGN 0x0001L
#define DS_SYSMODAL 0x0002L
#define DS_3DLOOK 0x0004L
#define DS_SETFONT 0x0040L
#define DS_MODALFRAME 0x0080L
#define DS_NOIDLEMSG 0x0100L
#define DS_SETFOREGROUND 0x0200L
#define DS_CONTROL 0x0400L
#define DS_CENTER 0x0800L
#define DS_NOFAILCREATE 0x0010L

// Dialog messages
#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
#define DC_HASDEFID 0x534B

// The dialog class, whose window procedure is DefDlgProcW.
#define WC_DIALOG u"Dialog"

// A modeless dialog from dialog template `templateName` of `instance`; its controls are
// created at their places in dialog units of the template's font, then the dialog procedure
// gets WM_INITDIALOG with `initParam`. Null when the template is missing or malformed, or a
// control cannot be created (unless DS_NOFAILCREATE).
HWND CreateDialogParamW(HINSTANCE instance, LPCWSTR templateName, HWND parent, DLGPROC dialogProc,
                        LPARAM initParam);
// The same dialog run modally: the owner (the parent's top-level window) is disabled until
// EndDialog, the dialog's own message loop runs, and its result is returned (-1 when the
// dialog could not be made).
INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND parent, DLGPROC dialogProc,
                        LPARAM initParam);
inline HWND CreateDialogW(HINSTANCE instance, LPCWSTR templateName, HWND parent, DLGPROC proc) {
    return CreateDialogParamW(instance, templateName, parent, proc, 0);
}
inline INT_PTR DialogBoxW(HINSTANCE instance, LPCWSTR templateName, HWND parent, DLGPROC proc) {
    return DialogBoxParamW(instance, templateName, parent, proc, 0);
}
// Ends a modal dialog with `result` once its procedure returns; the dialog is hidden at once.
BOOL EndDialog(HWND dialog, INT_PTR result);
// The window procedure of the dialog class: it calls the dialog procedure and does what the
// procedure leaves (erasing, the default button, closing as Cancel, focus).
LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Tab and Shift+Tab move the focus among the dialog's tab stops, Return presses the default
// button, Escape presses Cancel. True when `msg` was such a key for the dialog.
BOOL IsDialogMessageW(HWND dialog, LPMSG msg);
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
// Converts a rectangle in the dialog's units to pixels: x by a quarter of the average width of
// the dialog font's characters, y by an eighth of its height.
BOOL MapDialogRect(HWND dialog, LPRECT rect);
// The system font's average character width (low word) and height (high word).
LONG GetDialogBaseUnits();
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);

#define CreateDialogParam CreateDialogParamW
#define DialogBoxParam DialogBoxParamW
#define CreateDialog CreateDialogW
#define DialogBox DialogBoxW
#define DefDlgProc DefDlgProcW
#define IsDialogMessage IsDialogMessageW

// ---- Buttons --------------------------------------------------------------------------------

#define WC_BUTTON u"BUTTON"

#define BS_PUSHBUTTON 0x00000000L
#define BS_DEFPUSHBUTTON 0x00000001L
#define BS_CHECKBOX 0x00000002L
#define BS_AUTOCHECKBOX 0x00000003L
#define BS_RADIOBUTTON 0x00000004L
#define BS_3STATE 0x00000005L
#define BS_AUTO3STATE 0x00000006L
#define BS_GROUPBOX 0x00000007L
#define BS_AUTORADIOBUTTON 0x00000009L
#define BS_OWNERDRAW 0x0000000BL
#define BS_TYPEMASK 0x0000000FL
#define BS_LEFTTEXT 0x00000020L
#define BS_LEFT 0x00000100L
#define BS_RIGHT 0x00000200L
#define BS_CENTER 0x00000300L
#define BS_TOP 0x00000400L
#define BS_BOTTOM 0x00000800L
#define BS_VCENTER 0x00000C00L
#define BS_MULTILINE 0x00002000L
#define BS_NOTIFY 0x00004000L

#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_GETSTATE 0x00F2
#define BM_SETSTATE 0x00F3
#define BM_SETSTYLE 0x00F4
#define BM_CLICK 0x00F5

#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001
#define BST_INDETERMINATE 0x0002
#define BST_PUSHED 0x0004
#define BST_FOCUS 0x0008

#define BN_CLICKED 0
#define BN_SETFOCUS 6
#define BN_KILLFOCUS 7

// ---- Statics --------------------------------------------------------------------------------

#define WC_STATIC u"STATIC"

#define SS_LEFT 0x00000000L
#define SS_CENTER 0x00000001L
#define SS_RIGHT 0x00000002L
#define SS_ICON 0x00000003L
#define SS_LEFTNOWORDWRAP 0x0000000CL
#define SS_BITMAP 0x0000000EL
#define SS_TYPEMASK 0x0000001FL
#define SS_NOPREFIX 0x00000080L
#define SS_NOTIFY 0x00000100L
#define SS_CENTERIMAGE 0x00000200L
#define SS_REALSIZEIMAGE 0x00000800L

#define STM_SETICON 0x0170
#define STM_GETICON 0x0171
#define STM_SETIMAGE 0x0172
#define STM_GETIMAGE 0x0173

#define STN_CLICKED 0

// ---- Combo boxes ----------------------------------------------------------------------------

#define WC_COMBOBOX u"COMBOBOX"

#define CBS_SIMPLE 0x0001L
#define CBS_DROPDOWN 0x0002L
#define CBS_DROPDOWNLIST 0x0003L
#define CBS_AUTOHSCROLL 0x0040L
#define CBS_SORT 0x0100L
#define CBS_HASSTRINGS 0x0200L
#define CBS_NOINTEGRALHEIGHT 0x0400L

#define CB_OKAY 0
#define CB_ERR (-1)
#define CB_ERRSPACE (-2)

#define CB_ADDSTRING 0x0143
#define CB_DELETESTRING 0x0144
#define CB_GETCOUNT 0x0146
#define CB_GETCURSEL 0x0147
#define CB_GETLBTEXT 0x0148
#define CB_GETLBTEXTLEN 0x0149
#define CB_INSERTSTRING 0x014A
#define CB_RESETCONTENT 0x014B
#define CB_FINDSTRING 0x014C
#define CB_SELECTSTRING 0x014D
#define CB_SETCURSEL 0x014E
#define CB_SHOWDROPDOWN 0x014F
#define CB_GETITEMDATA 0x0150
#define CB_SETITEMDATA 0x0151
#define CB_GETDROPPEDCONTROLRECT 0x0152
#define CB_GETITEMHEIGHT 0x0154
#define CB_GETDROPPEDSTATE 0x0157
#define CB_FINDSTRINGEXACT 0x0158

#define CBN_ERRSPACE (-1)
#define CBN_SELCHANGE 1
#define CBN_DBLCLK 2
#define CBN_SETFOCUS 3
#define CBN_KILLFOCUS 4
#define CBN_DROPDOWN 7
#define CBN_CLOSEUP 8
#define CBN_SELENDOK 9
#define CBN_SELENDCANCEL 10
