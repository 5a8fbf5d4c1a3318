// Shortcut files in the device's format: the target's length in characters, '#', then the
// target (a program path, quoted when it holds spaces, and its arguments; or a document), as
// ASCII or UTF-8 text. SHCreateShortcut and SHGetShortcutTarget are built on this, and so is
// the shell's opening of a shortcut.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

inline constexpr size_t kMaxShortcutBytes = 1024;

// The file's bytes for a target.
std::string shortcutText(std::u16string_view target);

// The target a shortcut file names; nothing for bytes that are not a shortcut (no number,
// no '#', a length that disagrees with the text, text that is not UTF-8, control characters,
// more than kMaxShortcutBytes).
std::optional<std::u16string> parseShortcut(std::string_view bytes);

// Writes a shortcut at a device path, replacing one that is there. False when the file
// cannot be written.
bool writeShortcut(std::u16string_view devicePath, std::u16string_view target);
// Reads the shortcut at a device path (at most kMaxShortcutBytes + 1 bytes are read).
std::optional<std::u16string> readShortcut(std::u16string_view devicePath);

}  // namespace platform
