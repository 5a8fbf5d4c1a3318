// Fuzz target for the help viewer's reader: a help file's bytes decoded, read as HTML, every
// topic found and its text taken, every link resolved, and the whole file laid out on a page
// whose width the first byte chooses. Checks that runs, anchors and sections point inside the
// document and that no line is drawn left of the page. Aborts when one breaks.
#include <wingdi.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "programs/help/HelpAddress.h"
#include "programs/help/HelpLayout.h"
#include "programs/help/HelpSection.h"
#include "programs/help/HtmlReader.h"

namespace {

constexpr size_t kTopicsLookedUp = 32;

void require(bool condition) {
    if (!condition)
        std::abort();
}

HDC measuringDc() {
    static HDC dc = CreateCompatibleDC(nullptr);
    return dc;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::u16string text = decodeHelpText(bytes);
    const HelpDocument document = readHelpHtml(text);

    for (const HelpBlock& block : document.blocks) {
        require(block.kind == BlockKind::Rule || !block.runs.empty());
        require(block.level >= 0 && block.level <= static_cast<int>(kMaxListDepth));
        for (const HelpRun& run : block.runs) {
            require(!run.text.empty());
            require(run.link >= -1 && run.link < static_cast<int>(document.links.size()));
        }
    }
    require(document.title.size() <= kMaxTitleUnits);
    for (size_t i = 0; i < document.anchors.size(); ++i) {
        const HelpAnchor& anchor = document.anchors[i];
        require(anchor.block <= document.blocks.size());
        // The viewer looks up one topic a page; a few here keep each input quick.
        if (i >= kTopicsLookedUp)
            continue;
        const auto range = findSection(document, anchor.name);
        require(range.has_value());
        require(range->first <= range->end && range->end <= document.blocks.size());
        sectionText(document, *range);
    }
    for (const std::u16string& link : document.links) {
        require(link.size() <= kMaxAttributeUnits);
        resolveHelpLink(u"\\Program Files\\Kelvo\\Skins\\Kelvo.htm", link);
    }
    parseHelpCommandLine(text.substr(0, 300));

    // A page from 20 to 530 pixels wide.
    const int width = 20 + (size > 0 ? data[0] : 0) * 2;
    HelpFonts fonts(1);
    HelpLayout layout;
    layout.build(document.blocks, measuringDc(), fonts, width, 1);
    int bottom = 0;
    for (const HelpLine& line : layout.lines()) {
        require(line.top >= bottom);
        bottom = line.top + line.height;
        for (const HelpPiece& piece : line.pieces)
            require(piece.x >= -width && piece.font != nullptr);
    }
    require(layout.height() == bottom);
    return 0;
}
