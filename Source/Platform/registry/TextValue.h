// Reading one text value (REG_SZ or REG_EXPAND_SZ) from the registry, as the platform's own
// lookups need it (COM servers, file associations, shell folders).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "windef.h"

namespace platform {

// The text of value `name` (null: the default value) of key `subKey` below `root`, up to its
// first terminator; nothing when the key or value is missing, not text, or empty.
std::optional<std::u16string> readRegistryText(HKEY root, std::u16string_view subKey, LPCWSTR name);

}  // namespace platform
