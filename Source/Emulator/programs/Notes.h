// Notes, the device's built-in text editor ("notes.exe"): a full-screen window over the work
// area with the text view that the keyboard types into.
#pragma once

#include <windef.h>

// The top-level window's class and title, and the text view's control id.
inline constexpr WCHAR kNotesWindowClass[] = u"NotesWindow";
inline constexpr WCHAR kNotesTitle[] = u"Notes";
inline constexpr int kNotesEditId = 1001;

// Puts "notes.exe" in the device's program table.
void registerNotesProgram();
