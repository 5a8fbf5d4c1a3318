// The UTF-8 and UTF-16 coding steps shared by the text conversions of the platform (the
// registry file reads UTF-8 strictly with them).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

inline constexpr uint32_t kInvalidUtf8 = 0xFFFFFFFFu;

// Decodes the code point at text[pos] and moves pos past it; on an ill-formed sequence returns
// kInvalidUtf8 and moves pos past its maximal ill-formed subpart (at least one byte).
uint32_t decodeUtf8(std::string_view text, size_t& pos);

void appendUtf8(std::string& out, uint32_t codePoint);
void appendUtf16(std::u16string& out, uint32_t codePoint);

}  // namespace platform
