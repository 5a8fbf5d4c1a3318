// The title bar.
#include "shell/TitleBar.h"

#include <wchar16.h>

namespace {

constexpr const WCHAR* kTitleBarClass = u"HHTaskBar";
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 250;
constexpr COLORREF kBarColour = RGB(0, 40, 120);
constexpr COLORREF kTextColour = RGB(255, 255, 255);
constexpr int kMaxTitle = 256;

std::u16string foregroundTitle(HWND self) {
    HWND front = GetForegroundWindow();
    if (front == nullptr || front == self)
        return u"";
    WCHAR text[kMaxTitle] = {};
    int length = GetWindowTextW(front, text, kMaxTitle);
    return std::u16string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

}  // namespace

std::u16string clockText(const SYSTEMTIME& time) {
    WCHAR text[8] = {};
    swprintf(text, 8, u"%02u:%02u", static_cast<unsigned>(time.wHour) % 24,
             static_cast<unsigned>(time.wMinute) % 60);
    return text;
}

TitleBar::~TitleBar() {
    if (m_window != nullptr)
        DestroyWindow(m_window);
}

bool TitleBar::create(const RECT& rect) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kTitleBarClass;
    RegisterClassW(&wc);
    m_font = makeShellFont(12, FontWeight::Bold);
    m_window =
        CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST, kTitleBarClass, u"",
                        WS_POPUP | WS_VISIBLE, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (m_window == nullptr)
        return false;
    SetTimer(m_window, kRefreshTimer, kRefreshMs, nullptr);
    refresh();
    return true;
}

void TitleBar::move(const RECT& rect) {
    MoveWindow(m_window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

void TitleBar::refresh() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    std::u16string title = foregroundTitle(m_window);
    std::u16string time = clockText(now);
    if (title == m_title && time == m_time)
        return;
    m_title = std::move(title);
    m_time = std::move(time);
    InvalidateRect(m_window, nullptr, TRUE);
}

void TitleBar::paint() {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(m_window, &ps);
    RECT client{};
    GetClientRect(m_window, &client);
    HBRUSH brush = CreateSolidBrush(kBarColour);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    HGDIOBJ old = SelectObject(dc, m_font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kTextColour);
    RECT text = client;
    InflateRect(&text, -4, 0);
    DrawTextW(dc, m_time.c_str(), static_cast<int>(m_time.size()), &text,
              DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    text.right -= 40;
    DrawTextW(dc, m_title.c_str(), static_cast<int>(m_title.size()), &text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, old);
    EndPaint(m_window, &ps);
}

LRESULT CALLBACK TitleBar::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TitleBar*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
        case WM_PAINT:
            if (self != nullptr) {
                self->m_window = hwnd;
                self->paint();
                return 0;
            }
            break;
        case WM_TIMER:
            if (self != nullptr && wParam == kRefreshTimer)
                self->refresh();
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
