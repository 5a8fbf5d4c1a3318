// CCommandBar: the toolbar window placed by its bar style.
#include "CommandBar.h"

BOOL CCommandBar::CreateEx(CWnd* parent, DWORD controlStyle, DWORD style, CRect borders, UINT id) {
    m_dwStyle = style & CBRS_ALL;
    m_rcBorders = borders;
    DWORD windowStyle = (style & ~static_cast<DWORD>(CBRS_ALL)) | controlStyle;
    windowStyle |= (m_dwStyle & CBRS_ALIGN_BOTTOM) ? CCS_BOTTOM : CCS_TOP;
    return CWnd::CreateEx(0, TOOLBARCLASSNAMEW, nullptr, windowStyle, CRect(0, 0, 0, 0), parent,
                          id);
}
