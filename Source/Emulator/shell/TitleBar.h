// The title bar along the top of the screen: the foreground program's title and the time.
// It follows the foreground window on a short timer and whenever refresh() is called.
#pragma once

#include <windows.h>

#include <string>

#include "shell/ShellFont.h"

class TitleBar {
public:
    TitleBar() = default;
    ~TitleBar();
    TitleBar(const TitleBar&) = delete;
    TitleBar& operator=(const TitleBar&) = delete;

    bool create(const RECT& rect);
    void move(const RECT& rect);
    // Re-reads the title and the time; repaints only when either changed.
    void refresh();
    HWND window() const { return m_window; }
    const std::u16string& title() const { return m_title; }

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void paint();

    HWND m_window = nullptr;
    std::u16string m_title;
    std::u16string m_time;
    FontHandle m_font;
};

// "HH:MM" of the device's local time.
std::u16string clockText(const SYSTEMTIME& time);
