// CGeneralPage: the options sheet's first page, the key repeat delay and rate and gestures.
// The rate slider runs from slow to fast: its position is 200 minus the repeat period.
#pragma once

#include <afxwin.h>

#include "options/MySliderCtrl.h"

class COptionsDlg;

inline constexpr UINT IDD_GENERAL_PAGE = 104;
inline constexpr int IDC_ENABLE_GESTURES = 2007;
inline constexpr int IDC_REPEAT_DELAY = 2008;
inline constexpr int IDC_REPEAT_RATE = 2010;

// The sliders' ranges: the delay in milliseconds; the rate as 200 - period (10 to 200 ms).
inline constexpr int kDelaySliderMin = 100;
inline constexpr int kDelaySliderMax = 1000;
inline constexpr int kRateSliderMin = 0;
inline constexpr int kRateSliderMax = 190;
inline constexpr int kRateBase = 200;

class CGeneralPage : public CPropertyPage {
public:
    CGeneralPage();

    COptionsDlg* sheet = nullptr;
    CMySliderCtrl rateSlider;
    CMySliderCtrl delaySlider;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
};
