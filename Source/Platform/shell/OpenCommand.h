// What the shell starts to open a file: a shortcut's target, a program itself, or the program a
// document's extension is associated with in HKEY_CLASSES_ROOT. ShellExecuteExW starts it and
// SHGetFileInfoW shows its icon.
#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "windef.h"

namespace platform {

struct OpenCommand {
    std::u16string program;    // as CreateProcessW takes it: "\Windows\peghelp.exe", "notes"
    std::u16string arguments;  // its whole command line
};

// The command that opens `file` (a full device path) with `parameters` passed on to a program
// or a shortcut's target; on failure the error code (ERROR_FILE_NOT_FOUND,
// ERROR_NO_ASSOCIATION, ERROR_BAD_FORMAT for a broken shortcut).
std::variant<OpenCommand, DWORD> openCommandFor(std::u16string_view file,
                                                std::u16string_view parameters);

// A program the device can start: one in the program table, or any ".exe" path.
bool isProgramPath(std::u16string_view path);

}  // namespace platform
