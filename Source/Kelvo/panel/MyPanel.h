// CMyPanel: the keyboard panel. One object per selection of the input method; it owns a child
// window of the host's SIP window, the layout on show and its alternate, tracks the stylus,
// and turns taps and strokes on keys into key actions sent through the host's callback.
#pragma once

#include <afxwin.h>
#include <sip.h>

#include <array>
#include <memory>
#include <string>

#include "skin/SkinLayout.h"

// Private messages.
inline constexpr UINT WM_PANEL_COMMAND = WM_USER + 1;   // wParam 2: switch to layout lParam
inline constexpr UINT WM_PANEL_PRESSKEY = WM_USER + 2;  // press the key at wParam, lParam
inline constexpr UINT WM_PANEL_RELOAD = WM_USER + 3;    // reload the groups in wParam

// Changed groups (WM_PANEL_RELOAD's wParam).
inline constexpr WPARAM kReloadMacros = 0x0001;
inline constexpr WPARAM kReloadSkin = 0x0002;
inline constexpr WPARAM kReloadSettings = 0x0004;

// Timers of the panel window.
inline constexpr UINT_PTR TIMER_LONGPRESS = 1;
inline constexpr UINT_PTR TIMER_REPEATDELAY = 2;
inline constexpr UINT_PTR TIMER_REPEAT = 3;
inline constexpr UINT_PTR TIMER_SCREENCHANGE = 5;
inline constexpr UINT kLongPressMs = 2000;
inline constexpr UINT kScreenChangeMs = 1000;

inline constexpr const WCHAR* kPanelClassName = u"KvPanelCls";
inline constexpr UINT kPanelControlId = 100;
inline constexpr int kLayoutHistoryDepth = 5;
// How far (in pixels) the stylus may leave a key and still tap it.
inline constexpr int kTapSlop = 10;

// Gesture directions.
inline constexpr SHORT kGestureNone = -1;
inline constexpr SHORT kGestureTap = 0;
inline constexpr SHORT kGestureUp = 1;
inline constexpr SHORT kGestureRight = 2;
inline constexpr SHORT kGestureDown = 3;
inline constexpr SHORT kGestureLeft = 4;

// Modifier slots with a fixed meaning.
inline constexpr int kShiftSlot = 2;
inline constexpr int kControlSlot = 3;

class CMyPanel : public WithMessageMap<CMyPanel, CWnd> {
public:
    CMyPanel() = default;
    ~CMyPanel() override;

    // Registers KvPanelCls and creates the panel window filling the SIP window's client area.
    bool CreatePanelWindow(HWND sipWindow);

    // Key actions.
    void PressKey();
    void SwitchLayout(int n);
    void ToggleModifier(int s);

    // The direction of a stylus point from the pressed key: 0 on it, 1 up, 2 right, 3 down,
    // 4 left; 0 when no key is pressed.
    SHORT GestureAt(int x, int y) const;
    // Sizes the SIP window and the panel window to the current layout (loading the skin first
    // when none is loaded yet), fills info's rectangle and keeps a copy of info as imInfo.
    void LayoutPanel(IMINFO& info);
    // Replaces the layout by the message face with the Try Again key and resets the press.
    void ShowMessageLayout(const std::u16string& text);
    // Once the host has laid the panel out, lays it out again whenever the layout's size
    // differs from the SIP window's.
    void fitToLayout();
    // Sizes the SIP window and the panel window to the layout, as the host's GetInfo does, and
    // tells the host the new rectangle.
    void layOutAgain();

    // Slot s (1..10) counts for output: the current layout has a key in it and it is latched.
    bool slotActive(int s) const;
    // Clears the press and modifier state: history, pressed key, modifier keys and latches,
    // with the key-up of every modifier the application was told is down.
    void resetKeyState();
    // Ends the press under way: no timer, no pressed key, nothing more typed for it.
    void endPress();
    // Sends the key-up of every modifier whose key-down went out and has not gone up since.
    void releaseModifierKeys();

    // Message handlers.
    int OnCreate(LPCREATESTRUCTW create);
    void OnPaint();
    void OnDestroy();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnSettingChange(UINT flags, LPCWSTR section);
    LRESULT OnWindowPosChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    void OnTimer(UINT_PTR id);
    LRESULT OnPanelCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnPanelPressKey(WPARAM wParam, LPARAM lParam);
    LRESULT OnPanelReload(WPARAM wParam, LPARAM lParam);

    static constexpr MessageMapEntry<CMyPanel> messageMap[] = {
        on<WM_CREATE, &CMyPanel::OnCreate>(),
        on<WM_PAINT, &CMyPanel::OnPaint>(),
        on<WM_DESTROY, &CMyPanel::OnDestroy>(),
        on<WM_LBUTTONDOWN, &CMyPanel::OnLButtonDown>(),
        on<WM_LBUTTONUP, &CMyPanel::OnLButtonUp>(),
        on<WM_MOUSEMOVE, &CMyPanel::OnMouseMove>(),
        on<WM_SETTINGCHANGE, &CMyPanel::OnSettingChange>(),
        onMessage<WM_WINDOWPOSCHANGED, &CMyPanel::OnWindowPosChanged>(),
        onMessage<WM_CAPTURECHANGED, &CMyPanel::OnCaptureChanged>(),
        on<WM_TIMER, &CMyPanel::OnTimer>(),
        onMessage<WM_PANEL_COMMAND, &CMyPanel::OnPanelCommand>(),
        onMessage<WM_PANEL_PRESSKEY, &CMyPanel::OnPanelPressKey>(),
        onMessage<WM_PANEL_RELOAD, &CMyPanel::OnPanelReload>(),
    };

    IIMCallback* callback = nullptr;
    IMINFO imInfo{};
    CWnd sipWnd;
    RECT panelRect{};
    std::u16string skinPath;
    std::unique_ptr<SkinLayout> layout;
    std::unique_ptr<SkinLayout> altLayout;
    std::array<int32_t, kLayoutHistoryDepth> layoutHistory{};
    CDC skinDC;
    KeyRecord* pressedKey = nullptr;
    // Entry s - 1 holds the modifier key of slot s.
    std::array<KeyRecord*, kModifierSlots> modSlot{};
    std::array<BYTE, kModifierSlots> latched{};
    // Entry s - 1: the virtual key whose key-down slot s sent and whose key-up has not gone
    // out yet, 0 for none.
    std::array<BYTE, kModifierSlots> modifierKeyDown{};
    SHORT gesture = kGestureNone;
    BYTE tracking = 0;
    std::unique_ptr<CFont> labelFont;
    std::u16string calcText = u"0";
    double calcValue = 0;
    double calcOperand = 0;
    WORD calcPendingOp = 0;
    BYTE calcGrouping = 0;
    BYTE calcNativeDigits = 0;
    BYTE calcNewEntry = 1;
    double calcMemory = 0;
    std::array<HWND, 20> taskWnd{};
    std::array<HICON, 30> programIcons{};
    std::array<HICON, 15> gameIcons{};
    std::array<std::u16string, 30> programPaths;
    std::array<std::u16string, 15> gamePaths;
    BYTE longPressDone = 0;
    int32_t recordCount = -1;
    int32_t recordSlot = -1;
    signed char recordKeyPos[2] = {-1, -1};
    COLORREF textColor = 0;
    COLORREF frameColor = 0;
    int32_t scale = 1;

private:
    void stopPressTimers();
    void record(BYTE flags, BYTE vk, WORD ch);
    void releaseModifierKey(BYTE vk);
    void sendCharacterPairs(const KeyRecord& key);
    void sendVirtualKeyPair(BYTE vk);
};
