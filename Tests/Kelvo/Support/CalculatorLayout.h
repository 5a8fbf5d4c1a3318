// A calculator layout for tests: the display key at row 0 (0, 0, 240, 20) and one key for
// each operation code, codes 0 to 29 in row 1 and 30 to 40 in row 2, 8 pixels wide each.
// The two display switches are modifier keys of slots 5 and 8, as a skin makes them.
#pragma once

#include "SkinBuilder.h"
#include "calculator/Calculator.h"
#include "skin/SkinLayout.h"

namespace skintest {

inline constexpr int kCalcKeysPerRow = 30;
inline constexpr WORD kCalcLastCode = CalcDigitsSwitch;
inline constexpr RECT kCalcDisplayRect{0, 0, 240, 20};

inline Layout calculatorLayout(uint32_t pictureColour = 0xE0E0E0) {
    Layout layout;
    layout.flags = LF_CALC;
    layout.picture = bmpPicture(240, 80, pictureColour);
    layout.rows = {{Key{0, 0, 0, kCalcDisplayRect}}, {}, {}};
    for (WORD code = 0; code <= kCalcLastCode; ++code) {
        WORD flags = KF_CALC;
        if (code == CalcGroupingSwitch)
            flags |= kGroupingSlot << 12;
        if (code == CalcDigitsSwitch)
            flags |= kNativeDigitsSlot << 12;
        const LONG row = 1 + code / kCalcKeysPerRow;
        const LONG x = (code % kCalcKeysPerRow) * 8;
        layout.rows[static_cast<size_t>(row)].push_back(
            Key{flags, code, 0, RECT{x, row * 20, x + 8, row * 20 + 20}});
    }
    return layout;
}

// Where the key of operation `code` lies in calculatorLayout().
inline int calcKeyRow(WORD code) {
    return 1 + code / kCalcKeysPerRow;
}
inline int calcKeyCol(WORD code) {
    return code % kCalcKeysPerRow;
}

}  // namespace skintest
