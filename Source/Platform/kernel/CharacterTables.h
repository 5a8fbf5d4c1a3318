// The data behind the UTF-16 character classes and case mappings: sorted, non-overlapping
// ranges of code units, searched by binary search (CharacterTables.cpp holds the data).
#pragma once

#include <cstdint>
#include <span>

namespace platform {

// Code units first..last carry the class bits `mask` (the _UPPER ... _ALPHA masks of iswctype).
// Upper and lower case of letters that have a case mapping come from the case tables instead.
struct CharClassRange {
    char16_t first;
    char16_t last;
    uint16_t mask;
};

// Code units first..last map to code + delta; with step 2 only first, first + 2, ... map.
struct CaseRange {
    char16_t first;
    char16_t last;
    int32_t delta;
    uint8_t step;
};

extern const std::span<const CharClassRange> kCharClassTable;
extern const std::span<const CaseRange> kToLowerTable;
extern const std::span<const CaseRange> kToUpperTable;

}  // namespace platform
