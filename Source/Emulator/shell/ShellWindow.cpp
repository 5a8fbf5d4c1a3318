// The shell's windows: class registration and creation through the framework.
#include "shell/ShellWindow.h"

bool createShellWindow(CWnd& window, LPCWSTR className, DWORD exStyle, LPCWSTR title,
                       const RECT& rect) {
    WNDCLASSW wc{};
    // The framework routes every message to the window's object; what it leaves goes here.
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = AfxGetInstanceHandle();
    wc.lpszClassName = className;
    if (RegisterClassW(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;
    return window.CreateEx(exStyle, className, title, WS_POPUP | WS_VISIBLE, rect, nullptr, 0) !=
           FALSE;
}

RECT beginShellPaint(CDC& dc, const CWnd& window, COLORREF ground, COLORREF text, HFONT font) {
    RECT client{};
    window.GetClientRect(&client);
    dc.FillSolidRect(&client, ground);
    dc.SelectObject(font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(text);
    return client;
}
