// CDialog: a dialog made from a dialog template resource of the current module, run modally
// (DoModal) or modelessly (Create). The object receives the dialog's messages from its first
// on: WM_INITDIALOG calls OnInitDialog, which exchanges the controls' data (DoDataExchange);
// OK and Cancel call OnOK (which takes the data back) and OnCancel, both ending the dialog.
#pragma once

#include <windows.h>

#include "Wnd.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    CDialog() = default;
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Runs the dialog modally; its EndDialog result, or -1 when it could not be made.
    virtual INT_PTR DoModal();
    // Makes the dialog modeless; true when it exists.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    void EndDialog(int result);

    // Moves the data between the controls and the object: to the object when
    // `saveAndValidate`, to the controls otherwise.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    virtual BOOL OnInitDialog();

    LPCWSTR m_lpszTemplateName = nullptr;
    CWnd* m_pParentWnd = nullptr;

protected:
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
};

// The dialog procedure of framework dialogs: the object handles everything through its
// window procedure, so the procedure leaves every message to the dialog's defaults.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
