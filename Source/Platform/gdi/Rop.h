// Raster operations on 0x00RRGGBB pixels. A ternary operation's code byte is the truth table
// over pattern, source and destination (bit P*4 + S*2 + D); a binary one's value minus one
// is the truth table over pen and destination (bit P*2 + D).
#pragma once

#include <cstdint>

#include <wingdi.h>

namespace platform {

constexpr uint32_t kPixelMask = 0x00FFFFFFu;

inline uint32_t applyRop2(int rop2, uint32_t pen, uint32_t dst) {
    unsigned table = static_cast<unsigned>(rop2 - 1) & 0xFu;
    uint32_t r = 0;
    if (table & 1u) {
        r |= ~pen & ~dst;
    }
    if (table & 2u) {
        r |= ~pen & dst;
    }
    if (table & 4u) {
        r |= pen & ~dst;
    }
    if (table & 8u) {
        r |= pen & dst;
    }
    return r & kPixelMask;
}

inline bool isValidRop2(int rop2) {
    return rop2 >= R2_BLACK && rop2 <= R2_WHITE;
}

inline uint32_t applyRop3(DWORD rop, uint32_t p, uint32_t s, uint32_t d) {
    unsigned table = (rop >> 16) & 0xFFu;
    uint32_t r = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if ((table >> i) & 1u) {
            uint32_t term = (i & 4u) ? p : ~p;
            term &= (i & 2u) ? s : ~s;
            term &= (i & 1u) ? d : ~d;
            r |= term;
        }
    }
    return r & kPixelMask;
}

// Whether the result of a ternary operation depends on the source, or on the pattern.
inline bool ropUsesSource(DWORD rop) {
    unsigned t = (rop >> 16) & 0xFFu;
    return ((t >> 2) ^ t) & 0x33u;
}
inline bool ropUsesPattern(DWORD rop) {
    unsigned t = (rop >> 16) & 0xFFu;
    return ((t >> 4) ^ t) & 0x0Fu;
}

}  // namespace platform
