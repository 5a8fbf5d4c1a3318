// CScrollBar: the framework's object for the platform's scroll-bar control ("ScrollBar").
#pragma once

#include "Wnd.h"

class CScrollBar : public CWnd {
public:
    // Creates the control; `style` carries SBS_HORZ or SBS_VERT with the window styles.
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    void SetScrollRange(int minPos, int maxPos, BOOL redraw = TRUE) const;
    void GetScrollRange(LPINT minPos, LPINT maxPos) const;
    int SetScrollPos(int pos, BOOL redraw = TRUE) const;
    int GetScrollPos() const;
    void ShowScrollBar(BOOL show = TRUE) const;
};
