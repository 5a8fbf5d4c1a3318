// The device's program table: which programs CreateProcessW can start, and how.
#pragma once

#include <string>

#include <windef.h>

namespace device {

typedef int (*WinMainProc)(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine,
                           int showCommand);

// A program whose entry point is linked into the host program (a built-in device program).
// `name` is its file name, "Notes.exe"; it is found as "\Windows\Notes.exe" or by that name.
// `iconId` is the program's icon, an RT_GROUP_ICON resource of the host program's module (the
// built-in programs share that module, so each names its own); 0 for none.
void registerProgram(std::u16string_view name, WinMainProc entry, WORD iconId = 0);

// The icon a built-in program was registered with (0 for none, for a program library and for
// an unknown program). The program is found as CreateProcessW finds it.
WORD programIconId(std::u16string_view programPath);

// A program that is a device library exporting "WinMain" (as KvHelper is): each process that
// runs it loads its own copy, with its own globals and resources.
void registerProgramLibrary(std::u16string_view name, std::u16string_view libraryDevicePath);

// The program file a process runs ("\Windows\Notes.exe"; the shell is
// "\Windows\explorer.exe"), or empty for an unknown process id.
std::u16string processImagePath(DWORD processId);

// Every process logs kind "process" with its program and arguments when it starts, and kind
// "exit" with the same text and ", code N" when its WinMain returns.

// Waits (in real time, at most `timeoutMs`) until every process started so far has ended.
bool waitForAllProcesses(unsigned timeoutMs);

}  // namespace device
