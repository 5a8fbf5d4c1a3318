// Where the shell's windows go.
#include "shell/ShellLayout.h"

#include <algorithm>

ShellLayout shellLayout(int width, int height) {
    ShellLayout layout;
    const int bar = std::max(0, std::min(kBarHeight, (height - 1) / 3));
    layout.titleBar = {0, 0, width, bar};
    layout.menuBar = {0, height - bar, width, height};
    layout.workArea = {0, bar, width, height - bar};
    const int start = std::min(kStartButtonWidth, width / 2);
    const int panel = std::min(kInputPanelButtonWidth, width - start);
    layout.startButton = {0, 0, start, bar};
    layout.inputPanelButton = {width - panel, 0, width, bar};
    return layout;
}
