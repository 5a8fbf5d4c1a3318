// The window, dialog and control style names a dialog source may use, with their values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace rescomp {

std::optional<uint32_t> styleValue(const std::string& name);

}  // namespace rescomp
