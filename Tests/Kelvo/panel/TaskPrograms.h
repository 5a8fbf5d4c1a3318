// Device programs for the task switcher's tests. "Windows.exe" opens the top-level windows its
// command line describes, one after the other (so the last is topmost), away from the input
// panel, and ends when they are all closed. Descriptions are separated by ';'; each is a title
// followed by marks after '/': t a tool window, h hidden, s style bit 0x00010000, d a first
// child of class "DocList". A command line starting with '!' makes a stubborn program that
// ignores WM_CLOSE until closeTaskPrograms.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tasktest {

// Enters "Windows.exe" in the program table.
void registerTaskPrograms();
// Starts "Windows.exe" with `description` and waits until its windows are open. Its windows,
// first opened first; empty when it did not start.
std::vector<HWND> openWindows(const std::u16string& description);
// Asks every program started by openWindows to close (the stubborn ones too) and waits for them.
void closeTaskPrograms();

}  // namespace tasktest
