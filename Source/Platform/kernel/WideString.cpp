// The UTF-16 forms of the C library's string calls and the lstr* calls of the Windows API.
// A null string reads as the empty string, and the copying calls do nothing with a null target.
#include <wchar16.h>

namespace {

const WCHAR kEmpty[1] = {0};

const WCHAR* orEmpty(const WCHAR* s) {
    return s != nullptr ? s : kEmpty;
}

int sign(int difference) {
    return difference < 0 ? -1 : (difference > 0 ? 1 : 0);
}

// Compares at most `count` units, folding case with `fold` (identity or towlower).
template <typename Fold>
int compareUnits(const WCHAR* a, const WCHAR* b, size_t count, Fold fold) {
    a = orEmpty(a);
    b = orEmpty(b);
    for (size_t i = 0; i < count; ++i) {
        int ca = fold(a[i]);
        int cb = fold(b[i]);
        if (ca != cb)
            return ca - cb;
        if (ca == 0)
            return 0;
    }
    return 0;
}

int same(WCHAR c) {
    return c;
}
int lower(WCHAR c) {
    return towlower(c);
}

}  // namespace

size_t wcslen(const WCHAR* s) {
    if (s == nullptr)
        return 0;
    size_t n = 0;
    while (s[n] != 0)
        ++n;
    return n;
}

int wcscmp(const WCHAR* a, const WCHAR* b) {
    return compareUnits(a, b, SIZE_MAX, same);
}

int wcsncmp(const WCHAR* a, const WCHAR* b, size_t count) {
    return compareUnits(a, b, count, same);
}

WCHAR* wcscpy(WCHAR* dest, const WCHAR* src) {
    if (dest == nullptr)
        return dest;
    src = orEmpty(src);
    size_t i = 0;
    do {
        dest[i] = src[i];
    } while (src[i++] != 0);
    return dest;
}

WCHAR* wcsncpy(WCHAR* dest, const WCHAR* src, size_t count) {
    if (dest == nullptr)
        return dest;
    src = orEmpty(src);
    size_t i = 0;
    for (; i < count && src[i] != 0; ++i)
        dest[i] = src[i];
    for (; i < count; ++i)
        dest[i] = 0;
    return dest;
}

WCHAR* wcscat(WCHAR* dest, const WCHAR* src) {
    if (dest == nullptr)
        return dest;
    wcscpy(dest + wcslen(dest), src);
    return dest;
}

const WCHAR* wcschr(const WCHAR* s, WCHAR c) {
    if (s == nullptr)
        return nullptr;
    for (;; ++s) {
        if (*s == c)
            return s;
        if (*s == 0)
            return nullptr;
    }
}

WCHAR* wcschr(WCHAR* s, WCHAR c) {
    return const_cast<WCHAR*>(wcschr(static_cast<const WCHAR*>(s), c));
}

const WCHAR* wcsrchr(const WCHAR* s, WCHAR c) {
    if (s == nullptr)
        return nullptr;
    const WCHAR* found = nullptr;
    for (;; ++s) {
        if (*s == c)
            found = s;
        if (*s == 0)
            return found;
    }
}

WCHAR* wcsrchr(WCHAR* s, WCHAR c) {
    return const_cast<WCHAR*>(wcsrchr(static_cast<const WCHAR*>(s), c));
}

const WCHAR* wcsstr(const WCHAR* haystack, const WCHAR* needle) {
    if (haystack == nullptr)
        return nullptr;
    size_t needleLength = wcslen(needle);
    if (needleLength == 0)
        return haystack;
    for (; *haystack != 0; ++haystack) {
        if (wcsncmp(haystack, needle, needleLength) == 0)
            return haystack;
    }
    return nullptr;
}

WCHAR* wcsstr(WCHAR* haystack, const WCHAR* needle) {
    return const_cast<WCHAR*>(wcsstr(static_cast<const WCHAR*>(haystack), needle));
}

int _wcsicmp(const WCHAR* a, const WCHAR* b) {
    return compareUnits(a, b, SIZE_MAX, lower);
}

int _wcsnicmp(const WCHAR* a, const WCHAR* b, size_t count) {
    return compareUnits(a, b, count, lower);
}

int lstrlenW(LPCWSTR s) {
    return static_cast<int>(wcslen(s));
}

LPWSTR lstrcpyW(LPWSTR dest, LPCWSTR src) {
    return wcscpy(dest, src);
}

int lstrcmpW(LPCWSTR a, LPCWSTR b) {
    return sign(wcscmp(a, b));
}

int lstrcmpiW(LPCWSTR a, LPCWSTR b) {
    return sign(_wcsicmp(a, b));
}
