// Reading one text value from the registry.
#include "registry/TextValue.h"

#include <winreg.h>

#include <algorithm>
#include <vector>

namespace platform {

std::optional<std::u16string> readRegistryText(HKEY root, std::u16string_view subKey,
                                               LPCWSTR name) {
    const std::u16string path(subKey);
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    LONG result = RegQueryValueExW(key, name, nullptr, &type, nullptr, &size);
    std::vector<WCHAR> text(size / sizeof(WCHAR) + 1, 0);
    if (result == ERROR_SUCCESS) {
        size = static_cast<DWORD>((text.size() - 1) * sizeof(WCHAR));
        result = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                                  &size);
    }
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    // The text ends at its first terminator, or where the data ends if it has none.
    std::u16string value(text.data(), size / sizeof(WCHAR));
    value.resize(std::min(value.size(), value.find(u'\0')));
    if (value.empty())
        return std::nullopt;
    return value;
}

}  // namespace platform
