// The device's registry and its file: load and save the "Windows Registry Editor Version 5.00"
// text form, keep a file up to date after every change, or start from an empty registry.
// Used by the emulator (the device folder's registry file) and by tests.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace device {

struct RegistryFileResult {
    bool ok = true;
    // On failure: what went wrong, with the file's path and, for a malformed file, its line.
    std::string message;

    explicit operator bool() const { return ok; }
};

// Replaces the registry with the file's contents. A missing, unreadable or malformed file
// leaves the registry as it was. Handles open on the old keys read as deleted afterwards.
RegistryFileResult loadRegistryFile(const std::filesystem::path& path);
// The same from text in memory ("line N: ..." messages).
RegistryFileResult loadRegistryText(std::string_view text);

// Writes the registry atomically: a temporary file beside `path`, flushed to the disk, then
// renamed over it, so that the old file stays whole if the save is cut short.
RegistryFileResult saveRegistryFile(const std::filesystem::path& path);
// The registry in its text form (UTF-8).
std::string registryText();

// Loads `path` if it exists (a malformed file fails, and nothing is attached), then saves
// the registry to it after every change. A missing file is written at once. A temporary file
// that a save cut short (a process killed in the middle) left beside it is removed first.
RegistryFileResult attachRegistryFile(const std::filesystem::path& path);
void detachRegistryFile();
// How the last save to the attached file went (a failed save keeps the change in memory, and
// the next change's save carries it too).
RegistryFileResult attachedRegistryFileStatus();
// Saves the registry to the attached file now, as after a change (for a last try before
// the registry is let go).
RegistryFileResult saveAttachedRegistryFile();

// Told when saving to the attached file starts failing (the first failure after a save that
// worked, or after attaching) and when it works again, with the new status. Called on the
// thread whose change was being saved, with the registry locked: it must not use the
// registry. An empty function stops the reports.
using RegistrySaveWatcher = std::function<void(const RegistryFileResult& status)>;
void watchRegistrySaves(RegistrySaveWatcher watcher);

// A fresh, empty registry with no file attached.
void resetRegistry();

// For tests: makes every save stop after writing its temporary file and before the rename,
// as a crash at that moment would.
enum class SaveInterruption { None, BeforeRename };
void setRegistrySaveInterruption(SaveInterruption interruption);

}  // namespace device
