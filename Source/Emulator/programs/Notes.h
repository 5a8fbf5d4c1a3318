// Notes, the device's built-in text editor ("notes.exe"): a window over the visible desktop (above
// the keyboard when it is up) holding a multi-line Farsi edit control that the keyboard types into.
#pragma once

#include <windef.h>

// The top-level window's class and title, and the edit control's id.
inline constexpr WCHAR kNotesWindowClass[] = u"NotesWindow";
inline constexpr WCHAR kNotesTitle[] = u"Notes";
inline constexpr int kNotesEditId = 1001;

// Puts "notes.exe" in the device's program table.
void registerNotesProgram();
