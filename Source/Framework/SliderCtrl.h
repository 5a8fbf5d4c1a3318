// CSliderCtrl: a trackbar window ("msctls_trackbar32"). SetPos always redraws; SetRange redraws
// only when asked.
#pragma once

#include <commctrl.h>

#include "Wnd.h"

class CSliderCtrl : public CWnd {
public:
    void SetRange(int min, int max, BOOL redraw = FALSE) const {
        SendMessage(TBM_SETRANGE, static_cast<WPARAM>(redraw),
                    MAKELONG(static_cast<WORD>(min), static_cast<WORD>(max)));
    }
    void GetRange(int& min, int& max) const {
        min = GetRangeMin();
        max = GetRangeMax();
    }
    int GetRangeMin() const { return static_cast<int>(SendMessage(TBM_GETRANGEMIN)); }
    int GetRangeMax() const { return static_cast<int>(SendMessage(TBM_GETRANGEMAX)); }
    void SetRangeMin(int min, BOOL redraw = FALSE) const {
        SendMessage(TBM_SETRANGEMIN, static_cast<WPARAM>(redraw), min);
    }
    void SetRangeMax(int max, BOOL redraw = FALSE) const {
        SendMessage(TBM_SETRANGEMAX, static_cast<WPARAM>(redraw), max);
    }
    int GetPos() const { return static_cast<int>(SendMessage(TBM_GETPOS)); }
    void SetPos(int pos) const { SendMessage(TBM_SETPOS, TRUE, pos); }
    int GetPageSize() const { return static_cast<int>(SendMessage(TBM_GETPAGESIZE)); }
    int SetPageSize(int size) const {
        return static_cast<int>(SendMessage(TBM_SETPAGESIZE, 0, size));
    }
    int GetLineSize() const { return static_cast<int>(SendMessage(TBM_GETLINESIZE)); }
    int SetLineSize(int size) const {
        return static_cast<int>(SendMessage(TBM_SETLINESIZE, 0, size));
    }
    void SetTicFreq(int frequency) const {
        SendMessage(TBM_SETTICFREQ, static_cast<WPARAM>(frequency));
    }
    void GetThumbRect(LPRECT rect) const {
        SendMessage(TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(rect));
    }
    void GetChannelRect(LPRECT rect) const {
        SendMessage(TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(rect));
    }
};
