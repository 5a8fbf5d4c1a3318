// The Today screen: the desktop window (class "DesktopExplorerWindow") behind every program,
// filling the work area with the date, the owner's name and the Start menu's shortcuts; a tap
// on a shortcut starts its program.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "shell/DateText.h"
#include "shell/ShellFont.h"

struct TodayShortcut {
    std::u16string name;    // the file name without ".lnk"
    std::u16string path;    // the shortcut file, which the shell opens when it is tapped
    std::u16string target;  // what the shortcut starts
};

class TodayScreen {
public:
    TodayScreen() = default;
    ~TodayScreen();
    TodayScreen(const TodayScreen&) = delete;
    TodayScreen& operator=(const TodayScreen&) = delete;

    bool create(const RECT& workArea);
    void move(const RECT& workArea);
    // Re-reads the owner's name and the shortcuts.
    void reload();
    HWND window() const { return m_window; }
    const std::vector<TodayShortcut>& shortcuts() const { return m_shortcuts; }

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    void tapped(POINT point);
    RECT shortcutRect(size_t index) const;

    HWND m_window = nullptr;
    std::u16string m_owner;
    std::vector<TodayShortcut> m_shortcuts;
    FontHandle m_font;
    FontHandle m_bold;
};

// The owner's name from the owner block, or empty.
std::u16string ownerName();
// The shortcuts of a folder, in the order the file search returns them, at most `limit`.
std::vector<TodayShortcut> shortcutsIn(std::u16string_view folder, size_t limit);
