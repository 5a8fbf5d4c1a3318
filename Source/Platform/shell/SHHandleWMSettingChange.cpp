// SHHandleWMSettingChange: a program's main window follows the part of the screen the input
// panel leaves visible, as the device's programs expect of the shell.
#include <aygshell.h>
#include <windows.h>

BOOL SHHandleWMSettingChange(HWND hwnd, WPARAM wParam, LPARAM, SHACTIVATEINFO* psai) {
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (psai == nullptr || psai->cbSize != sizeof(SHACTIVATEINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (wParam != SPI_SETSIPINFO && wParam != SETTINGCHANGE_RESET && wParam != SPI_SETWORKAREA)
        return TRUE;
    SIPINFO info{};
    info.cbSize = sizeof(info);
    RECT visible{};
    if (SipGetInfo(&info)) {
        visible = info.rcVisibleDesktop;
        psai->fSipUp = (info.fdwFlags & SIPF_ON) != 0;
    } else {
        // A device without an input panel leaves the whole work area visible.
        visible = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &visible, 0);
        psai->fSipUp = 0;
    }
    // A child window is laid out by its parent.
    if (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)
        return TRUE;
    MoveWindow(hwnd, visible.left, visible.top, visible.right - visible.left,
               visible.bottom - visible.top, TRUE);
    return TRUE;
}
