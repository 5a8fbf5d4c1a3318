// Reading a help file's HTML into blocks and runs.
#include "programs/help/HtmlReader.h"

#include <wchar16.h>

#include <algorithm>
#include <array>
#include <optional>

namespace {

constexpr size_t kMaxTagNameUnits = 16;
constexpr size_t kMaxAttributeNameUnits = 16;
constexpr size_t kMaxAttributes = 16;
constexpr size_t kMaxEntityNameUnits = 8;
constexpr size_t kMaxLinks = 4096;
constexpr char16_t kReplacement = 0xFFFD;
constexpr char16_t kBullet = 0x2022;

bool isSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool isAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isAsciiDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

char16_t asciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}

void appendCodePoint(std::u16string& out, uint32_t c) {
    if (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) ||
        (c < 0x20 && !isSpace(static_cast<char16_t>(c)))) {
        out.push_back(kReplacement);
    } else if (c >= 0x10000) {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(c));
    }
}

struct NamedEntity {
    std::u16string_view name;
    char16_t value;
};

constexpr NamedEntity kEntities[] = {
    {u"amp", u'&'},     {u"lt", u'<'},       {u"gt", u'>'},      {u"quot", u'"'},
    {u"apos", u'\''},   {u"nbsp", 0x00A0},   {u"copy", 0x00A9},  {u"reg", 0x00AE},
    {u"trade", 0x2122}, {u"mdash", 0x2014},  {u"ndash", 0x2013}, {u"hellip", 0x2026},
    {u"laquo", 0x00AB}, {u"raquo", 0x00BB},  {u"lsquo", 0x2018}, {u"rsquo", 0x2019},
    {u"ldquo", 0x201C}, {u"rdquo", 0x201D},  {u"bull", 0x2022},  {u"middot", 0x00B7},
    {u"times", 0x00D7}, {u"divide", 0x00F7}, {u"deg", 0x00B0},   {u"larr", 0x2190},
    {u"rarr", 0x2192},  {u"uarr", 0x2191},   {u"darr", 0x2193},  {u"zwnj", 0x200C},
    {u"zwj", 0x200D},   {u"lrm", 0x200E},    {u"rlm", 0x200F},   {u"shy", 0x00AD},
};

// Decodes the character reference at `text` (just after '&'): its length up to and including
// ';', or 0 when it is not one (the '&' then stands for itself).
size_t decodeReference(std::u16string_view text, std::u16string& out) {
    if (!text.empty() && text[0] == u'#') {
        size_t i = 1;
        const bool hex = i < text.size() && (text[i] == u'x' || text[i] == u'X');
        if (hex)
            ++i;
        const size_t digitsStart = i;
        uint32_t value = 0;
        for (; i < text.size(); ++i) {
            const char16_t c = text[i];
            uint32_t digit = 0;
            if (isAsciiDigit(c))
                digit = c - u'0';
            else if (hex && c >= u'a' && c <= u'f')
                digit = c - u'a' + 10;
            else if (hex && c >= u'A' && c <= u'F')
                digit = c - u'A' + 10;
            else
                break;
            // Past the last code point the value only needs to stay too large.
            value = std::min<uint32_t>(value * (hex ? 16 : 10) + digit, 0x110000);
        }
        if (i == digitsStart)
            return 0;
        appendCodePoint(out, value);
        return i < text.size() && text[i] == u';' ? i + 1 : i;
    }
    size_t i = 0;
    while (i < text.size() && i <= kMaxEntityNameUnits &&
           (isAsciiLetter(text[i]) || isAsciiDigit(text[i])))
        ++i;
    if (i == 0 || i > kMaxEntityNameUnits || i >= text.size() || text[i] != u';')
        return 0;
    const std::u16string_view name = text.substr(0, i);
    for (const NamedEntity& entity : kEntities) {
        if (entity.name == name) {
            out.push_back(entity.value);
            return i + 1;
        }
    }
    return 0;
}

std::u16string decodeReferences(std::u16string_view text) {
    std::u16string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            const size_t used = decodeReference(text.substr(i + 1), out);
            if (used > 0) {
                i += used;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

struct Attribute {
    std::u16string name;   // lower case
    std::u16string value;  // references decoded
};

struct Tag {
    std::u16string name;  // lower case; empty for a name too long to be one we know
    bool closing = false;
    std::vector<Attribute> attributes;
    const std::u16string* attribute(std::u16string_view wanted) const {
        for (const Attribute& a : attributes) {
            if (a.name == wanted)
                return &a.value;
        }
        return nullptr;
    }
};

class Reader {
public:
    explicit Reader(std::u16string_view html) : m_html(html) {}
    HelpDocument read();

private:
    size_t findFrom(size_t from, std::u16string_view what) const;
    size_t findNoCase(size_t from, std::u16string_view what) const;
    Tag readTag();
    void text(std::u16string_view raw);
    void character(char16_t c);
    void append(char16_t c, uint8_t style, int link);
    void space();
    uint8_t style() const;
    void startTag(const Tag& tag);
    void startElement(const Tag& tag);
    void endTag(const Tag& tag);
    void openBlock(BlockKind kind, int level, std::u16string marker = {});
    void closeBlock();
    // Ends the open block unless nothing stands in it yet (a list item's marker survives a
    // paragraph that starts inside it).
    void breakBlock();
    void lineBreak();
    void anchor(const std::u16string& name);
    int listDepth() const { return static_cast<int>(std::min(m_listDepth, kMaxListDepth)); }

    std::u16string_view m_html;
    size_t m_pos = 0;
    HelpDocument m_doc;
    std::optional<HelpBlock> m_block;
    bool m_pendingSpace = false;
    uint8_t m_spaceStyle = 0;
    int m_spaceLink = -1;
    int m_bold = 0;
    int m_italic = 0;
    int m_code = 0;
    int m_pre = 0;
    int m_link = -1;
    bool m_inTitle = false;
    // Open lists: the kept levels say whether each is numbered and its next number.
    size_t m_listDepth = 0;
    std::array<bool, kMaxListDepth> m_listOrdered{};
    std::array<int, kMaxListDepth> m_listNumber{};
};

size_t Reader::findFrom(size_t from, std::u16string_view what) const {
    const size_t found = m_html.find(what, from);
    return found == std::u16string_view::npos ? m_html.size() : found;
}

size_t Reader::findNoCase(size_t from, std::u16string_view what) const {
    for (size_t i = from; i + what.size() <= m_html.size(); ++i) {
        size_t k = 0;
        while (k < what.size() && asciiLower(m_html[i + k]) == what[k])
            ++k;
        if (k == what.size())
            return i;
    }
    return m_html.size();
}

// Reads a tag from just after its '<'; leaves the position after its '>'.
Tag Reader::readTag() {
    Tag tag;
    if (m_pos < m_html.size() && m_html[m_pos] == u'/') {
        tag.closing = true;
        ++m_pos;
    }
    size_t nameLength = 0;
    for (; m_pos < m_html.size() && (isAsciiLetter(m_html[m_pos]) || isAsciiDigit(m_html[m_pos]));
         ++m_pos, ++nameLength) {
        if (nameLength < kMaxTagNameUnits)
            tag.name.push_back(asciiLower(m_html[m_pos]));
    }
    if (nameLength > kMaxTagNameUnits)
        tag.name.clear();
    while (m_pos < m_html.size()) {
        while (m_pos < m_html.size() && (isSpace(m_html[m_pos]) || m_html[m_pos] == u'/'))
            ++m_pos;
        if (m_pos >= m_html.size())
            break;
        if (m_html[m_pos] == u'>') {
            ++m_pos;
            break;
        }
        Attribute attribute;
        const size_t nameStart = m_pos;
        while (m_pos < m_html.size() && !isSpace(m_html[m_pos]) && m_html[m_pos] != u'=' &&
               m_html[m_pos] != u'>' && m_html[m_pos] != u'/') {
            if (m_pos - nameStart < kMaxAttributeNameUnits)
                attribute.name.push_back(asciiLower(m_html[m_pos]));
            ++m_pos;
        }
        if (m_pos == nameStart) {
            ++m_pos;  // a stray '=' or quote: skipped
            continue;
        }
        while (m_pos < m_html.size() && isSpace(m_html[m_pos]))
            ++m_pos;
        if (m_pos < m_html.size() && m_html[m_pos] == u'=') {
            ++m_pos;
            while (m_pos < m_html.size() && isSpace(m_html[m_pos]))
                ++m_pos;
            size_t valueStart = m_pos;
            size_t valueEnd = m_pos;
            if (m_pos < m_html.size() && (m_html[m_pos] == u'"' || m_html[m_pos] == u'\'')) {
                const char16_t quote = m_html[m_pos];
                valueStart = m_pos + 1;
                valueEnd = findFrom(valueStart, std::u16string_view(&quote, 1));
                m_pos = std::min(valueEnd + 1, m_html.size());
            } else {
                while (m_pos < m_html.size() && !isSpace(m_html[m_pos]) && m_html[m_pos] != u'>')
                    ++m_pos;
                valueEnd = m_pos;
            }
            const std::u16string_view value =
                m_html.substr(valueStart, std::min(valueEnd - valueStart, kMaxAttributeUnits));
            attribute.value = decodeReferences(value);
        }
        if (tag.attributes.size() < kMaxAttributes)
            tag.attributes.push_back(std::move(attribute));
    }
    return tag;
}

void Reader::openBlock(BlockKind kind, int level, std::u16string marker) {
    closeBlock();
    m_block.emplace();
    m_block->kind = kind;
    m_block->level = level;
    m_block->marker = std::move(marker);
}

void Reader::closeBlock() {
    if (!m_block)
        return;
    // Trailing spaces and breaks end nowhere; an empty block is dropped (an anchor in it
    // then stands before the next block, which gets its number).
    auto& runs = m_block->runs;
    while (!runs.empty()) {
        std::u16string& last = runs.back().text;
        while (!last.empty() && (last.back() == u' ' || last.back() == u'\n') &&
               m_block->kind != BlockKind::Preformatted)
            last.pop_back();
        if (!last.empty())
            break;
        runs.pop_back();
    }
    if (!runs.empty() || m_block->kind == BlockKind::Rule)
        m_doc.blocks.push_back(std::move(*m_block));
    m_block.reset();
    m_pendingSpace = false;
}

void Reader::breakBlock() {
    if (m_block && !m_block->runs.empty())
        closeBlock();
}

void Reader::anchor(const std::u16string& name) {
    if (!name.empty())
        m_doc.anchors.push_back({name, m_doc.blocks.size()});
}

uint8_t Reader::style() const {
    return static_cast<uint8_t>((m_bold > 0 ? kRunBold : 0) | (m_italic > 0 ? kRunItalic : 0) |
                                (m_code > 0 || m_pre > 0 ? kRunCode : 0));
}

void Reader::append(char16_t c, uint8_t style, int link) {
    auto& runs = m_block->runs;
    if (runs.empty() || runs.back().style != style || runs.back().link != link)
        runs.push_back(HelpRun{{}, style, link});
    runs.back().text.push_back(c);
}

void Reader::space() {
    // White space collapses into one space in the style it began in (a space before a link is
    // not underlined), and none at the start of a line.
    if (m_block && !m_pendingSpace) {
        m_pendingSpace = true;
        m_spaceStyle = style();
        m_spaceLink = m_link;
    }
}

void Reader::character(char16_t c) {
    if (m_inTitle) {
        if (m_doc.title.size() < kMaxTitleUnits)
            m_doc.title.push_back(isSpace(c) ? u' ' : c);
        return;
    }
    if (m_pre == 0 && isSpace(c)) {
        space();
        return;
    }
    if (m_pre > 0 && (c == u'\r' || (c == u'\n' && (!m_block || m_block->runs.empty()))))
        return;  // a line break right after <pre> starts nothing
    if (!m_block)
        openBlock(listDepth() > 0 ? BlockKind::ListItem : BlockKind::Paragraph, listDepth());
    const auto& runs = m_block->runs;
    if (m_pendingSpace && !runs.empty() && runs.back().text.back() != u' ' &&
        runs.back().text.back() != u'\n')
        append(u' ', m_spaceStyle, m_spaceLink);
    m_pendingSpace = false;
    append(m_pre > 0 && c == u'\t' ? u' ' : c, style(), m_link);
}

void Reader::text(std::u16string_view raw) {
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == u'&') {
            std::u16string decoded;
            const size_t used = decodeReference(raw.substr(i + 1), decoded);
            if (used > 0) {
                for (char16_t c : decoded)
                    character(c);
                i += used;
                continue;
            }
        }
        character(raw[i]);
    }
}

void Reader::lineBreak() {
    if (!m_block || m_block->runs.empty())
        return;
    m_block->runs.back().text.push_back(u'\n');
    m_pendingSpace = false;
}

void Reader::startTag(const Tag& tag) {
    startElement(tag);
    // After the element has opened its block, so that its name stands in that block.
    if (const std::u16string* id = tag.attribute(u"id"))
        anchor(*id);
}

void Reader::startElement(const Tag& tag) {
    const std::u16string& n = tag.name;
    if (n == u"a") {
        if (const std::u16string* name = tag.attribute(u"name"))
            anchor(*name);
        if (const std::u16string* href = tag.attribute(u"href")) {
            if (m_doc.links.size() < kMaxLinks) {
                m_link = static_cast<int>(m_doc.links.size());
                m_doc.links.push_back(*href);
            }
        }
    } else if (n == u"b" || n == u"strong") {
        ++m_bold;
    } else if (n == u"i" || n == u"em" || n == u"cite" || n == u"var") {
        ++m_italic;
    } else if (n == u"code" || n == u"tt" || n == u"kbd" || n == u"samp") {
        ++m_code;
    } else if (n.size() == 2 && n[0] == u'h' && n[1] >= u'1' && n[1] <= u'6') {
        openBlock(BlockKind::Heading, n[1] - u'0');
    } else if (n == u"ul" || n == u"ol") {
        closeBlock();
        if (m_listDepth < kMaxListDepth) {
            m_listOrdered[m_listDepth] = n == u"ol";
            m_listNumber[m_listDepth] = 1;
        }
        ++m_listDepth;
    } else if (n == u"li") {
        const int depth = std::max(1, listDepth());
        std::u16string marker(1, kBullet);
        if (m_listDepth > 0 && m_listOrdered[static_cast<size_t>(depth - 1)]) {
            int& number = m_listNumber[static_cast<size_t>(depth - 1)];
            marker = platform::fromUtf8(std::to_string(number)) + u".";
            number = std::min(number + 1, 99999);
        }
        openBlock(BlockKind::ListItem, depth, std::move(marker));
    } else if (n == u"pre") {
        openBlock(BlockKind::Preformatted, listDepth());
        ++m_pre;
    } else if (n == u"hr") {
        closeBlock();
        m_doc.blocks.push_back(HelpBlock{BlockKind::Rule, 0, {}, {}});
    } else if (n == u"br") {
        lineBreak();
    } else if (n == u"td" || n == u"th") {
        space();
    } else if (n == u"img") {
        const std::u16string* alt = tag.attribute(u"alt");
        if (alt && !alt->empty()) {
            for (char16_t c : u"[" + *alt + u"]")
                character(c);
        }
    } else if (n == u"title") {
        m_inTitle = true;
    } else if (n == u"body") {
        m_inTitle = false;
    } else if (n == u"script" || n == u"style") {
        // Their contents are not text: skipped up to the matching end tag.
        const std::u16string end = u"</" + n;
        m_pos = findNoCase(m_pos, end);
        const size_t close = findFrom(m_pos, u">");
        m_pos = std::min(close + 1, m_html.size());
    } else if (n == u"p" || n == u"div" || n == u"blockquote" || n == u"dl" || n == u"dt" ||
               n == u"dd" || n == u"table" || n == u"tr" || n == u"center" || n == u"address" ||
               n == u"section" || n == u"article" || n == u"header" || n == u"footer" ||
               n == u"nav" || n == u"form") {
        breakBlock();
    }
}

void Reader::endTag(const Tag& tag) {
    const std::u16string& n = tag.name;
    if (n == u"a") {
        m_link = -1;
    } else if (n == u"b" || n == u"strong") {
        m_bold = std::max(0, m_bold - 1);
    } else if (n == u"i" || n == u"em" || n == u"cite" || n == u"var") {
        m_italic = std::max(0, m_italic - 1);
    } else if (n == u"code" || n == u"tt" || n == u"kbd" || n == u"samp") {
        m_code = std::max(0, m_code - 1);
    } else if (n == u"ul" || n == u"ol") {
        closeBlock();
        if (m_listDepth > 0)
            --m_listDepth;
    } else if (n == u"pre") {
        closeBlock();
        m_pre = std::max(0, m_pre - 1);
    } else if (n == u"title" || n == u"head") {
        m_inTitle = false;
    } else if (n.size() == 2 && n[0] == u'h' && n[1] >= u'1' && n[1] <= u'6') {
        closeBlock();
    } else if (n == u"p" || n == u"div" || n == u"li" || n == u"blockquote" || n == u"dt" ||
               n == u"dd" || n == u"tr" || n == u"table" || n == u"center" || n == u"address") {
        breakBlock();
    }
}

HelpDocument Reader::read() {
    while (m_pos < m_html.size()) {
        const size_t open = findFrom(m_pos, u"<");
        text(m_html.substr(m_pos, open - m_pos));
        m_pos = open;
        if (m_pos >= m_html.size())
            break;
        const std::u16string_view rest = m_html.substr(m_pos + 1);
        if (rest.substr(0, 3) == u"!--") {
            const size_t end = findFrom(m_pos + 4, u"-->");
            m_pos = std::min(end + 3, m_html.size());
        } else if (!rest.empty() && (rest[0] == u'!' || rest[0] == u'?')) {
            m_pos = std::min(findFrom(m_pos, u">") + 1, m_html.size());
        } else if (!rest.empty() &&
                   (isAsciiLetter(rest[0]) ||
                    (rest[0] == u'/' && rest.size() > 1 && isAsciiLetter(rest[1])))) {
            ++m_pos;
            const Tag tag = readTag();
            if (tag.closing)
                endTag(tag);
            else
                startTag(tag);
        } else {
            character(u'<');
            ++m_pos;
        }
    }
    closeBlock();
    // Spaces around the title's words count once.
    std::u16string title;
    for (char16_t c : m_doc.title) {
        if (c == u' ' && (title.empty() || title.back() == u' '))
            continue;
        title.push_back(c);
    }
    while (!title.empty() && title.back() == u' ')
        title.pop_back();
    m_doc.title = std::move(title);
    return std::move(m_doc);
}

}  // namespace

std::u16string decodeHelpText(std::string_view bytes) {
    if (bytes.size() > kMaxHelpFileBytes)
        bytes = bytes.substr(0, kMaxHelpFileBytes);
    std::u16string text;
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 2 &&
        ((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF))) {
        const bool little = byte(0) == 0xFF;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
            text.push_back(static_cast<char16_t>(little ? byte(i) | (byte(i + 1) << 8)
                                                        : (byte(i) << 8) | byte(i + 1)));
        }
        if (bytes.size() % 2 != 0)
            text.push_back(kReplacement);
    } else {
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
            bytes.remove_prefix(3);
        text = platform::fromUtf8(bytes);
    }
    std::u16string clean;
    clean.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            clean.push_back(c);
            clean.push_back(text[++i]);
        } else if ((c >= 0xD800 && c <= 0xDFFF) || (c < 0x20 && !isSpace(c)) || c == 0x7F) {
            continue;
        } else {
            clean.push_back(c);
        }
    }
    return clean;
}

HelpDocument readHelpHtml(std::u16string_view html) {
    return Reader(html).read();
}
