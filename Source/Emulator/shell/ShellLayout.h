// Where the shell's windows go on a screen of a given size: the title bar along the top, the
// menu bar along the bottom, and between them the work area that programs fill.
#pragma once

#include <windef.h>

struct ShellLayout {
    RECT titleBar{};
    RECT menuBar{};
    RECT workArea{};
    // In the menu bar's client coordinates.
    RECT startButton{};
    RECT inputPanelButton{};
};

inline constexpr int kBarHeight = 26;
inline constexpr int kStartButtonWidth = 44;
inline constexpr int kInputPanelButtonWidth = 40;

// Bars shrink on very small screens so that the work area always keeps at least one row.
ShellLayout shellLayout(int screenWidth, int screenHeight);
