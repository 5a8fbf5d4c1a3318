// Character classes and case mapping of UTF-16 code units, from the range tables of
// CharacterTables.cpp rather than the host's locale, so that they are the same everywhere.
#include <wchar16.h>

#include <algorithm>

#include "kernel/CharacterTables.h"

namespace {

template <typename Range>
const Range* findRange(std::span<const Range> table, char16_t c) {
    auto it = std::upper_bound(table.begin(), table.end(), c,
                               [](char16_t code, const Range& r) { return code < r.first; });
    if (it == table.begin())
        return nullptr;
    --it;
    return c <= it->last ? &*it : nullptr;
}

WCHAR mapCase(std::span<const platform::CaseRange> table, WCHAR c) {
    const platform::CaseRange* range = findRange(table, c);
    if (range == nullptr)
        return c;
    if (range->step == 2 && (c - range->first) % 2 != 0)
        return c;
    return static_cast<WCHAR>(c + range->delta);
}

}  // namespace

WCHAR towlower(WCHAR c) {
    return mapCase(platform::kToLowerTable, c);
}

WCHAR towupper(WCHAR c) {
    return mapCase(platform::kToUpperTable, c);
}

int iswctype(WCHAR c, WORD mask) {
    const platform::CharClassRange* range = findRange(platform::kCharClassTable, c);
    WORD classes = range != nullptr ? range->mask : 0;
    if (classes & 0x100) {
        if (towlower(c) != c)
            classes |= _UPPER;
        if (towupper(c) != c)
            classes |= _LOWER;
    }
    return (classes & mask) != 0 ? 1 : 0;
}

int iswspace(WCHAR c) {
    return iswctype(c, _SPACE);
}
int iswdigit(WCHAR c) {
    return iswctype(c, _DIGIT);
}
int iswalpha(WCHAR c) {
    return iswctype(c, _ALPHA);
}
int iswupper(WCHAR c) {
    return iswctype(c, _UPPER);
}
int iswlower(WCHAR c) {
    return iswctype(c, _LOWER);
}
