// CGeneralPage: the sliders and the check box show the general settings when the page is
// first shown; OK stores them in the globals and marks the group changed when any differs.
#include "options/GeneralPage.h"

#include "inputmethod/Settings.h"
#include "options/OptionsDlg.h"
#include "panel/MyPanel.h"

CGeneralPage::CGeneralPage() : CPropertyPage(IDD_GENERAL_PAGE) {}

void CGeneralPage::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_REPEAT_RATE, rateSlider);
    DDX_Control(pDX, IDC_REPEAT_DELAY, delaySlider);
}

BOOL CGeneralPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    LoadSettings();
    CheckDlgButton(IDC_ENABLE_GESTURES, g_enableGestures != 0 ? BST_CHECKED : BST_UNCHECKED);
    delaySlider.SetRange(kDelaySliderMin, kDelaySliderMax, FALSE);
    delaySlider.SetPos(g_repeatDelay);
    rateSlider.SetRange(kRateSliderMin, kRateSliderMax, FALSE);
    rateSlider.SetPos(kRateBase - g_repeatPeriod);
    return TRUE;
}

void CGeneralPage::OnOK() {
    const int32_t delay = delaySlider.GetPos();
    const int32_t period = kRateBase - rateSlider.GetPos();
    const int32_t gestures = IsDlgButtonChecked(IDC_ENABLE_GESTURES) == BST_CHECKED ? 1 : 0;
    if (delay != g_repeatDelay || period != g_repeatPeriod || gestures != g_enableGestures) {
        g_repeatDelay = delay;
        g_repeatPeriod = period;
        g_enableGestures = gestures;
        if (sheet != nullptr)
            sheet->changedGroups |= kReloadSettings;
    }
    CPropertyPage::OnOK();
}
