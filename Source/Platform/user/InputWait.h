// Waiting for the stylus, for the shell's gesture recogniser: the platform-internal calls it
// makes beyond the published window manager.
#pragma once

#include <cstdint>

#include "winuser.h"

namespace platform::user {

// True between an injected stylus down and the stylus up that follows it.
bool stylusIsDown();

// Waits, handling messages other threads send meanwhile, until a message in [lo, hi] for `hwnd`
// (or its children) is queued for the calling thread, or the device clock reaches `deadline`.
// The thread counts as idle, so under the virtual clock time may jump to the deadline. True
// when such a message is queued.
bool waitForQueuedMessage(HWND hwnd, UINT lo, UINT hi, uint64_t deadline);

}  // namespace platform::user
