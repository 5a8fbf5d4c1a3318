// CPropertySheet over PropertySheetW.
#include "PropertySheet.h"

#include "ModuleState.h"

CPropertySheet::CPropertySheet(LPCWSTR caption, CWnd* parent, UINT selectPage)
    : m_caption(caption ? caption : u""), m_pParentWnd(parent), m_startPage(selectPage) {}

void CPropertySheet::AddPage(CPropertyPage* page) {
    if (page != nullptr)
        m_pages.push_back(page);
}

CPropertyPage* CPropertySheet::GetPage(int index) const {
    if (index < 0 || index >= GetPageCount())
        return nullptr;
    return m_pages[static_cast<size_t>(index)];
}

int CPropertySheet::GetActiveIndex() const {
    if (m_hWnd == nullptr)
        return -1;
    HWND shown = reinterpret_cast<HWND>(SendMessage(PSM_GETCURRENTPAGEHWND));
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (shown != nullptr && m_pages[i]->GetSafeHwnd() == shown)
            return static_cast<int>(i);
    }
    return -1;
}

BOOL CPropertySheet::SetActivePage(int index) {
    if (m_hWnd == nullptr) {
        if (index < 0 || index >= GetPageCount())
            return FALSE;
        m_startPage = static_cast<UINT>(index);
        return TRUE;
    }
    return SendMessage(PSM_SETCURSEL, static_cast<WPARAM>(index), 0) != 0;
}

INT_PTR CPropertySheet::DoModal() {
    if (m_hWnd != nullptr || m_pages.empty())
        return -1;
    std::vector<PROPSHEETPAGEW> pages;
    for (CPropertyPage* page : m_pages) {
        page->m_psp.hInstance = AfxGetResourceHandle();
        pages.push_back(page->m_psp);
    }
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    header.hwndParent = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
    header.hInstance = AfxGetResourceHandle();
    header.pszCaption = m_caption.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.nStartPage = m_startPage;
    header.ppsp = pages.data();
    INT_PTR result = -1;
    {
        AfxCreationHook hook(this);
        result = PropertySheetW(&header);
    }
    if (result < 0)
        return -1;
    return result > 0 ? IDOK : IDCANCEL;
}

BOOL CPropertySheet::OnInitDialog() {
    return static_cast<BOOL>(Default());
}

BOOL CPropertySheet::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_INITDIALOG) {
        *result = OnInitDialog();
        return TRUE;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, result);
}
