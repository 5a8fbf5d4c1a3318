// The Notes program's text view: a child window that holds the text, takes typed characters
// and editing keys, keeps a caret, draws the text through the bidi paragraph layout (Farsi
// shaped and right to left, lines wrapped) and scrolls to keep the caret in view.
#pragma once

#include <windef.h>

// The view's window class; registered once per process.
inline constexpr WCHAR kNotesEditClass[] = u"NotesEdit";

// False when the class cannot be registered (one registered already counts as success).
bool registerNotesEditClass(HINSTANCE instance);
