// The device's hardware keyboard: virtual keys by name, the scan codes keys carry in their
// lParam, the key a character is typed with, and which keys make their own character when
// translated (the rest bring theirs as typed text).
#pragma once

#include <windef.h>

#include <optional>
#include <string_view>

// "VK_BACK", "VK_F5", "VK_A", ... ; nothing for an unknown name.
std::optional<UINT> virtualKeyNamed(std::string_view name);
// The scan code of a key on the device's keyboard (a PC keyboard's set 1), 0 when it has none.
UINT scanCodeOf(UINT vk);
// The key that types an ASCII character (its unshifted key for capitals and symbols); nothing
// for characters that no key types.
std::optional<UINT> virtualKeyOfCharacter(char16_t ch);
// Keys whose character TranslateMessage makes (Backspace, Tab, Enter, Escape); other keys
// arrive marked so that their character comes only as typed text.
bool keyMakesOwnCharacter(UINT vk);
