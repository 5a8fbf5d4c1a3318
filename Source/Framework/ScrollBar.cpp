// CScrollBar: thin calls on its control.
#include "ScrollBar.h"

BOOL CScrollBar::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(u"ScrollBar", nullptr, style, rect, parent, id);
}

void CScrollBar::SetScrollRange(int minPos, int maxPos, BOOL redraw) const {
    ::SetScrollRange(m_hWnd, SB_CTL, minPos, maxPos, redraw);
}

void CScrollBar::GetScrollRange(LPINT minPos, LPINT maxPos) const {
    ::GetScrollRange(m_hWnd, SB_CTL, minPos, maxPos);
}

int CScrollBar::SetScrollPos(int pos, BOOL redraw) const {
    return ::SetScrollPos(m_hWnd, SB_CTL, pos, redraw);
}

int CScrollBar::GetScrollPos() const {
    return ::GetScrollPos(m_hWnd, SB_CTL);
}

void CScrollBar::ShowScrollBar(BOOL show) const {
    ::ShowScrollBar(m_hWnd, SB_CTL, show);
}
