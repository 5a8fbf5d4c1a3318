// The menu bar.
#include "shell/MenuBar.h"

#include "shell/ThreadCall.h"

namespace {

constexpr const WCHAR* kMenuBarClass = u"KvMenuBar";
constexpr COLORREF kBarColour = RGB(0, 40, 120);
constexpr COLORREF kTextColour = RGB(255, 255, 255);
constexpr COLORREF kPressedColour = RGB(90, 130, 200);

int width(const RECT& r) {
    return r.right - r.left;
}
int height(const RECT& r) {
    return r.bottom - r.top;
}

// The picture that fits the button: the wide one when there is room, else the narrow one.
HIMAGELIST pictureFor(const RECT& button, HIMAGELIST wide, HIMAGELIST narrow) {
    int cx = 0, cy = 0;
    if (wide != nullptr && ImageList_GetImageCount(wide) > 0 &&
        ImageList_GetIconSize(wide, &cx, &cy) && cx <= width(button) && cy <= height(button))
        return wide;
    if (narrow != nullptr && ImageList_GetImageCount(narrow) > 0)
        return narrow;
    return nullptr;
}

}  // namespace

MenuBar::~MenuBar() {
    if (m_window != nullptr)
        DestroyWindow(m_window);
}

bool MenuBar::create(const ShellLayout& layout) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kMenuBarClass;
    RegisterClassW(&wc);
    m_layout = layout;
    m_font = makeShellFont(12, FontWeight::Bold);
    const RECT& r = layout.menuBar;
    m_window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST, kMenuBarClass,
                               u"", WS_POPUP | WS_VISIBLE, r.left, r.top, width(r), height(r),
                               nullptr, nullptr, GetModuleHandleW(nullptr), this);
    return m_window != nullptr;
}

void MenuBar::move(const ShellLayout& layout) {
    m_layout = layout;
    const RECT& r = layout.menuBar;
    MoveWindow(m_window, r.left, r.top, width(r), height(r), TRUE);
    // The bar stays above the input panel, which may reach into it.
    SetWindowPos(m_window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    InvalidateRect(m_window, nullptr, TRUE);
}

void MenuBar::setInputPanelButton(HIMAGELIST wide, HIMAGELIST narrow, bool panelShown) {
    if (wide == m_wide && narrow == m_narrow && panelShown == m_panelShown)
        return;
    m_wide = wide;
    m_narrow = narrow;
    m_panelShown = panelShown;
    InvalidateRect(m_window, &m_layout.inputPanelButton, TRUE);
}

void MenuBar::paint() {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(m_window, &ps);
    RECT client{};
    GetClientRect(m_window, &client);
    HBRUSH bar = CreateSolidBrush(kBarColour);
    FillRect(dc, &client, bar);
    DeleteObject(bar);

    HGDIOBJ old = SelectObject(dc, m_font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kTextColour);
    RECT start = m_layout.startButton;
    DrawTextW(dc, u"Start", 5, &start, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);

    const RECT& button = m_layout.inputPanelButton;
    if (m_panelShown) {
        HBRUSH pressed = CreateSolidBrush(kPressedColour);
        FillRect(dc, &button, pressed);
        DeleteObject(pressed);
    }
    if (HIMAGELIST picture = pictureFor(button, m_wide, m_narrow)) {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(picture, &cx, &cy);
        ImageList_Draw(picture, 0, dc, button.left + (width(button) - cx) / 2,
                       button.top + (height(button) - cy) / 2, ILD_TRANSPARENT);
    }
    EndPaint(m_window, &ps);
}

void MenuBar::tapped(POINT point) {
    if (PtInRect(&m_layout.startButton, point) && m_actions.start)
        m_actions.start();
    else if (PtInRect(&m_layout.inputPanelButton, point) && m_actions.toggleInputPanel)
        m_actions.toggleInputPanel();
}

LRESULT CALLBACK MenuBar::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (handleThreadCall(message, lParam))
        return 0;
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<MenuBar*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
        case WM_PAINT:
            if (self != nullptr) {
                self->m_window = hwnd;
                self->paint();
                return 0;
            }
            break;
        case WM_LBUTTONUP:
            if (self != nullptr)
                self->tapped(
                    POINT{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))});
            return 0;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_NCDESTROY:
            if (self != nullptr)
                self->m_window = nullptr;
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
