// The host keyboard as the device sees it: SDL key codes to the device's virtual keys, and the
// keys the window keeps for itself (F5 rotate, F6 screenshot, F9 input panel).
#pragma once

#include <SDL.h>
#include <windef.h>

enum class WindowCommand { None, Rotate, Screenshot, ToggleInputPanel };

// The command a key gives the window; None for the keys that go to the device.
WindowCommand windowCommandOf(SDL_Keycode key);

// The device's virtual key of a host key (VK_BACK, 'A', VK_LEFT, ...); 0 for a key the device
// has no virtual key for. Left and right modifier keys are the device's one Shift, Control
// and Alt.
UINT virtualKeyOf(SDL_Keycode key);
