// Shared control helpers.
#include "user/ControlSupport.h"

#include "user/UserState.h"

namespace platform::controls {

void adoptState(HWND hwnd, std::shared_ptr<void> state) {
    std::shared_ptr<void> previous;
    {
        user::Lock lock = user::lockState();
        if (user::Window* w = user::findWindow(hwnd)) {
            previous = std::move(w->controlState);
            w->controlState = std::move(state);
        }
    }
    // The previous state is deleted here, outside the window manager's lock.
}

LRESULT defaultControlProc(HWND hwnd, HFONT& font, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETFONT:
            font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam))
                InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font);
        case WM_ERASEBKGND:
            return 1;
        case WM_SETTEXT:
        case WM_ENABLE: {
            const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
            InvalidateRect(hwnd, nullptr, TRUE);
            return result;
        }
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

int screenScale() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi >= 192 ? 2 : 1;
}

HFONT fontOr(HFONT given) {
    return given ? given : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void fillColor(HDC dc, const RECT& rect, int color) {
    FillRect(dc, &rect, GetSysColorBrush(color));
}

void frameColor(HDC dc, const RECT& rect, int color, int thickness) {
    HBRUSH brush = GetSysColorBrush(color);
    const RECT sides[] = {
        {rect.left, rect.top, rect.right, rect.top + thickness},
        {rect.left, rect.bottom - thickness, rect.right, rect.bottom},
        {rect.left, rect.top, rect.left + thickness, rect.bottom},
        {rect.right - thickness, rect.top, rect.right, rect.bottom},
    };
    for (const RECT& side : sides)
        FillRect(dc, &side, brush);
}

HBRUSH parentBrush(HWND control, HDC dc, UINT ctlColorMessage) {
    HWND parent = GetParent(control);
    LRESULT brush = 0;
    if (parent != nullptr) {
        brush = SendMessageW(parent, ctlColorMessage, reinterpret_cast<WPARAM>(dc),
                             reinterpret_cast<LPARAM>(control));
    }
    if (brush == 0)
        brush = DefWindowProcW(control, ctlColorMessage, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(control));
    return reinterpret_cast<HBRUSH>(brush);
}

void notifyParent(HWND control, WORD code) {
    HWND parent = GetParent(control);
    if (parent == nullptr)
        return;
    const WORD id = static_cast<WORD>(GetDlgCtrlID(control));
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

std::u16string windowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    if (length <= 0)
        return {};
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    const int copied = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

int lineHeight(HFONT font) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, fontOr(font));
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return metrics.tmHeight;
}

}  // namespace platform::controls
