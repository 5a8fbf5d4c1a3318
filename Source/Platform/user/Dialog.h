// The dialog manager's internals shared by its files and by the property sheet: the data every
// dialog window keeps, making a dialog from a template, and the modal loop.
#pragma once

#include <device/Resources.h>
#include <windows.h>

#include <optional>

namespace platform::user {

// Kept behind the dialog window's extra bytes, after DWLP_USER.
struct DialogData {
    HFONT font = nullptr;
    bool ownsFont = false;
    SIZE baseUnits{4, 8};  // the font's average character width and height, in pixels
    HWND lastFocus = nullptr;
    WORD defaultId = 0;  // set by DM_SETDEFID; 0: the first default push button, else IDOK
    bool ended = false;
    INT_PTR result = 0;
    HWND modalOwner = nullptr;  // the owner a modal loop disabled, until it is enabled again
};
inline constexpr int kDialogDataOffset = DWLP_USER + static_cast<int>(sizeof(LONG_PTR));

// The data of a dialog window, or null for any other window.
DialogData* dialogData(HWND hwnd);

// The dialog template resource `name` of `instance`, read as hostile bytes; none (with
// ERROR_RESOURCE_NAME_NOT_FOUND) when it is missing or malformed.
std::optional<DialogTemplate> loadDialogTemplate(HINSTANCE instance, LPCWSTR name);

// Makes a dialog window and its controls from a template (in dialog units of the template's
// font, or of the system font without DS_SETFONT) and sends WM_INITDIALOG. `parent` is the
// parent of a child dialog, the owner of any other. Null on failure (the window is gone then).
HWND createDialog(const DialogTemplate& dialog, HINSTANCE instance, HWND parent, DLGPROC proc,
                  LPARAM initParam);

// Runs a dialog modally: disables `owner` (when enabled), shows the dialog, and handles
// messages until EndDialog; then enables the owner again, destroys the dialog and returns its
// result. A quit message ends the loop with `quitResult` (and is posted again).
INT_PTR runModal(HWND dialog, HWND owner, INT_PTR quitResult);

// Tells DefDlgProcW which data and dialog procedure the next dialog window this thread makes
// takes at its WM_NCCREATE.
void expectDialog(DialogData* data, DLGPROC proc);
// Takes back the data announced when no window claimed it; null when one did.
DialogData* withdrawDialog();

// The top-level window that holds `hwnd` (itself when it is one).
HWND topLevelOf(HWND hwnd);

// 64-bit a * b / c, rounded half away from zero; 0 when c is 0.
int mulDiv(int a, int b, int c);

}  // namespace platform::user
