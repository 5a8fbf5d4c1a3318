// The work area behind SystemParametersInfoW: the part of the screen that programs' windows
// fill. The shell sets it (the screen less its title and menu bars); a work area belongs to the
// screen size it was set for, so after a rotation it is the whole screen until set again.
#include "device/Screen.h"
#include "kernel/DeviceReset.h"
#include "user/UserState.h"

namespace platform::user {
namespace {

struct WorkArea {
    bool set = false;
    RECT rect{};
    int screenWidth = 0;
    int screenHeight = 0;
};

WorkArea& workArea() {
    static auto* w = new WorkArea;
    return *w;
}

// A fresh device's programs have the whole screen until the shell sets a work area.
const bool resetRegistered = addResetStep(ResetStage::Windows, [] {
    Lock lock = lockState();
    workArea() = WorkArea{};
});

RECT wholeScreen() {
    return RECT{0, 0, device::screenWidth(), device::screenHeight()};
}

// The stored work area while it still fits the screen it was set for, else the whole screen.
RECT currentWorkArea() {
    const WorkArea& w = workArea();
    if (!w.set || w.screenWidth != device::screenWidth() ||
        w.screenHeight != device::screenHeight()) {
        return wholeScreen();
    }
    return w.rect;
}

bool fitsScreen(const RECT& r) {
    return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom &&
           r.right <= device::screenWidth() && r.bottom <= device::screenHeight();
}

}  // namespace
}  // namespace platform::user

using namespace platform::user;

BOOL SystemParametersInfoW(UINT action, UINT param, PVOID value, UINT flags) {
    (void)param;  // neither action takes a number
    switch (action) {
        case SPI_GETWORKAREA: {
            if (!value) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return FALSE;
            }
            Lock lock = lockState();
            *static_cast<RECT*>(value) = currentWorkArea();
            return TRUE;
        }
        case SPI_SETWORKAREA: {
            // A null rectangle gives the whole screen back to the programs.
            RECT wanted = value ? *static_cast<const RECT*>(value) : wholeScreen();
            if (!fitsScreen(wanted)) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return FALSE;
            }
            Lock lock = lockState();
            WorkArea& w = workArea();
            w.set = true;
            w.rect = wanted;
            w.screenWidth = device::screenWidth();
            w.screenHeight = device::screenHeight();
            if (flags & SPIF_SENDCHANGE) {
                // Told without waiting, as the screen-change broadcast is: no thread blocks on a
                // busy one while the shell rearranges the screen.
                std::vector<HWND> all = state().topLevels;
                for (HWND h : all) {
                    if (findWindow(h))
                        sendMessage(lock, h, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0,
                                    Delivery::Notify);
                }
            }
            return TRUE;
        }
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
    }
}
