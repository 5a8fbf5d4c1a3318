// The menu bar.
#include "shell/MenuBar.h"

#include "shell/ShellWindow.h"

namespace {

constexpr const WCHAR* kMenuBarClass = u"KvMenuBar";
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

bool MenuBar::create(const ShellLayout& layout) {
    m_layout = layout;
    m_font = makeShellFont(12, FontWeight::Bold);
    return createShellWindow(*this, kMenuBarClass,
                             WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST, u"",
                             layout.menuBar);
}

void MenuBar::move(const ShellLayout& layout) {
    m_layout = layout;
    MoveWindow(layout.menuBar);
    // The bar stays above the input panel, which may reach into it.
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

void MenuBar::setInputPanelButton(HIMAGELIST wide, HIMAGELIST narrow, bool panelShown) {
    if (wide == m_wide && narrow == m_narrow && panelShown == m_panelShown)
        return;
    m_wide = wide;
    m_narrow = narrow;
    m_panelShown = panelShown;
    InvalidateRect(&m_layout.inputPanelButton);
}

void MenuBar::OnPaint() {
    CPaintDC dc(this);
    beginShellPaint(dc, *this, kBarColour, kBarTextColour, m_font.get());
    RECT start = m_layout.startButton;
    dc.DrawText(u"Start", 5, &start, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

    const RECT& button = m_layout.inputPanelButton;
    if (m_panelShown)
        dc.FillSolidRect(&button, kPressedColour);
    if (HIMAGELIST picture = pictureFor(button, m_wide, m_narrow)) {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(picture, &cx, &cy);
        ImageList_Draw(picture, 0, dc, button.left + (width(button) - cx) / 2,
                       button.top + (height(button) - cy) / 2, ILD_TRANSPARENT);
    }
}

void MenuBar::OnLButtonUp(UINT, CPoint point) {
    if (PtInRect(&m_layout.startButton, point) && m_actions.start)
        m_actions.start();
    else if (PtInRect(&m_layout.inputPanelButton, point) && m_actions.toggleInputPanel)
        m_actions.toggleInputPanel();
}

LRESULT MenuBar::OnThreadCall(WPARAM, LPARAM lParam) {
    handleThreadCall(WM_THREAD_CALL, lParam);
    return 0;
}

LRESULT MenuBar::OnMouseActivate(WPARAM, LPARAM) {
    return MA_NOACTIVATE;
}
