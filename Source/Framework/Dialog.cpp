// CDialog: making the dialog through the platform with the object attached from the start,
// and the standard handling of WM_INITDIALOG, OK and Cancel.
#include "Dialog.h"

#include "DataExchange.h"
#include "ModuleState.h"

INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_lpszTemplateName(MAKEINTRESOURCEW(templateId)), m_pParentWnd(parent) {}

INT_PTR CDialog::DoModal() {
    if (m_hWnd != nullptr)
        return -1;
    HWND parent = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
    AfxCreationHook hook(this);
    return DialogBoxParamW(AfxGetResourceHandle(), m_lpszTemplateName, parent, AfxDlgProc, 0);
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
    if (m_hWnd != nullptr)
        return FALSE;
    m_lpszTemplateName = MAKEINTRESOURCEW(templateId);
    m_pParentWnd = parent;
    HWND hWnd = nullptr;
    {
        AfxCreationHook hook(this);
        hWnd = CreateDialogParamW(AfxGetResourceHandle(), m_lpszTemplateName,
                                  parent ? parent->GetSafeHwnd() : nullptr, AfxDlgProc, 0);
    }
    return hWnd != nullptr;
}

void CDialog::EndDialog(int result) {
    ::EndDialog(m_hWnd, result);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    if (m_hWnd == nullptr)
        return FALSE;
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_INITDIALOG) {
        *result = OnInitDialog();
        return TRUE;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, result);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM) {
    if (HIWORD(wParam) != BN_CLICKED)
        return FALSE;
    switch (LOWORD(wParam)) {
        case IDOK:
            OnOK();
            return TRUE;
        case IDCANCEL:
            OnCancel();
            return TRUE;
        default:
            return FALSE;
    }
}
