// The title bar along the top of the screen: the foreground program's title and the time.
// It follows the foreground window on a short timer and whenever refresh() is called.
#pragma once

#include <afxwin.h>
#include <windows.h>

#include <string>

#include "shell/ShellFont.h"

class TitleBar : public WithMessageMap<TitleBar, CWnd> {
public:
    bool create(const RECT& rect);
    void move(const RECT& rect);
    // Re-reads the title and the time; repaints only when either changed.
    void refresh();
    HWND window() const { return m_hWnd; }
    const std::u16string& title() const { return m_title; }

private:
    void OnPaint();
    void OnTimer(UINT_PTR id);
    LRESULT OnMouseActivate(WPARAM wParam, LPARAM lParam);

    std::u16string m_title;
    std::u16string m_time;
    FontHandle m_font;

public:
    static constexpr MessageMapEntry<TitleBar> messageMap[] = {
        on<WM_PAINT, &TitleBar::OnPaint>(),
        on<WM_TIMER, &TitleBar::OnTimer>(),
        onMessage<WM_MOUSEACTIVATE, &TitleBar::OnMouseActivate>(),
    };
};

// "HH:MM" of the device's local time.
std::u16string clockText(const SYSTEMTIME& time);
