// The registry's text form, "Windows Registry Editor Version 5.00": [key] sections with
// "name"="text", dword:, hex: and hex(N): values, written so that every value reads back
// byte for byte.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "registry/RegistryTree.h"

namespace platform {

inline constexpr std::string_view kRegistryFileHeader = "Windows Registry Editor Version 5.00";

struct RegistryTextError {
    size_t line = 0;
    std::string what;
};

std::string writeRegistryText(const RegistryTree& tree);

// The tree the text describes, or nothing with `error` naming the line and the fault.
std::optional<RegistryTree> parseRegistryText(std::string_view text, RegistryTextError& error);

}  // namespace platform
