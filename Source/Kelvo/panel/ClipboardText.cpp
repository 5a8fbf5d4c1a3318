// The clipboard's text, bounded by the size of the block that holds it: another program put it
// there and nothing promises it is terminated.
#include "panel/ClipboardText.h"

std::optional<std::u16string> ReadClipboardText(HWND owner) {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(owner))
        return std::nullopt;
    std::optional<std::u16string> text;
    if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
        const auto* units = static_cast<const WCHAR*>(LocalLock(block));
        if (units != nullptr) {
            const size_t capacity = LocalSize(block) / sizeof(WCHAR);
            size_t length = 0;
            while (length < capacity && units[length] != 0)
                ++length;
            text.emplace(units, length);
            LocalUnlock(block);
        }
    }
    CloseClipboard();
    return text;
}
