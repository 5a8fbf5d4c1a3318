// What the device's front ends and tests read of the window manager: the focused window of the
// foreground program, the caret, the cursor, and the screen-change broadcast. MessageBeep is
// recorded in the device's event log (device/EventLog.h) as kind "beep", text "0x40" etc.
#pragma once

#include "windef.h"

namespace device {

// The focus window of the foreground window's thread, or the foreground window itself when
// that thread has no focus window; null when nothing is in front.
HWND foregroundFocusWindow();

struct CaretState {
    HWND window = nullptr;  // null: no caret
    RECT rect{};            // screen coordinates
    bool shown = false;     // ShowCaret outstanding (hide count 0)
    bool blinkOn = false;   // inverted on the screen now
};
CaretState caretState();

// True while the wait cursor is set (SetCursor with LoadCursorW(nullptr, IDC_WAIT)).
bool cursorIsWait();

// Tells the top-level windows that the screen changed size (WM_SETTINGCHANGE with
// SETTINGCHANGE_RESET) and invalidates every window. Call after device::setScreenSize.
void onScreenSizeChanged();

}  // namespace device
