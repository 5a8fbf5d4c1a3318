// The typing layout most panel tests start from. Row 0: 'a', BEH, the ligature key, Delete,
// Backspace, a key to layout 1. Row 1: one-shot Shift, latching Control, a latching modifier
// of slot 4, a key with slot bits 11, 'z'.
#pragma once

#include "PanelFixture.h"
#include "skin/SkinLayout.h"

namespace skintest {

inline constexpr WORD kLatching = 0x0400;  // a kind bit the key handling gives no meaning

inline Layout typingLayout() {
    Layout layout;
    layout.picture = bmpPicture(240, 80, 0xC0C0C0);
    layout.rows = {
        {charKey(u'a', 0x41, rect(0, 0, 40, 40)), charKey(0x0628, 0x46, rect(40, 0, 80, 40)),
         charKey(0x06E9, 0x00, rect(80, 0, 120, 40)),
         Key{KF_OUTPUT, 0, 0x2E, rect(120, 0, 160, 40)},
         Key{KF_OUTPUT, 8, 0x08, rect(160, 0, 200, 40)}, Key{KF_GOTO, 1, 0, rect(200, 0, 240, 40)}},
        {Key{0x2000 | KF_ONESHOT, 0, 0x10, rect(0, 40, 40, 80)},
         Key{0x3000 | kLatching, 0, 0x11, rect(40, 40, 80, 80)},
         Key{0x4000 | kLatching, 0, 0x5B, rect(80, 40, 120, 80)},
         Key{0xB000 | kLatching, 0, 0x5C, rect(120, 40, 160, 80)},
         charKey(u'z', 0x5A, rect(160, 40, 240, 80))},
    };
    return layout;
}

// A second layout with 'A' where layout 0 has 'a' and a goto back to layout 0.
inline Layout secondLayout() {
    Layout layout;
    layout.picture = bmpPicture(240, 80, 0x808080);
    layout.rows = {{charKey(u'A', 0x41, rect(0, 0, 40, 40)),
                    Key{KF_BACK, 0, 0, rect(40, 0, 80, 40)},
                    Key{KF_GOTO, 0, 0, rect(80, 0, 240, 40)}}};
    return layout;
}

// The character pair a tap on a character key sends.
inline std::vector<CallbackCall> charPair(UINT vk, UINT ch, UINT shift = 0) {
    return {CallbackCall::charEvent(vk, shift | 0x80, shift, ch),
            CallbackCall::charEvent(vk, 0x10040, shift, ch)};
}

inline std::vector<CallbackCall> operator+(std::vector<CallbackCall> a,
                                           const std::vector<CallbackCall>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace skintest
