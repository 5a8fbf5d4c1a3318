// CMyPanel::LayoutPanel: docks the SIP window at the bottom of the screen (above the margin
// measured once below it) with the size of the current layout, and the panel window inside it;
// and the same layout asked for by the panel itself when its layout changed size.
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

void CMyPanel::fitToLayout() {
    // Until the host's first GetInfo (whose IMINFO is kept here) the host has laid nothing out:
    // it sizes the panel when it asks for its information.
    if (!layout || m_hWnd == nullptr || imInfo.cbSize == 0 || sipWnd.GetSafeHwnd() == nullptr)
        return;
    RECT sip{};
    sipWnd.GetWindowRect(&sip);
    if (sip.right - sip.left != layout->width + 2 || sip.bottom - sip.top != layout->height + 1)
        layOutAgain();
}

void CMyPanel::layOutAgain() {
    if (!layout || m_hWnd == nullptr)
        return;
    IMINFO info = imInfo;
    LayoutPanel(info);
    // The host keeps the panel's rectangle as the part of the screen it covers.
    if (callback != nullptr)
        callback->SetImInfo(&info);
}
