// The recording parent window of the common control tests.
#include "ParentWindow.h"

ParentWindow::ParentWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = u"ControlParent";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    RegisterClassW(&wc);
    m_hwnd = CreateWindowExW(0, u"ControlParent", u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320,
                             nullptr, nullptr, nullptr, this);
    SetForegroundWindow(m_hwnd);
    pumpMessages();
}

ParentWindow::~ParentWindow() {
    DestroyWindow(m_hwnd);
}

HWND ParentWindow::child(LPCWSTR className, DWORD style, int x, int y, int width, int height,
                         int id) {
    HWND made = CreateWindowExW(0, className, u"", WS_CHILD | WS_VISIBLE | style, x, y, width,
                                height, m_hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                nullptr, nullptr);
    pumpMessages();
    return made;
}

LRESULT CALLBACK ParentWindow::proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<ParentWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self != nullptr && message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        self->notices.push_back({message, header->code, 0});
        if (header->code == TCN_SELCHANGING)
            return self->refuseTabChange ? TRUE : FALSE;
        return 0;
    }
    if (self != nullptr && (message == WM_HSCROLL || message == WM_VSCROLL)) {
        self->notices.push_back({message, LOWORD(wParam), static_cast<int>(HIWORD(wParam))});
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void pumpMessages() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

void stylusDrag(POINT from, POINT to) {
    device::stylusDown(from.x, from.y);
    pumpMessages();
    device::stylusMove(to.x, to.y);
    pumpMessages();
    device::stylusUp(to.x, to.y);
    pumpMessages();
}

void stylusTap(int x, int y) {
    device::stylusDown(x, y);
    device::stylusUp(x, y);
    pumpMessages();
}
