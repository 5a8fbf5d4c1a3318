// The virtual key of a character's place on the standard Farsi keyboard (ISIRI 9147) or on
// the US keyboard, so that a skin's character keys report the key a desktop keyboard would.
#pragma once

#include <windef.h>

enum class Keyboard { Farsi, Latin };

// The virtual key of `ch` on the named keyboard, falling back to the other one; 0 when
// neither has the character.
BYTE standardVirtualKey(char16_t ch, Keyboard keyboard);
