// The help viewer's HTML reader. A help file comes from anywhere, so the reader is a single pass
// over the text with no recursion: nesting is kept in counters and a list stack of fixed depth,
// names and attribute values are cut to fixed lengths, unknown and malformed markup is skipped,
// and the file itself is limited to kMaxHelpFileBytes.
#pragma once

#include <string>
#include <string_view>

#include "programs/help/HelpDocument.h"

inline constexpr size_t kMaxHelpFileBytes = 256 * 1024;
// Deeper lists are read as the deepest kept level.
inline constexpr size_t kMaxListDepth = 8;
inline constexpr size_t kMaxAttributeUnits = 1024;
inline constexpr size_t kMaxTitleUnits = 200;

// The file's text: UTF-16 with a byte order mark, else UTF-8 (ill-formed bytes become U+FFFD).
// Control characters other than tab and line breaks are left out; so are lone surrogates.
std::u16string decodeHelpText(std::string_view bytes);

HelpDocument readHelpHtml(std::u16string_view html);
