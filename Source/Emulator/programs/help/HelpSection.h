// The part of a help file a topic shows: from the block its anchor stands in up to the next
// block that holds another anchor or, when the topic opens with a heading, the next heading of
// the same or a higher rank. And the plain text of such a part.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "programs/help/HelpDocument.h"

struct SectionRange {
    size_t first = 0;
    size_t end = 0;  // one past the last block
    bool operator==(const SectionRange&) const = default;
};

// The whole file for an empty topic; nothing when no anchor has the name (compared exactly,
// then ignoring the case of ASCII letters).
std::optional<SectionRange> findSection(const HelpDocument& document, std::u16string_view topic);

// The blocks' text, one line per block (a list item after its marker), lines ending in "\r\n".
std::u16string sectionText(const HelpDocument& document, const SectionRange& range);
