// The default window procedure: what a window does with the messages its own procedure passes
// on (closing destroys, erasing fills with the class brush, the title is stored, painting
// validates, activation gives the window the focus, WM_MOVE and WM_SIZE follow a move).
#include <algorithm>

#include "user/ClassTable.h"
#include "user/Internal.h"
#include "user/UserState.h"
#include "wingdi.h"

namespace platform::user {

bool eraseWithClassBrush(HWND hwnd, HDC dc) {
    HBRUSH brush = nullptr;
    RECT client{};
    {
        Lock lock = lockState();
        Window* w = findWindow(hwnd);
        if (!w)
            return false;
        brush = w->cls->background;
        client = RECT{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    }
    if (!brush)
        return false;
    auto value = reinterpret_cast<uintptr_t>(brush);
    // System colour brushes are given as (index | SYS_COLOR_INDEX_FLAG) or (index + 1).
    if (value & SYS_COLOR_INDEX_FLAG) {
        brush = GetSysColorBrush(static_cast<int>(value & 0xFFFF));
    } else if (value <= COLOR_GRADIENTINACTIVECAPTION + 1) {
        brush = GetSysColorBrush(static_cast<int>(value) - 1);
    }
    if (!brush)
        return false;
    return FillRect(dc, &client, brush) != 0;
}

}  // namespace platform::user

using namespace platform::user;

LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NCCREATE:
            return TRUE;
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_ERASEBKGND:
            return eraseWithClassBrush(hwnd, reinterpret_cast<HDC>(wParam)) ? 1 : 0;
        case WM_SETTEXT: {
            Lock lock = lockState();
            Window* w = findWindow(hwnd);
            if (!w)
                return FALSE;
            w->text = copyText(reinterpret_cast<LPCWSTR>(lParam), kMaxWindowText);
            return TRUE;
        }
        case WM_GETTEXT: {
            Lock lock = lockState();
            Window* w = findWindow(hwnd);
            auto* buffer = reinterpret_cast<LPWSTR>(lParam);
            if (!w || !buffer || wParam == 0)
                return 0;
            size_t n = std::min(w->text.size(), static_cast<size_t>(wParam) - 1);
            std::copy_n(w->text.begin(), n, buffer);
            buffer[n] = 0;
            return static_cast<LRESULT>(n);
        }
        case WM_GETTEXTLENGTH: {
            Lock lock = lockState();
            Window* w = findWindow(hwnd);
            return w ? static_cast<LRESULT>(w->text.size()) : 0;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            if (BeginPaint(hwnd, &ps))
                EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_WINDOWPOSCHANGED: {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
            if (!pos)
                return 0;
            if (!(pos->flags & SWP_NOCLIENTMOVE))
                SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(pos->x, pos->y));
            if (!(pos->flags & SWP_NOCLIENTSIZE)) {
                SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(pos->cx, pos->cy));
            }
            return 0;
        }
        case WM_ACTIVATE:
            // Activation reaches another thread's window without waiting for it: by the time
            // it is handled, some other window may have been brought to the front, and taking
            // the focus then would take the foreground back.
            if (LOWORD(wParam) != WA_INACTIVE && GetActiveWindow() == hwnd)
                SetFocus(hwnd);
            return 0;
        case WM_MOUSEACTIVATE:
            return MA_ACTIVATE;
        case WM_NCHITTEST:
            return 1;  // HTCLIENT: the whole window is client area
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC: {
            bool field = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
            int back = field ? COLOR_WINDOW : COLOR_BTNFACE;
            auto dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, GetSysColor(field ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
            SetBkColor(dc, GetSysColor(back));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(back));
        }
        default:
            return 0;
    }
}
