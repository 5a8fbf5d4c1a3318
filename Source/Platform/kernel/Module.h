// Device libraries and program modules as loaded by one process. A library is a shared object
// built by this repository; each process that loads it gets a copy of its own (separate
// globals, as on the device). Built-in libraries are parts of the platform that programs
// load by name as if they were files (the imaging library).
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include <winbase.h>

namespace platform {

class Process;

struct BuiltinLibrary {
    std::u16string name;  // "imaging.dll"
    std::map<std::string, FARPROC> exports;
};

struct Module {
    std::u16string devicePath;       // "\Windows\Kelvo.dll"
    std::filesystem::path hostCopy;  // the process's own copy; empty for built-ins and programs
    void* dlHandle = nullptr;        // null for built-in libraries
    const BuiltinLibrary* builtin = nullptr;
    Process* owner = nullptr;
    int references = 1;
    bool attached = false;  // its DllMain accepted the process attach
};

// Makes `library` loadable by its name (LoadLibraryW("imaging.dll") or "\Windows\imaging.dll").
void registerBuiltinLibrary(BuiltinLibrary library);

// The module behind an instance handle, or null when it is not a live module.
Module* moduleOf(HMODULE module);
// The host library handle of a module (for finding its resources), or null.
void* moduleDlHandle(HINSTANCE instance);

// A program module for a process (built-in programs use the host program's own image).
Module* createProgramModule(Process& process, std::u16string devicePath, void* dlHandle);
// Unloads every module a process still holds; called as the process ends.
void releaseProcessModules(Process& process);

}  // namespace platform
