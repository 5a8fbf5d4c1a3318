// SHCreateShortcut: writes a shortcut file.
#include <shellapi.h>
#include <winbase.h>

#include "shell/ShortcutFile.h"

DWORD SHCreateShortcut(LPCWSTR shortcut, LPCWSTR target) {
    if (shortcut == nullptr || target == nullptr || *target == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return platform::writeShortcut(shortcut, target) ? TRUE : FALSE;
}
