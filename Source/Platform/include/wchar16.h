// The UTF-16 forms of the C library's string, character, number and formatted-output calls,
// overloaded on char16_t in the global namespace (beside glibc's wchar_t ones), with the
// character class masks of iswctype, and UTF-8 conversion for the edges of the platform.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>
#include <string_view>

#include "windef.h"

// Class masks of iswctype.
#define _UPPER 0x1
#define _LOWER 0x2
#define _DIGIT 0x4
#define _SPACE 0x8
#define _PUNCT 0x10
#define _CONTROL 0x20
#define _BLANK 0x40
#define _HEX 0x80
#define _LEADBYTE 0x8000
#define _ALPHA (0x0100 | _UPPER | _LOWER)

// Strings. A null string reads as empty where the C library would crash.
size_t wcslen(const WCHAR* s);
int wcscmp(const WCHAR* a, const WCHAR* b);
int wcsncmp(const WCHAR* a, const WCHAR* b, size_t count);
WCHAR* wcscpy(WCHAR* dest, const WCHAR* src);
WCHAR* wcsncpy(WCHAR* dest, const WCHAR* src, size_t count);
WCHAR* wcscat(WCHAR* dest, const WCHAR* src);
const WCHAR* wcschr(const WCHAR* s, WCHAR c);
WCHAR* wcschr(WCHAR* s, WCHAR c);
const WCHAR* wcsrchr(const WCHAR* s, WCHAR c);
WCHAR* wcsrchr(WCHAR* s, WCHAR c);
const WCHAR* wcsstr(const WCHAR* haystack, const WCHAR* needle);
WCHAR* wcsstr(WCHAR* haystack, const WCHAR* needle);
int _wcsicmp(const WCHAR* a, const WCHAR* b);
int _wcsnicmp(const WCHAR* a, const WCHAR* b, size_t count);

int lstrlenW(LPCWSTR s);
LPWSTR lstrcpyW(LPWSTR dest, LPCWSTR src);
int lstrcmpW(LPCWSTR a, LPCWSTR b);
int lstrcmpiW(LPCWSTR a, LPCWSTR b);

// Characters.
WCHAR towlower(WCHAR c);
WCHAR towupper(WCHAR c);
int iswctype(WCHAR c, WORD mask);
int iswspace(WCHAR c);
int iswdigit(WCHAR c);
int iswalpha(WCHAR c);
int iswupper(WCHAR c);
int iswlower(WCHAR c);
// Integer arguments (literals, promoted characters) reach these forms rather than glibc's;
// values outside UTF-16 code units belong to no class and map to themselves.
namespace platform {
inline bool isCodeUnit(int c) {
    return c >= 0 && c <= 0xFFFF;
}
}  // namespace platform
inline int towlower(int c) {
    return platform::isCodeUnit(c) ? towlower(static_cast<WCHAR>(c)) : c;
}
inline int towupper(int c) {
    return platform::isCodeUnit(c) ? towupper(static_cast<WCHAR>(c)) : c;
}
inline int iswctype(int c, WORD mask) {
    return platform::isCodeUnit(c) ? iswctype(static_cast<WCHAR>(c), mask) : 0;
}
inline int iswspace(int c) {
    return iswctype(c, _SPACE);
}
inline int iswdigit(int c) {
    return iswctype(c, _DIGIT);
}
inline int iswalpha(int c) {
    return iswctype(c, _ALPHA);
}
inline int iswupper(int c) {
    return iswctype(c, _UPPER);
}
inline int iswlower(int c) {
    return iswctype(c, _LOWER);
}

// Numbers. The integer forms have the device's 32-bit long; out-of-range values clamp and set
// errno to ERANGE, as the C library does.
double wcstod(const WCHAR* text, WCHAR** end);
LONG wcstol(const WCHAR* text, WCHAR** end, int base);
ULONG wcstoul(const WCHAR* text, WCHAR** end, int base);
int _wtoi(const WCHAR* text);

// Formatted output into UTF-16. %s and %c take UTF-16 text and a WCHAR, %S and %hs narrow
// text; %ld is 32 bits wide as on the device, %lld and %I64d 64 bits.
// _snwprintf: the length, or -1 when it does not fit in `count` units (then `count` units are
// written without a terminator).
int _snwprintf(WCHAR* buffer, size_t count, const WCHAR* format, ...);
int _vsnwprintf(WCHAR* buffer, size_t count, const WCHAR* format, va_list args);
// swprintf: the length, or -1 when it does not fit; the text is always terminated.
int swprintf(WCHAR* buffer, size_t count, const WCHAR* format, ...);
// wsprintfW: at most 1024 units, terminator included.
int wsprintfW(LPWSTR buffer, LPCWSTR format, ...);
int wvsprintfW(LPWSTR buffer, LPCWSTR format, va_list args);

namespace platform {

std::u16string formatText(const char16_t* format, ...);
std::u16string formatTextV(const char16_t* format, va_list args);

// Invalid sequences and lone surrogates become U+FFFD.
std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view text);

}  // namespace platform
