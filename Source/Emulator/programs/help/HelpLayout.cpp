// Laying out a help topic: bidi levels and shaping from CBidiPara, line breaking and display
// order over pieces of text that share a font, a level and a link.
#include "programs/help/HelpLayout.h"

#include <algorithm>
#include <utility>

#include "farsiedit/CBidiPara.h"

namespace {

// A longer line of text is laid out in parts of at most this many units (the bidi layout holds
// 65,534), each broken at a space where one is near.
constexpr size_t kMaxBidiUnits = 4096;
constexpr int kBodyPixels = 12;
constexpr int kHeadingPixels[] = {0, 18, 15, 13};
constexpr int kParagraphGap = 6;
constexpr int kHeadingGap = 10;
constexpr int kListGap = 3;
constexpr int kIndentStep = 16;
constexpr int kPreIndent = 8;
constexpr int kMarkerGap = 4;
constexpr int kRuleHeight = 11;
constexpr int kLineGap = 2;

bool breaksLine(char16_t c) {
    return c == u'\n' || c == 0x2028 || c == 0x2029;
}

// Whether a break before `at` falls between the two halves of a surrogate pair.
bool cutsSurrogatePair(std::u16string_view text, size_t at) {
    return at > 0 && at < text.size() && text[at - 1] >= 0xD800 && text[at - 1] <= 0xDBFF &&
           text[at] >= 0xDC00 && text[at] <= 0xDFFF;
}

int headingRank(const HelpBlock& block) {
    return block.kind == BlockKind::Heading ? std::clamp(block.level, 1, 3) : 0;
}

// A piece of a text line before breaking: characters of one kind (spaces or not), one run and
// one bidi level, with their glyphs in logical order.
struct Unit {
    std::u16string glyphs;
    int level = 0;
    bool space = false;
    const HelpFonts::Face* face = nullptr;
    int link = -1;
    int width = 0;
};

struct TextLine {
    std::u16string text;
    std::vector<int> runOf;  // the run of each unit of text
};

// The block's text split at its line breaks, each unit knowing its run.
std::vector<TextLine> textLines(const HelpBlock& block) {
    std::vector<TextLine> lines(1);
    for (size_t r = 0; r < block.runs.size(); ++r) {
        for (char16_t c : block.runs[r].text) {
            if (breaksLine(c)) {
                lines.emplace_back();
                continue;
            }
            lines.back().text.push_back(c);
            lines.back().runOf.push_back(static_cast<int>(r));
        }
    }
    return lines;
}

class BlockBuilder {
public:
    BlockBuilder(HDC dc, HelpFonts& fonts, const HelpBlock& block, int width, int scale)
        : m_dc(dc), m_fonts(fonts), m_block(block), m_width(width), m_scale(scale) {}

    // Appends the block's lines below `top`; returns the bottom of the last one.
    int build(int top, std::vector<HelpLine>& out);

private:
    const HelpFonts::Face& faceOf(int run) {
        const HelpRun& r = m_block.runs[static_cast<size_t>(run)];
        return m_fonts.face(m_dc, r.style, r.link >= 0, headingRank(m_block));
    }
    COLORREF colourOf(const Unit& unit) const {
        if (unit.link >= 0)
            return kHelpLink;
        return m_block.kind == BlockKind::Heading ? kHelpHeading : kHelpText;
    }
    int measure(const Unit& unit) const {
        Selection font(m_dc, unit.face->font);
        return CBidiPara::TextWidth(m_dc, unit.glyphs.data(), static_cast<int>(unit.glyphs.size()));
    }
    void unitsOf(const TextLine& line, std::vector<Unit>& units, int& baseLevel);
    void chunkUnits(std::u16string_view text, const int* runOf, std::vector<Unit>& units,
                    int& baseLevel, bool first);
    void splitToFit(std::vector<Unit>& line, Unit unit, int room,
                    std::vector<std::vector<Unit>>& lines);
    enum class Leading { Trim, Keep };
    int emit(std::vector<Unit> units, int baseLevel, bool withMarker, Leading leading, int top,
             std::vector<HelpLine>& out);

    HDC m_dc;
    HelpFonts& m_fonts;
    const HelpBlock& m_block;
    int m_width;
    int m_scale;
    int m_indent = 0;
};

void BlockBuilder::chunkUnits(std::u16string_view text, const int* runOf, std::vector<Unit>& units,
                              int& baseLevel, bool first) {
    const std::u16string copy(text);
    CBidiPara bidi;
    bidi.SetText(copy.c_str());
    bidi.Layout();
    if (first)
        baseLevel = bidi.baseLevel;
    const int length = bidi.length;
    int lastGlyph = -1;
    bool chunkStart = true;
    for (int i = 0; i < length; ++i) {
        // A character without a glyph of its own (a joiner, the alef of a lam-alef) neither
        // shows nor splits the piece it stands in.
        const WORD glyph = bidi.logToVis[static_cast<size_t>(i)];
        if (glyph == CBidiPara::NO_GLYPH || static_cast<int>(glyph) == lastGlyph)
            continue;
        lastGlyph = glyph;
        const bool space = copy[static_cast<size_t>(i)] == u' ';
        const int level = bidi.LevelAt(i);
        const int run = runOf[i];
        const int link = m_block.runs[static_cast<size_t>(run)].link;
        const HelpFonts::Face* face = &faceOf(run);
        if (chunkStart || units.back().space != space || units.back().level != level ||
            units.back().face != face || units.back().link != link) {
            units.push_back(Unit{{}, level, space, face, link, 0});
            chunkStart = false;
        }
        units.back().glyphs.push_back(bidi.glyphs[glyph]);
    }
}

void BlockBuilder::unitsOf(const TextLine& line, std::vector<Unit>& units, int& baseLevel) {
    std::u16string_view text = line.text;
    const int* runOf = line.runOf.data();
    bool first = true;
    while (!text.empty()) {
        size_t take = text.size();
        if (take > kMaxBidiUnits) {
            const size_t space = text.substr(0, kMaxBidiUnits).rfind(u' ');
            take = space == std::u16string_view::npos || space == 0 ? kMaxBidiUnits : space;
            if (cutsSurrogatePair(text, take))
                --take;
        }
        chunkUnits(text.substr(0, take), runOf, units, baseLevel, first);
        first = false;
        text.remove_prefix(take);
        runOf += take;
    }
    for (Unit& unit : units)
        unit.width = measure(unit);
}

// Puts as much of an over-wide unit as fits on the line, the rest on lines of its own. A line
// holds at most about one glyph a pixel, so each search and measure looks no further than
// that, and a word of any length costs time in proportion to its length.
void BlockBuilder::splitToFit(std::vector<Unit>& line, Unit unit, int room,
                              std::vector<std::vector<Unit>>& lines) {
    int used = 0;
    for (const Unit& u : line)
        used += u.width;
    Selection font(m_dc, unit.face->font);
    const std::u16string glyphs = std::move(unit.glyphs);
    const size_t reach = static_cast<size_t>(std::max(room, 1)) * 2 + 8;
    auto widthOf = [&](size_t start, size_t count) {
        return CBidiPara::TextWidth(m_dc, glyphs.data() + start, static_cast<int>(count));
    };
    size_t start = 0;
    while (glyphs.size() - start > 1 &&
           (glyphs.size() - start > reach || used + widthOf(start, glyphs.size() - start) > room)) {
        // The most glyphs that fit; at least one on an empty line so that the text moves on.
        size_t fit = 0;
        size_t low = 1;
        size_t high = std::min(glyphs.size() - start - 1, reach);
        while (low <= high) {
            const size_t mid = (low + high) / 2;
            if (used + widthOf(start, mid) <= room) {
                fit = mid;
                low = mid + 1;
            } else {
                high = mid - 1;
            }
        }
        // A character beyond the 16-bit range keeps its two halves together.
        if (fit > 0 && cutsSurrogatePair(glyphs, start + fit))
            --fit;
        if (fit == 0 && !line.empty()) {
            lines.push_back(std::move(line));
            line.clear();
            used = 0;
            continue;
        }
        fit = std::max<size_t>(fit, 1);
        if (cutsSurrogatePair(glyphs, start + fit))
            ++fit;
        if (start + fit >= glyphs.size())
            break;
        Unit head = unit;
        head.glyphs = glyphs.substr(start, fit);
        head.width = widthOf(start, fit);
        start += fit;
        line.push_back(std::move(head));
        lines.push_back(std::move(line));
        line.clear();
        used = 0;
    }
    unit.glyphs = glyphs.substr(start);
    unit.width = widthOf(start, glyphs.size() - start);
    line.push_back(std::move(unit));
}

int BlockBuilder::emit(std::vector<Unit> units, int baseLevel, bool withMarker, Leading leading,
                       int top, std::vector<HelpLine>& out) {
    // Spaces at the end of a line show nothing, nor at the start of one that a wrap began
    // (preformatted text keeps the spaces that start its lines).
    while (!units.empty() && units.back().space)
        units.pop_back();
    if (leading == Leading::Trim) {
        const auto firstWord =
            std::find_if(units.begin(), units.end(), [](const Unit& u) { return !u.space; });
        units.erase(units.begin(), firstWord);
    }
    // Display order: from the highest level down to the lowest odd one, every run of units at
    // that level or above is reversed.
    int highest = 0;
    int lowestOdd = 1000;
    for (const Unit& u : units) {
        highest = std::max(highest, u.level);
        if (u.level % 2 == 1)
            lowestOdd = std::min(lowestOdd, u.level);
    }
    for (int level = highest; level >= lowestOdd && level > 0; --level) {
        for (size_t i = 0; i < units.size();) {
            if (units[i].level < level) {
                ++i;
                continue;
            }
            size_t j = i;
            while (j < units.size() && units[j].level >= level)
                ++j;
            std::reverse(units.begin() + static_cast<long>(i),
                         units.begin() + static_cast<long>(j));
            i = j;
        }
    }
    HelpLine line;
    line.top = top;
    const HelpFonts::Face& plain = m_fonts.face(m_dc, 0, false, headingRank(m_block));
    int ascent = plain.ascent;
    int descent = plain.height - plain.ascent;
    int total = 0;
    for (const Unit& u : units) {
        ascent = std::max(ascent, u.face->ascent);
        descent = std::max(descent, u.face->height - u.face->ascent);
        total += u.width;
    }
    line.baseline = ascent;
    line.height = ascent + descent + kLineGap * m_scale;
    const bool rightToLeft = baseLevel % 2 == 1;
    int x = rightToLeft ? m_width - m_indent - total : m_indent;
    for (Unit& u : units) {
        if (!u.space) {
            HelpPiece piece;
            piece.x = x;
            piece.width = u.width;
            piece.font = u.face->font;
            piece.ascent = u.face->ascent;
            piece.colour = colourOf(u);
            piece.link = u.link;
            piece.glyphs = std::move(u.glyphs);
            if (u.level % 2 == 1) {
                std::reverse(piece.glyphs.begin(), piece.glyphs.end());
                std::transform(piece.glyphs.begin(), piece.glyphs.end(), piece.glyphs.begin(),
                               CBidiPara::MirrorOf);
            }
            line.pieces.push_back(std::move(piece));
        }
        x += u.width;
    }
    if (withMarker && !m_block.marker.empty()) {
        Selection font(m_dc, plain.font);
        HelpPiece marker;
        marker.glyphs = m_block.marker;
        marker.width = CBidiPara::TextWidth(m_dc, marker.glyphs.data(),
                                            static_cast<int>(marker.glyphs.size()));
        const int gap = kMarkerGap * m_scale;
        marker.x = rightToLeft ? m_width - m_indent + gap : m_indent - gap - marker.width;
        marker.font = plain.font;
        marker.ascent = plain.ascent;
        line.pieces.push_back(std::move(marker));
    }
    out.push_back(std::move(line));
    return top + out.back().height;
}

int BlockBuilder::build(int top, std::vector<HelpLine>& out) {
    if (m_block.kind == BlockKind::Rule) {
        HelpLine rule;
        rule.top = top;
        rule.height = kRuleHeight * m_scale;
        rule.rule = true;
        out.push_back(rule);
        return top + rule.height;
    }
    m_indent = std::max(0, m_block.level) * kIndentStep * m_scale;
    if (m_block.kind == BlockKind::Heading)
        m_indent = 0;
    if (m_block.kind == BlockKind::Preformatted)
        m_indent += kPreIndent * m_scale;
    m_indent = std::min(m_indent, m_width / 2);
    const int room = std::max(1, m_width - m_indent);
    const bool preformatted = m_block.kind == BlockKind::Preformatted;
    bool first = true;
    for (const TextLine& text : textLines(m_block)) {
        std::vector<Unit> units;
        int baseLevel = 0;
        unitsOf(text, units, baseLevel);
        // Lines break before a word that does not fit, at the spaces before it.
        std::vector<std::vector<Unit>> lines;
        std::vector<Unit> line;
        int used = 0;
        for (size_t i = 0; i < units.size();) {
            size_t end = i;
            int spaces = 0;
            while (end < units.size() && units[end].space)
                spaces += units[end++].width;
            int word = 0;
            size_t wordEnd = end;
            while (wordEnd < units.size() && !units[wordEnd].space)
                word += units[wordEnd++].width;
            if (!line.empty() && used + spaces + word > room) {
                lines.push_back(std::move(line));
                line.clear();
                used = 0;
                i = end;  // the spaces stay at the end of the line before
            }
            for (; i < wordEnd; ++i) {
                if (units[i].space && line.empty() && !(preformatted && lines.empty()))
                    continue;
                if (used + units[i].width > room && !units[i].space) {
                    splitToFit(line, std::move(units[i]), room, lines);
                    used = 0;
                    for (const Unit& u : line)
                        used += u.width;
                    continue;
                }
                used += units[i].width;
                line.push_back(std::move(units[i]));
            }
        }
        lines.push_back(std::move(line));
        for (size_t n = 0; n < lines.size(); ++n) {
            const Leading leading = preformatted && n == 0 ? Leading::Keep : Leading::Trim;
            top = emit(std::move(lines[n]), baseLevel, first, leading, top, out);
            first = false;
        }
    }
    return top;
}

int gapBefore(const HelpBlock& block) {
    switch (block.kind) {
        case BlockKind::Heading:
            return kHeadingGap;
        case BlockKind::ListItem:
            return kListGap;
        default:
            return kParagraphGap;
    }
}

}  // namespace

const HelpFonts::Face& HelpFonts::face(HDC measure, uint8_t style, bool link, int heading) {
    heading = std::clamp(heading, 0, 3);
    const int key = (style & 7) | (link ? 8 : 0) | (heading << 4);
    auto found = m_faces.find(key);
    if (found != m_faces.end())
        return found->second.face;
    const bool bold = heading > 0 || (style & kRunBold) != 0;
    const int pixels = heading > 0 ? kHeadingPixels[heading] : kBodyPixels;
    Owned owned;
    owned.font = makeProgramFont(pixels, m_scale, bold ? FontWeight::Bold : FontWeight::Normal,
                                 (style & kRunItalic) ? FontStyle::Italic : FontStyle::Upright,
                                 link ? FontLine::Underline : FontLine::None,
                                 (style & kRunCode) ? u"Courier New" : u"Tahoma");
    owned.face.font = owned.font.get();
    Selection font(measure, owned.face.font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(measure, &metrics);
    owned.face.ascent = metrics.tmAscent;
    owned.face.height = metrics.tmHeight;
    SIZE space{};
    GetTextExtentPoint32W(measure, u" ", 1, &space);
    owned.face.space = space.cx;
    return m_faces.emplace(key, std::move(owned)).first->second.face;
}

void HelpLayout::build(const std::vector<HelpBlock>& blocks, HDC measure, HelpFonts& fonts,
                       int width, int scale) {
    m_lines.clear();
    int top = 0;
    for (size_t i = 0; i < blocks.size(); ++i) {
        if (i > 0)
            top += gapBefore(blocks[i]) * scale;
        const size_t first = m_lines.size();
        top = BlockBuilder(measure, fonts, blocks[i], width, scale).build(top, m_lines);
        for (size_t n = first; n < m_lines.size(); ++n)
            m_lines[n].block = i;
    }
    m_height = top;
}

std::optional<HelpPlace> HelpLayout::placeAt(int y) const {
    const auto after = std::upper_bound(m_lines.begin(), m_lines.end(), y,
                                        [](int v, const HelpLine& line) { return v < line.top; });
    if (after == m_lines.begin())
        return std::nullopt;
    const auto line = after - 1;
    auto first = line;
    while (first != m_lines.begin() && (first - 1)->block == line->block)
        --first;
    return HelpPlace{line->block, static_cast<size_t>(line - first), y - line->top};
}

int HelpLayout::topOf(const HelpPlace& place) const {
    const auto first =
        std::lower_bound(m_lines.begin(), m_lines.end(), place.block,
                         [](const HelpLine& line, size_t block) { return line.block < block; });
    if (first == m_lines.end() || first->block != place.block)
        return m_height;
    auto line = first;
    for (size_t n = 0;
         n < place.line && line + 1 != m_lines.end() && (line + 1)->block == place.block; ++n)
        ++line;
    // Down to the next line at most (the gap below a block belongs to its last line).
    const int span = (line + 1 == m_lines.end() ? m_height : (line + 1)->top) - line->top;
    return line->top + std::clamp(place.offset, 0, std::max(0, span));
}

int HelpLayout::linkAt(POINT page) const {
    const auto after = std::upper_bound(m_lines.begin(), m_lines.end(), page.y,
                                        [](int y, const HelpLine& line) { return y < line.top; });
    if (after == m_lines.begin())
        return -1;
    const HelpLine& line = *(after - 1);
    if (page.y >= line.top + line.height)
        return -1;
    for (const HelpPiece& piece : line.pieces) {
        if (piece.link >= 0 && page.x >= piece.x && page.x < piece.x + piece.width)
            return piece.link;
    }
    return -1;
}

void HelpLayout::draw(HDC dc, const RECT& view, int top) const {
    SetBkMode(dc, TRANSPARENT);
    const int origin = view.top - top;
    const auto first = std::upper_bound(m_lines.begin(), m_lines.end(), top,
                                        [](int y, const HelpLine& line) { return y < line.top; });
    for (auto it = first == m_lines.begin() ? first : first - 1; it != m_lines.end(); ++it) {
        const int y = origin + it->top;
        if (y >= view.bottom)
            break;
        if (it->rule) {
            const int middle = y + it->height / 2;
            fillRect(dc, RECT{view.left, middle, view.right, middle + 1}, kHelpRule);
            continue;
        }
        for (const HelpPiece& piece : it->pieces) {
            Selection font(dc, piece.font);
            SetTextColor(dc, piece.colour);
            CBidiPara::DrawRuns(dc, view.left + piece.x, y + it->baseline - piece.ascent, &view,
                                piece.glyphs.data(), static_cast<int>(piece.glyphs.size()));
        }
    }
}
