// Code page conversion between narrow text and UTF-16: the ANSI code page (Windows-1252 on
// this device) and UTF-8.
#pragma once

#include "windef.h"

#define CP_ACP 0
#define CP_OEMCP 1
#define CP_UTF8 65001

#define MB_PRECOMPOSED 0x00000001
#define MB_ERR_INVALID_CHARS 0x00000008
#define WC_NO_BEST_FIT_CHARS 0x00000400
#define WC_ERR_INVALID_CHARS 0x00000080

// Both return the number of units written (or needed, when the output size is 0), counting
// the terminator when the input length is -1; 0 on failure.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteLength,
                        LPWSTR wide, int wideLength);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideLength, LPSTR multiByte,
                        int multiByteLength, LPCSTR defaultChar, LPBOOL usedDefaultChar);

// Locale identifiers: the device's user and system default locale is English (United States).
#define LANG_NEUTRAL 0x00
#define LANG_ENGLISH 0x09
#define SUBLANG_DEFAULT 0x01
#define SUBLANG_ENGLISH_US 0x01
#define MAKELANGID(primary, sub) \
    (static_cast<WORD>((static_cast<WORD>(sub) << 10) | static_cast<WORD>(primary)))
#define SORT_DEFAULT 0x0
#define MAKELCID(lang, sort)                                                  \
    (static_cast<DWORD>((static_cast<DWORD>(static_cast<WORD>(sort)) << 16) | \
                        static_cast<DWORD>(static_cast<WORD>(lang))))
#define LOCALE_USER_DEFAULT 0x0400
#define LOCALE_SYSTEM_DEFAULT 0x0800
#define LOCALE_NEUTRAL 0x0000
#define LOCALE_NOUSEROVERRIDE 0x80000000
