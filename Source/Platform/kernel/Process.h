// Device processes: each runs on a thread of its own, with its own loaded modules. The thread
// that runs a test or the emulator's main loop belongs to the device's first process, the shell.
#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <winbase.h>

#include "kernel/KernelObject.h"

namespace platform {

struct Module;

class Process : public KernelObject {
public:
    DWORD id = 0;
    DWORD mainThreadId = 0;
    std::u16string imagePath;  // "\Windows\KvHelper.exe"
    std::u16string commandLine;

    // Guarded by the device mutex.
    bool exited = false;
    DWORD exitCode = STILL_ACTIVE;

    // The modules this process has loaded, and its own program module. Guarded by moduleMutex.
    std::mutex moduleMutex;
    std::vector<Module*> modules;
    Module* programModule = nullptr;

    bool isSignalled() const override { return exited; }
};

class Thread : public KernelObject {
public:
    DWORD id = 0;
    bool exited = false;  // guarded by the device mutex
    bool isSignalled() const override { return exited; }
};

Process& currentProcess();
std::shared_ptr<Process> findProcess(DWORD processId);

// What the program table holds for a program, found by the names CreateProcessW accepts.
struct ProgramListing {
    std::u16string name;         // "Notes.exe"
    std::u16string libraryPath;  // a program library's device path; empty for a built-in
    WORD iconId = 0;             // a built-in program's icon group in the host program's image
};
std::optional<ProgramListing> findProgramListing(std::u16string_view programPath);

// The instance handle of the host program's own image, whose resources the built-in
// programs share (their icons among them).
HINSTANCE builtinProgramsInstance();

// Runs `hook(processId)` on a process's thread just before it ends (after WinMain returns),
// so that other parts of the platform can release what the process left behind (its windows).
void addProcessExitHook(std::function<void(DWORD processId)> hook);

}  // namespace platform
