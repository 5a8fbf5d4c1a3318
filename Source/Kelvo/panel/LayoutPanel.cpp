// CMyPanel::LayoutPanel: docks the SIP window at the bottom of the screen (above the margin
// measured once below it) with the size of the current layout, and the panel window inside it.
#include "inputmethod/InputMethod.h"
#include "inputmethod/Settings.h"
#include "panel/MyPanel.h"
#include "skin/SkinLoader.h"

void CMyPanel::LayoutPanel(IMINFO& info) {
    if (!layout)
        reloadSkinSettings(*this);
    if (g_bottomMargin == 0 && sipWnd.GetSafeHwnd() != nullptr) {
        RECT sip{};
        sipWnd.GetWindowRect(&sip);
        g_bottomMargin = g_screenHeight - sip.bottom;
    }
    // A failed first load leaves no layout: the SIP window keeps its size.
    if (layout) {
        const int width = layout->width;
        const int height = layout->height;
        const int margin = g_bottomMargin;
        info.rcSipRect =
            RECT{0, g_screenHeight - margin - height, width - 1, g_screenHeight - margin};
        if (sipWnd.GetSafeHwnd() != nullptr)
            sipWnd.MoveWindow(0, g_screenHeight - height - margin + 1, width + 2, height + 1, TRUE);
        panelRect = RECT{0, 0, width + 2, height + 1};
        if (m_hWnd != nullptr)
            MoveWindow(panelRect, TRUE);
    }
    imInfo = info;
}
