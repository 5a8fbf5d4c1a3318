// KvHelper's three commands, chosen by its whole command line: "SETTINGS" opens the keyboard's
// options dialog, "GET_DPI" records the screen's dots per inch, anything else is opened by the
// shell.
#pragma once

#include <windows.h>

// The keyboard's input method class, which KvHelper creates to show its options.
inline constexpr CLSID CLSID_KelvoInputMethod = {
    0x6B1D3E27, 0x4C8A, 0x4F19, {0x9E, 0x52, 0xA0, 0x7D, 0x3C, 0x2B, 0x5E, 0x81}};

// Creates the input method through COM in this process and runs its options dialog; nothing
// when the keyboard is not registered.
void OpenOptionsDialog();
// Writes the screen's horizontal dots per inch as "DPI" under the keyboard's settings key.
void RecordScreenDpi();
// Opens `path` (a shortcut, program or document) through the shell; beeps when it cannot.
void OpenPath(LPCWSTR path);
