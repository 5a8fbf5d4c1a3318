// Putting text on the device's clipboard from a test, as a program would: a local memory block
// of CF_UNICODETEXT, with its terminator, or without one as some programs leave it.
#pragma once

#include <winbase_memory.h>
#include <winuser.h>

#include <algorithm>
#include <string>

namespace testsupport {

enum class Terminator { With, Without };

// Replaces what the clipboard holds by `units`, the clipboard opened for `owner`. False when the
// block cannot be made or the clipboard cannot be opened.
inline bool putTextOnClipboard(const std::u16string& units, HWND owner = nullptr,
                               Terminator terminator = Terminator::With) {
    const size_t count = units.size() + (terminator == Terminator::With ? 1 : 0);
    HLOCAL block = LocalAlloc(LMEM_ZEROINIT, std::max<size_t>(count, 1) * sizeof(WCHAR));
    if (block == nullptr)
        return false;
    std::copy(units.begin(), units.end(), static_cast<WCHAR*>(LocalLock(block)));
    LocalUnlock(block);
    if (!OpenClipboard(owner)) {
        LocalFree(block);
        return false;
    }
    EmptyClipboard();
    const bool taken = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    CloseClipboard();
    return taken;
}

}  // namespace testsupport
