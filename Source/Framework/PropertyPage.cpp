// CPropertyPage: the page's answers to the sheet's notifications.
#include "PropertyPage.h"

#include "ModuleState.h"

INT_PTR CALLBACK AfxPropPageDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_INITDIALOG || lParam == 0 || CWnd::FromHandlePermanent(hWnd) != nullptr)
        return FALSE;
    const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
    auto* object = reinterpret_cast<CPropertyPage*>(page->lParam);
    if (object == nullptr || !object->SubclassWindow(hWnd))
        return FALSE;
    // The message reached the window before the object did: it is routed to the object now.
    return AfxCallWndProc(object, message, wParam, lParam);
}

CPropertyPage::CPropertyPage(UINT templateId, UINT captionId) : CDialog(templateId) {
    m_psp.dwSize = sizeof(m_psp);
    m_psp.dwFlags = PSP_DEFAULT;
    m_psp.pszTemplate = m_lpszTemplateName;
    m_psp.pfnDlgProc = AfxPropPageDlgProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
    if (captionId != 0) {
        WCHAR text[256] = {};
        const int length = LoadStringW(AfxGetResourceHandle(), captionId, text, 256);
        m_caption.assign(text, length > 0 ? static_cast<size_t>(length) : 0);
        m_psp.dwFlags |= PSP_USETITLE;
        m_psp.pszTitle = m_caption.c_str();
    }
}

BOOL CPropertyPage::OnSetActive() {
    // The first showing follows OnInitDialog, which has filled the controls already.
    if (m_firstSetActive) {
        m_firstSetActive = false;
        return TRUE;
    }
    UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() {
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply() {
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset() {
    OnCancel();
}

BOOL CPropertyPage::OnQueryCancel() {
    return TRUE;
}

void CPropertyPage::OnOK() {}

void CPropertyPage::OnCancel() {}

BOOL CPropertyPage::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_NOTIFY && lParam != 0) {
        switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
            case PSN_SETACTIVE:
                *result = OnSetActive() ? 0 : -1;
                return TRUE;
            case PSN_KILLACTIVE:
                *result = OnKillActive() ? FALSE : TRUE;
                return TRUE;
            case PSN_APPLY:
                *result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
                return TRUE;
            case PSN_RESET:
                OnReset();
                *result = 0;
                return TRUE;
            case PSN_QUERYCANCEL:
                *result = OnQueryCancel() ? FALSE : TRUE;
                return TRUE;
            default:
                break;
        }
    }
    return CDialog::OnWndMsg(message, wParam, lParam, result);
}
