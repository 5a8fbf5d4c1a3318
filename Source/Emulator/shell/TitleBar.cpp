// The title bar.
#include "shell/TitleBar.h"

#include <wchar16.h>

#include "shell/ShellWindow.h"

namespace {

constexpr const WCHAR* kTitleBarClass = u"HHTaskBar";
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 250;
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

bool TitleBar::create(const RECT& rect) {
    m_font = makeShellFont(12, FontWeight::Bold);
    if (!createShellWindow(*this, kTitleBarClass,
                           WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST, u"", rect))
        return false;
    SetTimer(kRefreshTimer, kRefreshMs);
    refresh();
    return true;
}

void TitleBar::move(const RECT& rect) {
    MoveWindow(rect);
}

void TitleBar::refresh() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    std::u16string title = foregroundTitle(m_hWnd);
    std::u16string time = clockText(now);
    if (title == m_title && time == m_time)
        return;
    m_title = std::move(title);
    m_time = std::move(time);
    Invalidate();
}

void TitleBar::OnPaint() {
    CPaintDC dc(this);
    RECT text = beginShellPaint(dc, *this, kBarColour, kBarTextColour, m_font.get());
    InflateRect(&text, -4, 0);
    dc.DrawText(m_time.c_str(), static_cast<int>(m_time.size()), &text,
                DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    text.right -= 40;
    dc.DrawText(m_title.c_str(), static_cast<int>(m_title.size()), &text,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void TitleBar::OnTimer(UINT_PTR id) {
    if (id == kRefreshTimer)
        refresh();
}

LRESULT TitleBar::OnMouseActivate(WPARAM, LPARAM) {
    return MA_NOACTIVATE;
}
