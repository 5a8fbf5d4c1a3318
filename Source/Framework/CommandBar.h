// CCommandBar: the bar a window shows along its top (or bottom) edge, a toolbar window
// ("ToolbarWindow32"). The CBRS_ALIGN_* bar style chooses the edge; it is kept apart from the
// window's style.
#pragma once

#include <commctrl.h>

#include "Wnd.h"

// Bar styles (kept by the bar object, not the window).
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_ALL 0x0040FFFFL

// The id of a window's tool bar.
#define AFX_IDW_TOOLBAR 0xE800

class CCommandBar : public CWnd {
public:
    using CWnd::CreateEx;
    BOOL CreateEx(CWnd* parent, DWORD controlStyle = TBSTYLE_FLAT,
                  DWORD style = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                  CRect borders = CRect(0, 0, 0, 0), UINT id = AFX_IDW_TOOLBAR);

    DWORD GetBarStyle() const { return m_dwStyle; }
    CRect m_rcBorders;

protected:
    DWORD m_dwStyle = 0;
};
