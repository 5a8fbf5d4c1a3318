// Reading the clipboard's text for the panel (a macro's long press, the calculator's paste).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The CF_UNICODETEXT text on the clipboard, opened with `owner`, up to its first terminator and
// never past the end of the clipboard's block (a block without a terminator gives all of it).
// Nothing when no text is there or the clipboard cannot be opened.
std::optional<std::u16string> ReadClipboardText(HWND owner);
