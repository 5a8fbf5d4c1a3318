// Splitting a command line into the program it names and the arguments that follow, as
// CreateProcessW does without an application name and the shell does for a shortcut's target.
#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace platform {

// "\Windows\KvHelper.exe SETTINGS" → {"\Windows\KvHelper.exe", "SETTINGS"};
// "\"\Program Files\a b.exe\"  x y" → {"\Program Files\a b.exe", "x y"}. Blanks before the
// program and between it and the arguments are dropped; the arguments are kept as they stand.
std::pair<std::u16string, std::u16string> splitCommandLine(std::u16string_view line);

}  // namespace platform
