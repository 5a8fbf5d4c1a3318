// CPropertyPage: one page of a CPropertySheet, a dialog made from its template the first time
// the sheet shows it (OnInitDialog then). The sheet tells the page when it is shown
// (OnSetActive), left (OnKillActive, which takes the controls' data back), confirmed with OK
// (OnApply, which calls OnOK) and cancelled (OnReset, which calls OnCancel); pages never shown
// hear none of it. OK and Cancel end the sheet, not the page.
#pragma once

#include <commctrl.h>

#include "Dialog.h"

class CPropertyPage : public CDialog {
public:
    explicit CPropertyPage(UINT templateId, UINT captionId = 0);

    virtual BOOL OnSetActive();
    virtual BOOL OnKillActive();
    virtual BOOL OnApply();
    virtual void OnReset();
    virtual BOOL OnQueryCancel();

    // What the sheet is given for this page; its lParam is the page.
    PROPSHEETPAGEW m_psp{};

protected:
    void OnOK() override;
    void OnCancel() override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    friend INT_PTR CALLBACK AfxPropPageDlgProc(HWND, UINT, WPARAM, LPARAM);
    std::u16string m_caption;
    bool m_firstSetActive = true;
};

// The pages' dialog procedure: at WM_INITDIALOG it attaches the page object (the lParam of the
// sheet's copy of m_psp) to its window; from then on the object handles the messages.
INT_PTR CALLBACK AfxPropPageDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
