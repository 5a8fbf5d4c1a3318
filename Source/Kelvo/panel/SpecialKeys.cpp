// The special keys' actions and the programs they start.
#include "panel/SpecialKeys.h"

#include <windows.h>

#include <vector>

#include "panel/Launcher.h"
#include "panel/MyPanel.h"
#include "skin/SkinSettings.h"

void OnSpecialKey(CMyPanel& panel) {
    if (panel.pressedKey == nullptr)
        return;
    const WORD param = panel.pressedKey->param;
    switch (panel.pressedKey->vk) {
        case kLaunchProgram:
            if (param < panel.programPaths.size())
                LaunchShortcut(panel.programPaths[param]);
            break;
        case kLaunchGame:
            if (param < panel.gamePaths.size())
                LaunchShortcut(panel.gamePaths[param]);
            break;
        case kSpecialSettings:
            StartProgram(kHelperProgram, u"SETTINGS");
            break;
        case kSpecialDesktop:
            ShowDesktop();
            break;
        case kSpecialHelp:
            StartProgram(kHelpViewerProgram, HelpCommandLine(param));
            break;
        default:
            break;
    }
}

void ShowDesktop() {
    if (HWND desktop = FindWindowW(kDesktopClass, nullptr))
        SetForegroundWindow(desktop);
}

std::u16string HelpCommandLine(unsigned topic) {
    WCHAR anchor[32] = u"#Main_Contents";
    if (topic != 0)
        swprintf(anchor, 32, u"#BUTTON_TOPIC%d", static_cast<int>(topic));
    return u"file:" + helpFilePath + anchor;
}

void StartProgram(const char16_t* program, const std::u16string& commandLine) {
    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::vector<WCHAR> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    CreateProcessW(program, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                   nullptr);
}
