// SHGetShortcutTarget: reads the target a shortcut file names.
#include <shellapi.h>
#include <winbase.h>

#include <algorithm>

#include "shell/ShortcutFile.h"

BOOL SHGetShortcutTarget(LPCWSTR shortcut, LPWSTR target, int maxCharacters) {
    if (shortcut == nullptr || target == nullptr || maxCharacters <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    target[0] = 0;
    if (GetFileAttributesW(shortcut) == INVALID_FILE_ATTRIBUTES) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    auto read = platform::readShortcut(shortcut);
    if (!read) {
        SetLastError(ERROR_BAD_FORMAT);
        return FALSE;
    }
    if (read->size() >= static_cast<size_t>(maxCharacters)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::copy(read->begin(), read->end(), target);
    target[read->size()] = 0;
    return TRUE;
}
