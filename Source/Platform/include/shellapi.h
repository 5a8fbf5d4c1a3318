// The shell's calls for opening and describing files: ShellExecuteExW with its record,
// SHGetFileInfoW with its record and flags, and the device's shortcut files
// (SHCreateShortcut, SHGetShortcutTarget).
#pragma once

#include "windef.h"

// SHELLEXECUTEINFO's fMask.
#define SEE_MASK_CLASSNAME 0x00000001
#define SEE_MASK_CLASSKEY 0x00000003
#define SEE_MASK_IDLIST 0x00000004
#define SEE_MASK_INVOKEIDLIST 0x0000000C
#define SEE_MASK_ICON 0x00000010
#define SEE_MASK_HOTKEY 0x00000020
#define SEE_MASK_NOCLOSEPROCESS 0x00000040
#define SEE_MASK_CONNECTNETDRV 0x00000080
#define SEE_MASK_FLAG_DDEWAIT 0x00000100
#define SEE_MASK_DOENVSUBST 0x00000200
#define SEE_MASK_FLAG_NO_UI 0x00000400

// What a failed ShellExecuteExW leaves in hInstApp (a success leaves a value above 32).
#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_SHARE 26
#define SE_ERR_ASSOCINCOMPLETE 27
#define SE_ERR_NOASSOC 31

typedef struct _SHELLEXECUTEINFO {
    DWORD cbSize;  // sizeof(SHELLEXECUTEINFO)
    ULONG fMask;
    HWND hwnd;
    LPCWSTR lpVerb;  // null or "open"
    LPCWSTR lpFile;
    LPCWSTR lpParameters;
    LPCWSTR lpDirectory;
    int nShow;
    HINSTANCE hInstApp;
    LPVOID lpIDList;
    LPCWSTR lpClass;
    HKEY hkeyClass;
    DWORD dwHotKey;
    HANDLE hIcon;
    HANDLE hProcess;  // with SEE_MASK_NOCLOSEPROCESS: the started process, for the caller to close
} SHELLEXECUTEINFO, *LPSHELLEXECUTEINFO;

// Opens lpFile with the verb "open" (a null verb means the same): a shortcut (".lnk") starts
// its target with the target's arguments and lpParameters after them; a program starts with
// lpParameters as its command line; a document opens with the program its extension names in
// HKEY_CLASSES_ROOT (".htm" → "htmlfile" → "htmlfile\Shell\Open\Command", whose "%1" stands
// for the document's path). A relative file name is taken in lpDirectory. Nothing is waited
// for and no message is shown. FALSE on failure, with the reason in GetLastError
// (ERROR_FILE_NOT_FOUND, ERROR_NO_ASSOCIATION, ERROR_BAD_FORMAT for a broken shortcut,
// ERROR_INVALID_PARAMETER for a bad record) and in hInstApp.
BOOL ShellExecuteExW(LPSHELLEXECUTEINFO info);
#define ShellExecuteEx ShellExecuteExW

typedef struct _SHFILEINFO {
    HICON hIcon;
    int iIcon;
    DWORD dwAttributes;
    WCHAR szDisplayName[MAX_PATH];
    WCHAR szTypeName[80];
} SHFILEINFO, *LPSHFILEINFO;

#define SHGFI_LARGEICON 0x000000000
#define SHGFI_SMALLICON 0x000000001
#define SHGFI_OPENICON 0x000000002
#define SHGFI_SHELLICONSIZE 0x000000004
#define SHGFI_PIDL 0x000000008
#define SHGFI_USEFILEATTRIBUTES 0x000000010
#define SHGFI_ICON 0x000000100
#define SHGFI_DISPLAYNAME 0x000000200
#define SHGFI_TYPENAME 0x000000400
#define SHGFI_ATTRIBUTES 0x000000800
#define SHGFI_ICONLOCATION 0x000001000
#define SHGFI_EXETYPE 0x000002000
#define SHGFI_SYSICONINDEX 0x000004000

// Describes the file at `path`. SHGFI_ICON: hIcon is a new icon the caller destroys, the icon
// of the program that opens the file (a shortcut's target program, a program itself, a
// document's associated program), small (SM_CXSMICON) with SHGFI_SMALLICON, else large
// (SM_CXICON); null when that program has none. SHGFI_DISPLAYNAME: the file name, without
// ".lnk" for a shortcut. SHGFI_ATTRIBUTES: the file attributes. Returns nonzero when the
// file exists and what was asked for was filled (for SHGFI_ICON: an icon was found); 0 otherwise.
DWORD_PTR SHGetFileInfoW(LPCWSTR path, DWORD fileAttributes, SHFILEINFO* info, UINT infoSize,
                         UINT flags);
#define SHGetFileInfo SHGetFileInfoW

// Writes the shortcut file `shortcut` (replacing one that is there) naming `target`. TRUE on
// success.
DWORD SHCreateShortcut(LPCWSTR shortcut, LPCWSTR target);
// Copies the target the shortcut file names into `target` (room for `maxCharacters`
// characters with the terminator). FALSE when the file is missing or not a shortcut
// (ERROR_FILE_NOT_FOUND, ERROR_BAD_FORMAT) or the target does not fit
// (ERROR_INSUFFICIENT_BUFFER).
BOOL SHGetShortcutTarget(LPCWSTR shortcut, LPWSTR target, int maxCharacters);
