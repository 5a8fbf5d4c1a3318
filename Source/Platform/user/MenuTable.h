// Menus as the window manager keeps them: a table of menus with validated handles whose
// values are never reused, each an ordered list of items.
#pragma once

#include <string>
#include <vector>

#include "user/UserState.h"

namespace platform::user {

inline constexpr size_t kMaxMenuItems = 256;
inline constexpr size_t kMaxMenuText = 256;

struct MenuItem {
    UINT flags = 0;  // MF_SEPARATOR, MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_POPUP
    UINT_PTR id = 0;
    std::u16string text;
    HMENU submenu = nullptr;
};

struct Menu {
    bool popup = false;
    std::vector<MenuItem> items;
};

// Lock held.
Menu* findMenu(HMENU menu);

}  // namespace platform::user
