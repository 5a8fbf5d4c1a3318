// SHRecognizeGesture, the shell's tap-and-hold recogniser: called as the stylus goes down on a
// window, it holds the stylus for that window and watches its messages until the device's hold
// time has passed with the stylus still down and near the point (a tap-and-hold), or until the
// stylus moves away or comes up (no gesture; those messages stay queued for the window).
#include <cstdlib>

#include "aygshell.h"
#include "device/Clock.h"
#include "user/InputWait.h"
#include "winbase.h"
#include "winuser.h"

namespace {

// How long the stylus must stay down for a tap-and-hold.
constexpr uint64_t kHoldTimeMs = 500;

bool nearDown(const SHRGINFO& info, const MSG& msg) {
    const int dx = std::abs(GET_X_LPARAM(msg.lParam) - static_cast<int>(info.ptDown.x));
    const int dy = std::abs(GET_Y_LPARAM(msg.lParam) - static_cast<int>(info.ptDown.y));
    return dx <= GetSystemMetrics(SM_CXDRAG) && dy <= GetSystemMetrics(SM_CYDRAG);
}

enum class Watch { Holding, Ended };

// Looks at the stylus messages queued for the window: moves near the point are taken away,
// anything else ends the gesture and is left for the window.
Watch watchQueued(const SHRGINFO& info) {
    MSG msg{};
    while (PeekMessageW(&msg, info.hwndClient, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE)) {
        if (msg.message != WM_MOUSEMOVE || !nearDown(info, msg))
            return Watch::Ended;
        PeekMessageW(&msg, info.hwndClient, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE);
    }
    return Watch::Holding;
}

}  // namespace

DWORD SHRecognizeGesture(SHRGINFO* shrg) {
    if (!shrg || shrg->cbSize != sizeof(SHRGINFO) || !IsWindow(shrg->hwndClient)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const SHRGINFO info = *shrg;
    const bool hadCapture = GetCapture() == info.hwndClient;
    if (!hadCapture)
        SetCapture(info.hwndClient);
    const uint64_t deadline = device::nowMs() + kHoldTimeMs;
    DWORD result = 0;
    for (;;) {
        if (watchQueued(info) == Watch::Ended)
            break;
        if (!platform::user::stylusIsDown())
            break;  // the stylus came up before its messages reached this window
        if (!platform::user::waitForQueuedMessage(info.hwndClient, WM_MOUSEFIRST, WM_MOUSELAST,
                                                  deadline)) {
            result = GN_CONTEXTMENU;
            break;
        }
    }
    if (!hadCapture && GetCapture() == info.hwndClient)
        ReleaseCapture();
    return result;
}
