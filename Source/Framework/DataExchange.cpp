// The data exchange routines, over the controls' messages.
#include "DataExchange.h"

#include <commctrl.h>

#include "Wnd.h"

namespace {

HWND controlOf(CDataExchange* pDX, int id) {
    return ::GetDlgItem(pDX->m_pDlgWnd->GetSafeHwnd(), id);
}

}  // namespace

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (control.GetSafeHwnd() == nullptr)
        control.SubclassDlgItem(static_cast<UINT>(id), pDX->m_pDlgWnd);
}

void DDX_Text(CDataExchange* pDX, int id, std::u16string& value) {
    HWND control = controlOf(pDX, id);
    if (control == nullptr)
        return;
    if (!pDX->m_bSaveAndValidate) {
        SetWindowTextW(control, value.c_str());
        return;
    }
    const int length = GetWindowTextLengthW(control);
    std::u16string text(static_cast<size_t>(length > 0 ? length : 0) + 1, u'\0');
    const int copied = GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    value = std::move(text);
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
    HWND control = controlOf(pDX, id);
    if (control == nullptr)
        return;
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(SendMessageW(control, BM_GETCHECK, 0, 0));
    } else {
        SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

void DDX_CBIndex(CDataExchange* pDX, int id, int& index) {
    HWND control = controlOf(pDX, id);
    if (control == nullptr)
        return;
    if (pDX->m_bSaveAndValidate) {
        index = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
    } else {
        SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
}

void DDX_Slider(CDataExchange* pDX, int id, int& value) {
    HWND control = controlOf(pDX, id);
    if (control == nullptr)
        return;
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(SendMessageW(control, TBM_GETPOS, 0, 0));
    } else {
        SendMessageW(control, TBM_SETPOS, TRUE, value);
    }
}
