// The menu bar along the bottom of the screen: a Start button that brings the Today screen to
// the front, and the input panel button, which shows and hides the panel and carries the input
// method's button picture. Its window also takes the work other threads hand to the shell.
#pragma once

#include <afxwin.h>
#include <commctrl.h>
#include <windows.h>

#include <functional>

#include "shell/ShellFont.h"
#include "shell/ShellLayout.h"
#include "shell/ThreadCall.h"

struct MenuBarActions {
    std::function<void()> start;
    std::function<void()> toggleInputPanel;
};

class MenuBar : public WithMessageMap<MenuBar, CWnd> {
public:
    explicit MenuBar(MenuBarActions actions) : m_actions(std::move(actions)) {}

    bool create(const ShellLayout& layout);
    void move(const ShellLayout& layout);
    // The input method's pictures (either may be null) and whether the panel is shown.
    void setInputPanelButton(HIMAGELIST wide, HIMAGELIST narrow, bool panelShown);
    HWND window() const { return m_hWnd; }

private:
    LRESULT OnThreadCall(WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnLButtonUp(UINT flags, CPoint point);
    LRESULT OnMouseActivate(WPARAM wParam, LPARAM lParam);

    MenuBarActions m_actions;
    ShellLayout m_layout;
    HIMAGELIST m_wide = nullptr;
    HIMAGELIST m_narrow = nullptr;
    bool m_panelShown = false;
    FontHandle m_font;

public:
    static constexpr MessageMapEntry<MenuBar> messageMap[] = {
        onMessage<WM_THREAD_CALL, &MenuBar::OnThreadCall>(),
        on<WM_PAINT, &MenuBar::OnPaint>(),
        on<WM_LBUTTONUP, &MenuBar::OnLButtonUp>(),
        onMessage<WM_MOUSEACTIVATE, &MenuBar::OnMouseActivate>(),
    };
};
