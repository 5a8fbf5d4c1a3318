// The launcher face: the shortcuts of the Start menu's Programs folder and of its games
// folder, each with its small icon, started through KvHelper.
#pragma once

#include <string>

class CMyPanel;

// Special-key actions that start an entry of the program list or of the game list.
inline constexpr unsigned char kLaunchProgram = 0;
inline constexpr unsigned char kLaunchGame = 1;

// Rebuilds both lists from the Programs folder (the old icons are destroyed).
void RefreshLauncher(CMyPanel& panel);
// Starts KvHelper with the shortcut's path as its whole command line; nothing is waited for.
void LaunchShortcut(const std::u16string& path);
