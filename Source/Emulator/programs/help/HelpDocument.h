// A help file as the help viewer reads it: a flat list of blocks (paragraphs, headings, list
// items, preformatted text, rules), each a list of runs of text in one style, the links the
// runs lead to, and the named anchors (topics) with the block each one stands in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class BlockKind : uint8_t { Paragraph, Heading, ListItem, Preformatted, Rule };

// Run styles, combined.
inline constexpr uint8_t kRunBold = 1;
inline constexpr uint8_t kRunItalic = 2;
inline constexpr uint8_t kRunCode = 4;

struct HelpRun {
    std::u16string text;  // '\n' is a line break
    uint8_t style = 0;
    int link = -1;  // index into HelpDocument::links, -1 for none
};

struct HelpBlock {
    BlockKind kind = BlockKind::Paragraph;
    int level = 0;          // a heading's level (1..6); the nesting depth of a list item or of text
                            // inside a list (0 outside lists)
    std::u16string marker;  // a list item's bullet or number ("\u2022", "3.")
    std::vector<HelpRun> runs;
};

struct HelpAnchor {
    std::u16string name;
    size_t block = 0;  // the block the anchor stands in (or before); may be blocks.size()
};

struct HelpDocument {
    std::u16string title;
    std::vector<HelpBlock> blocks;
    std::vector<std::u16string> links;  // each link's target as written
    std::vector<HelpAnchor> anchors;    // in document order
};
