// The panel's special keys (KF_LAUNCH): start a program or game of the launcher's lists, open
// the options dialog through KvHelper, bring the desktop to the front, open the skin's help.
#pragma once

#include <string>

class CMyPanel;

// Special-key actions beside the launcher's (kLaunchProgram, kLaunchGame in Launcher.h).
inline constexpr unsigned char kSpecialSettings = 3;
inline constexpr unsigned char kSpecialDesktop = 4;
inline constexpr unsigned char kSpecialHelp = 5;

// The programs the panel starts.
inline constexpr const char16_t* kHelperProgram = u"KvHelper.exe";
inline constexpr const char16_t* kHelpViewerProgram = u"peghelp.exe";
// The desktop's window class (the Today screen).
inline constexpr const char16_t* kDesktopClass = u"DesktopExplorerWindow";

// The action of the panel's pressedKey, a KF_LAUNCH key.
void OnSpecialKey(CMyPanel& panel);
// Brings the desktop's window to the front; nothing when there is none.
void ShowDesktop();
// The help viewer's command line for topic `topic` of the skin's help file (0: the contents).
std::u16string HelpCommandLine(unsigned topic);
// Starts `program` with `commandLine` as its whole command line, as the panel starts every
// program: nothing inherited, no start-up information, not waited for, nothing to close.
void StartProgram(const char16_t* program, const std::u16string& commandLine);
