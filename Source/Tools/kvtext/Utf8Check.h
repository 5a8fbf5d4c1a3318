// Strict UTF-8 validation for kvtext's input: no overlong forms, surrogates or code points
// beyond U+10FFFF.
#pragma once

#include <cstddef>
#include <string_view>

namespace kvtext {

// Offset of the first byte that does not start a valid sequence, or npos when all is valid.
size_t firstInvalidUtf8(std::string_view bytes);

}  // namespace kvtext
