// CMySliderCtrl: the stylus press passed on unchanged.
#include "options/MySliderCtrl.h"

void CMySliderCtrl::OnLButtonDown(UINT, CPoint) {
    Default();
}
