// The panel window: its creation, the stylus (press, stroke, release), the timers of key
// repetition, long press and screen change, and the private messages that steer it.
#include "panel/MyPanel.h"

#include "inputmethod/Settings.h"
#include "panel/Macros.h"
#include "panel/TaskSwitcher.h"
#include "skin/SkinLoader.h"
#include "skin/SkinSettings.h"

CMyPanel::~CMyPanel() {
    if (m_hWnd != nullptr)
        DestroyWindow();
    for (HICON icon : programIcons)
        if (icon != nullptr)
            DestroyIcon(icon);
    for (HICON icon : gameIcons)
        if (icon != nullptr)
            DestroyIcon(icon);
    sipWnd.Detach();
}

bool CMyPanel::CreatePanelWindow(HWND sipWindow) {
    WNDCLASSW wc{};
    wc.style = 0;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = AfxGetInstanceHandle();
    wc.lpszClassName = kPanelClassName;
    if (RegisterClassW(&wc) == 0)
        return false;
    if (!sipWnd.Attach(sipWindow))
        return false;
    RECT client{};
    sipWnd.GetClientRect(&client);
    if (!CreateEx(0, kPanelClassName, u"Kelvo", WS_CHILD | WS_VISIBLE, client, &sipWnd,
                  kPanelControlId)) {
        sipWnd.Detach();
        return false;
    }
    return true;
}

void CMyPanel::resetKeyState() {
    endPress();
    releaseModifierKeys();
    layoutHistory.fill(0);
    modSlot.fill(nullptr);
    latched.fill(0);
}

void CMyPanel::endPress() {
    const bool pressed = tracking != 0;
    tracking = 0;
    pressedKey = nullptr;
    gesture = kGestureNone;
    longPressDone = 0;
    if (m_hWnd == nullptr)
        return;
    stopPressTimers();
    if (GetCapture() == m_hWnd)
        ReleaseCapture();
    if (pressed)
        Invalidate(FALSE);
}

void CMyPanel::ShowMessageLayout(const std::u16string& text) {
    if (!layout)
        layout = std::make_unique<SkinLayout>();
    // The face spans the screen, so that it fits after a rotation too; it keeps the height of
    // the layout it replaces, or fills the SIP window (or the panel) when nothing has given it
    // a size yet.
    RECT client{};
    if (sipWnd.GetSafeHwnd() != nullptr) {
        sipWnd.GetClientRect(&client);
    } else if (m_hWnd != nullptr) {
        GetClientRect(&client);
    }
    if (g_screenWidth > 0) {
        layout->width = g_screenWidth;
    } else if (layout->width <= 0) {
        layout->width = client.right - client.left;
    }
    if (layout->height <= 0)
        layout->height = client.bottom - client.top;
    if (skinDC.GetSafeHdc() == nullptr)
        skinDC.CreateCompatibleDC(nullptr);
    makeMessageLayout(*layout, skinDC.GetSafeHdc(), text, TryAgain::Yes, g_screenWidth);
    resetKeyState();
    labelFont.reset();
    panelRect = {0, 0, layout->width + 2, layout->height + 1};
}

SHORT CMyPanel::GestureAt(int x, int y) const {
    if (pressedKey == nullptr)
        return kGestureTap;
    RECT r = pressedKey->rect;
    InflateRect(&r, kTapSlop, kTapSlop);
    POINT point{x, y};
    if (PtInRect(&r, point))
        return kGestureTap;
    const int dx = x > r.right ? x - r.right : (x < r.left ? x - r.left : 0);
    const int dy = y > r.bottom ? y - r.bottom : (y < r.top ? y - r.top : 0);
    if (dx == 0 && dy == 0)
        return kGestureTap;
    if (dx > 0) {
        if (dy > 0)
            return dx <= dy ? kGestureDown : kGestureRight;
        return dx <= -dy ? kGestureUp : kGestureRight;
    }
    if (dy > 0)
        return -dx <= dy ? kGestureDown : kGestureLeft;
    return -dx <= -dy ? kGestureUp : kGestureLeft;
}

void CMyPanel::stopPressTimers() {
    KillTimer(TIMER_LONGPRESS);
    KillTimer(TIMER_REPEATDELAY);
    KillTimer(TIMER_REPEAT);
}

int CMyPanel::OnCreate(LPCREATESTRUCTW) {
    if (Default() == -1)
        return -1;
    if (!layout)
        reloadSkinSettings(*this);
    return 0;
}

void CMyPanel::OnDestroy() {
    sipWnd.Detach();
    Default();
}

void CMyPanel::OnLButtonDown(UINT, CPoint point) {
    Default();
    pressedKey = layout ? layout->keyAt(point.x, point.y) : nullptr;
    if (pressedKey == nullptr || pressedKey->flags == 0)
        return;
    SetCapture();
    tracking = 1;
    gesture = kGestureTap;
    InvalidateRect(&pressedKey->rect, FALSE);
    if ((layout->flags & LF_MACROS) && (pressedKey->flags & KF_MACRO))
        SetTimer(TIMER_LONGPRESS, kLongPressMs);
    if (!(layout->flags & LF_NO_REPEAT) && (pressedKey->flags & KF_OUTPUT))
        SetTimer(TIMER_REPEATDELAY, static_cast<UINT>(g_repeatDelay));
}

void CMyPanel::OnMouseMove(UINT, CPoint point) {
    if (tracking) {
        // A key switched away in mid-press leaves nothing to stroke from.
        SHORT d = pressedKey != nullptr ? GestureAt(point.x, point.y) : kGestureNone;
        if (d != gesture) {
            gesture = d;
            Invalidate(FALSE);
        }
        if (gesture != kGestureTap) {
            if (g_enableGestures == 0)
                gesture = kGestureNone;
            KillTimer(TIMER_REPEATDELAY);
            KillTimer(TIMER_REPEAT);
        }
    }
    Default();
}

void CMyPanel::OnLButtonUp(UINT, CPoint point) {
    Default();
    const bool wasTracking = tracking != 0;
    tracking = 0;
    // A press whose layout was switched away still gives the stylus back.
    if (GetCapture() == m_hWnd)
        ReleaseCapture();
    // Only a press that went down on a key acts: a stray stylus up never repeats the last key.
    if (!wasTracking || pressedKey == nullptr || pressedKey->flags == 0) {
        stopPressTimers();
        gesture = kGestureNone;
        return;
    }
    stopPressTimers();
    Invalidate(FALSE);
    if (longPressDone) {
        longPressDone = 0;
        gesture = kGestureNone;
        pressedKey = nullptr;
        return;
    }
    SHORT d = GestureAt(point.x, point.y);
    gesture = d;
    if (g_enableGestures == 0 && d != kGestureTap) {
        gesture = kGestureNone;
        pressedKey = nullptr;
        return;
    }
    switch (d) {
        case kGestureUp:
            if (layout->altIndex < 0 || !(pressedKey->flags & KF_OUTPUT)) {
                gesture = kGestureNone;
                pressedKey = nullptr;
                return;
            }
            break;
        case kGestureRight:
            pressedKey = layout->rightKey;
            break;
        case kGestureDown:
            pressedKey = layout->downKey;
            break;
        case kGestureLeft:
            pressedKey = layout->leftKey;
            gesture = kGestureNone;
            if (pressedKey == nullptr)
                return;
            if (pressedKey->param != 8) {
                if (layout->altIndex < 0) {
                    pressedKey = nullptr;
                    return;
                }
                gesture = kGestureLeft;
            }
            break;
        default:
            break;
    }
    if (pressedKey != nullptr)
        PressKey();
    gesture = kGestureNone;
}

void CMyPanel::OnSettingChange(UINT flags, LPCWSTR) {
    if (flags == SETTINGCHANGE_RESET)
        SetTimer(TIMER_SCREENCHANGE, kScreenChangeMs);
    Default();
}

LRESULT CMyPanel::OnCaptureChanged(WPARAM, LPARAM) {
    // The stylus went to another window, or the panel was hidden under it: the stylus up of
    // this press will not come here.
    if (tracking)
        endPress();
    return Default();
}

LRESULT CMyPanel::OnWindowPosChanged(WPARAM, LPARAM) {
    if (layout && (layout->flags & LF_TASKS)) {
        RefreshTaskList(*this);
        Invalidate(TRUE);
    }
    return Default();
}

void CMyPanel::OnTimer(UINT_PTR id) {
    Default();
    switch (id) {
        case TIMER_LONGPRESS:
            KillTimer(TIMER_LONGPRESS);
            if (layout && (layout->flags & LF_MACROS) && pressedKey != nullptr &&
                (pressedKey->flags & KF_MACRO)) {
                AssignClipboardToMacro(*this);
            }
            break;
        case TIMER_REPEATDELAY:
            KillTimer(TIMER_REPEATDELAY);
            SetTimer(TIMER_REPEAT, static_cast<UINT>(g_repeatPeriod));
            break;
        case TIMER_REPEAT:
            KillTimer(TIMER_REPEAT);
            if (pressedKey == nullptr || gesture != kGestureTap)
                break;
            PressKey();
            // A repetition that switched the layout ends the repetition.
            if (pressedKey != nullptr)
                SetTimer(TIMER_REPEAT, static_cast<UINT>(g_repeatPeriod));
            break;
        case TIMER_SCREENCHANGE:
            KillTimer(TIMER_SCREENCHANGE);
            resetSkin(*this);
            break;
        default:
            break;
    }
}

LRESULT CMyPanel::OnPanelCommand(WPARAM wParam, LPARAM lParam) {
    if (wParam == 2)
        SwitchLayout(static_cast<int>(lParam));
    return 0;
}

LRESULT CMyPanel::OnPanelPressKey(WPARAM wParam, LPARAM lParam) {
    if (!layout)
        return 0;
    const auto row = static_cast<INT_PTR>(wParam);
    const auto col = static_cast<INT_PTR>(lParam);
    if (row < 0 || col < 0 || row >= kMaxRows || col >= kMaxKeysPerRow)
        return 0;
    KeyRecord* key = layout->keyAtRowCol(static_cast<int>(row), static_cast<int>(col));
    if (key == nullptr)
        return 0;
    pressedKey = key;
    gesture = kGestureTap;
    PressKey();
    // The press is over: no stroke look remains, whatever the key did to the layout.
    gesture = kGestureNone;
    return 0;
}

LRESULT CMyPanel::OnPanelReload(WPARAM wParam, LPARAM) {
    if (wParam & kReloadMacros)
        ReloadMacros(*this);
    if (wParam & kReloadSkin)
        readCurrentSkin();
    if (wParam & kReloadSettings)
        LoadSettings();
    if (wParam & kReloadSkin) {
        resetSkin(*this);
        return 0;
    }
    if ((wParam & kReloadMacros) && layout && (layout->flags & LF_MACROS))
        Invalidate(TRUE);
    return 0;
}
