// The Today screen: the desktop window (class "DesktopExplorerWindow") behind every program,
// filling the work area with the date, the owner's name and the Start menu's shortcuts; a tap
// on a shortcut starts its program.
#pragma once

#include <afxwin.h>
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

class TodayScreen : public WithMessageMap<TodayScreen, CWnd> {
public:
    bool create(const RECT& workArea);
    void move(const RECT& workArea);
    // Re-reads the owner's name and the shortcuts.
    void reload();
    HWND window() const { return m_hWnd; }
    const std::vector<TodayShortcut>& shortcuts() const { return m_shortcuts; }

private:
    void OnPaint();
    void OnLButtonUp(UINT flags, CPoint point);
    RECT shortcutRect(size_t index) const;

    std::u16string m_owner;
    std::vector<TodayShortcut> m_shortcuts;
    FontHandle m_font;
    FontHandle m_bold;

public:
    static constexpr MessageMapEntry<TodayScreen> messageMap[] = {
        on<WM_PAINT, &TodayScreen::OnPaint>(),
        on<WM_LBUTTONUP, &TodayScreen::OnLButtonUp>(),
    };
};

// The owner's name from the owner block, or empty.
std::u16string ownerName();
// The shortcuts of a folder, in the order the file search returns them, at most `limit`.
std::vector<TodayShortcut> shortcutsIn(std::u16string_view folder, size_t limit);
