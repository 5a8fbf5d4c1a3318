// The layout data item "D" of a layout class: flags, alternate layout, gesture keys, the key
// rows and the layout's size, little-endian and packed. The reader checks the whole block
// before it changes anything, so a block that cannot be held leaves the layout as it was.
#pragma once

#include <cstddef>

#include "skin/SkinLayout.h"

enum class LayoutDataResult {
    Ok,
    TooLarge,     // more bytes than the data area holds
    Truncated,    // shorter than the rows and keys it announces
    TooManyRows,  // a row count outside 0..6
    TooManyKeys,  // a key count outside 0..30
    BadSize,      // a width or height outside 0..kMaxLayoutSide
};

// The largest width or height a layout may claim: the largest screen side of the device.
inline constexpr int kMaxLayoutSide = 4096;

inline constexpr size_t kLayoutHeaderBytes = 31;
inline constexpr size_t kKeyEntryBytes = 21;
inline constexpr size_t kLayoutTrailerBytes = 8;

// Fills `layout` (flags, altIndex, keys, gesture keys, rowCount, width, height) from `data`.
// When `modSlot` is given, every key whose modifier slot is 1..10 is stored in entry slot - 1.
// On any result but Ok the layout and modSlot are untouched.
LayoutDataResult parseLayoutData(const BYTE* data, size_t size, SkinLayout& layout,
                                 KeyRecord** modSlot);
