// CCeScrollBar: the scroll bars of the Farsi edit control, the framework's CScrollBar with the
// stylus going straight to the control's own handling.
#pragma once

#include <afxwin.h>

class CCeScrollBar : public WithMessageMap<CCeScrollBar, CScrollBar> {
private:
    LRESULT OnLButtonDown(WPARAM, LPARAM) { return Default(); }

public:
    static constexpr MessageMapEntry<CCeScrollBar> messageMap[] = {
        onMessage<WM_LBUTTONDOWN, &CCeScrollBar::OnLButtonDown>(),
    };
};
