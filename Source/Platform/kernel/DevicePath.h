// Device path text: splitting into components, comparing names and matching wildcards the way
// the device does (case-insensitively).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The components of a device path, or nothing for one that tries to leave the root ("..").
std::optional<std::vector<std::u16string>> splitDevicePath(std::u16string_view path);

// The path without its last component ("\a\b\c.txt" → "\a\b"), and the last component.
std::u16string_view deviceFolderOf(std::u16string_view path);
std::u16string_view deviceFileNameOf(std::u16string_view path);

bool sameDeviceName(std::u16string_view a, std::u16string_view b);

// `*` matches any run of characters, `?` any one character; case-insensitive.
bool matchesWildcard(std::u16string_view pattern, std::u16string_view name);

char16_t foldDeviceCase(char16_t c);

}  // namespace platform
