// UTF-16 ↔ UTF-8 at the host's edges (host file names, console and log output).
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::string hostText(std::u16string_view text);
std::u16string deviceText(std::string_view hostText);

}  // namespace platform
