// The menu bar along the bottom of the screen: a Start button that brings the Today screen to
// the front, and the input panel button, which shows and hides the panel and carries the input
// method's button picture. Its window also takes the work other threads hand to the shell.
#pragma once

#include <commctrl.h>
#include <windows.h>

#include <functional>

#include "shell/ShellFont.h"
#include "shell/ShellLayout.h"

struct MenuBarActions {
    std::function<void()> start;
    std::function<void()> toggleInputPanel;
};

class MenuBar {
public:
    explicit MenuBar(MenuBarActions actions) : m_actions(std::move(actions)) {}
    ~MenuBar();
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;

    bool create(const ShellLayout& layout);
    void move(const ShellLayout& layout);
    // The input method's pictures (either may be null) and whether the panel is shown.
    void setInputPanelButton(HIMAGELIST wide, HIMAGELIST narrow, bool panelShown);
    HWND window() const { return m_window; }

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    void tapped(POINT point);

    MenuBarActions m_actions;
    HWND m_window = nullptr;
    ShellLayout m_layout;
    HIMAGELIST m_wide = nullptr;
    HIMAGELIST m_narrow = nullptr;
    bool m_panelShown = false;
    FontHandle m_font;
};
