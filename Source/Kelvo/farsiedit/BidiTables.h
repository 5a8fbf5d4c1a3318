// The paragraph layout's built-in character data: the bidirectional class and joining row of
// every character it knows, and the presentation forms of each joining letter.
#pragma once

#include <windef.h>

#include <cstdint>

namespace bidi {

// Bidirectional classes as stored per character (one byte). Whitespace, tabs and separators
// are ON: the layout has no B, S or WS classes.
enum BidiClass : BYTE {
    ON = 0,
    L = 1,
    R = 2,
    AN = 3,
    EN = 4,
    AL = 5,
    NSM = 6,
    CS = 7,
    ES = 8,
    ET = 9,
    BN = 10,
    RLO = 11,
    RLE = 12,
    LRO = 13,
    LRE = 14,
    PDF = 15,
};

// Joining row of a character that produces no glyph.
constexpr int16_t kDrop = -2;

struct CharTableRow {
    uint16_t code;
    int16_t joinRow;  // kDrop, 0 (does not join) or a row of JoinTable
    uint16_t bidiClass;
};

// Forms of one joining letter; 0 where the letter has no such form. `link` is non-zero only
// for the alefs: high byte the row of the letter it forms a ligature with, low byte the
// ligature's row.
struct JoinTableRow {
    uint16_t isolated;
    uint16_t final;
    uint16_t initial;
    uint16_t medial;
    uint16_t link;
};

constexpr int kCharTableSize = 301;
constexpr int kJoinTableSize = 83;
constexpr int kLamRow = 30;
constexpr int kZwjRow = 82;

extern const CharTableRow CharTable[kCharTableSize];
extern const JoinTableRow JoinTable[kJoinTableSize];

// Index of the CharTable row for `code`, or -1 when the character is not in the table
// (class ON, joining row 0).
int charTableIndex(WCHAR code);

// The class and joining row of a character, with the defaults for characters not listed.
BidiClass classOf(WCHAR code);
int joinRowOf(WCHAR code);

}  // namespace bidi
