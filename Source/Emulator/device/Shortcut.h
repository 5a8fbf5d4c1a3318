// Start-menu shortcut files in the device's format: the target's length in characters, '#',
// then the target (a program path, quoted when it holds spaces, and its arguments), as ASCII
// or UTF-8 text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The file's bytes for a target.
std::string shortcutText(std::u16string_view target);

// The target a shortcut file names; nothing for bytes that are not a shortcut (no number,
// no '#', a length that disagrees with the text, text that is not UTF-8, control characters).
std::optional<std::u16string> parseShortcut(std::string_view bytes);

// Writes a shortcut at a device path. False when the file cannot be written.
bool writeShortcut(std::u16string_view devicePath, std::u16string_view target);
// Reads the shortcut at a device path (at most kMaxShortcutBytes are read).
std::optional<std::u16string> readShortcut(std::u16string_view devicePath);

inline constexpr size_t kMaxShortcutBytes = 1024;
