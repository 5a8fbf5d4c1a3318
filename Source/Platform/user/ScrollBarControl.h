// The platform's scroll-bar control ("ScrollBar", styles SBS_HORZ and SBS_VERT): its window
// procedure, which the table of system classes names.
#pragma once

#include "winuser.h"

namespace platform::user {

LRESULT CALLBACK scrollBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace platform::user
