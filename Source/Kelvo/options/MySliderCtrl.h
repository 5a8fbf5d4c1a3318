// CMySliderCtrl: the options sheet's trackbar. A stylus press goes straight to the trackbar's
// own procedure, so that the thumb follows the pen from the first touch.
#pragma once

#include <afxwin.h>

class CMySliderCtrl : public WithMessageMap<CMySliderCtrl, CSliderCtrl> {
private:
    void OnLButtonDown(UINT flags, CPoint point);

public:
    static constexpr MessageMapEntry<CMySliderCtrl> messageMap[] = {
        on<WM_LBUTTONDOWN, &CMySliderCtrl::OnLButtonDown>(),
    };
};
