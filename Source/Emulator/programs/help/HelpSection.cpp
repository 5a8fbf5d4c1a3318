// Finding a topic's blocks.
#include "programs/help/HelpSection.h"

#include <algorithm>
#include <vector>

namespace {

bool sameIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    const auto lower = [](char16_t c) {
        return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [&](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

}  // namespace

std::optional<SectionRange> findSection(const HelpDocument& document, std::u16string_view topic) {
    const size_t count = document.blocks.size();
    if (topic.empty())
        return SectionRange{0, count};
    const HelpAnchor* found = nullptr;
    for (const HelpAnchor& a : document.anchors) {
        if (a.name == topic) {
            found = &a;
            break;
        }
    }
    for (size_t i = 0; found == nullptr && i < document.anchors.size(); ++i) {
        if (sameIgnoringAsciiCase(document.anchors[i].name, topic))
            found = &document.anchors[i];
    }
    if (found == nullptr)
        return std::nullopt;
    SectionRange range{std::min(found->block, count), count};
    if (range.first == count)
        return SectionRange{count, count};
    std::vector<bool> anchored(count + 1, false);
    for (const HelpAnchor& a : document.anchors)
        anchored[std::min(a.block, count)] = true;
    const HelpBlock& opening = document.blocks[range.first];
    for (size_t i = range.first + 1; i < count; ++i) {
        const HelpBlock& block = document.blocks[i];
        const bool endingHeading = opening.kind == BlockKind::Heading &&
                                   block.kind == BlockKind::Heading && block.level <= opening.level;
        if (anchored[i] || endingHeading) {
            range.end = i;
            break;
        }
    }
    return range;
}

std::u16string sectionText(const HelpDocument& document, const SectionRange& range) {
    std::u16string text;
    for (size_t i = range.first; i < range.end && i < document.blocks.size(); ++i) {
        const HelpBlock& block = document.blocks[i];
        if (block.kind == BlockKind::Rule)
            continue;
        if (!block.marker.empty())
            text += block.marker + u" ";
        for (const HelpRun& run : block.runs) {
            for (char16_t c : run.text) {
                if (c == u'\n')
                    text += u"\r\n";
                else
                    text.push_back(c);
            }
        }
        text += u"\r\n";
    }
    return text;
}
