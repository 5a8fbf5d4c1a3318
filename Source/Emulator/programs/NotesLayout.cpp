// The Notes page: paragraphs laid out and wrapped by CBidiPara, lines aligned to their
// paragraph's direction, caret positions mapped to page points and back.
#include "programs/NotesLayout.h"

#include <algorithm>
#include <cstdlib>

NotesLayout::NotesLayout(HDC dc, int width, int lineHeight)
    : m_dc(dc), m_width(std::max(width, 1)), m_lineHeight(std::max(lineHeight, 1)) {
    m_paras.push_back(layOut(std::u16string(), 0));
    renumber();
}

NotesLayout::Para NotesLayout::layOut(const std::u16string& text, int inheritedBase) const {
    Para para;
    para.bidi = std::make_unique<CBidiPara>();
    CBidiPara& b = *para.bidi;
    // An empty paragraph keeps the direction it is given: a new line under Farsi text stays
    // right-aligned until its first letter decides.
    b.baseLevel = inheritedBase;
    b.SetText(text.c_str());
    b.Layout();
    b.Wrap(m_dc, m_width);
    const bool rtl = b.baseLevel == 1;
    const int lines = std::max(b.lineCount, 1);
    int start = 0;
    for (int li = 0; li < lines; ++li) {
        Line line;
        line.start = start;
        line.count = li < b.lineCount ? b.lineLengths[li] : 0;
        line.edges.resize(static_cast<size_t>(line.count) + 1);
        for (int g = 0; g < line.count; ++g) {
            const int w = CBidiPara::TextWidth(m_dc, &b.glyphs[start + g], 1);
            line.edges[static_cast<size_t>(g) + 1] = line.edges[static_cast<size_t>(g)] + w;
        }
        const int lineWidth = line.edges.back();
        line.left = rtl ? m_width - lineWidth : 0;
        start += line.count;
        para.lines.push_back(std::move(line));
    }
    return para;
}

void NotesLayout::renumber() {
    int line = 0;
    for (Para& p : m_paras) {
        p.firstLine = line;
        line += static_cast<int>(p.lines.size());
    }
    m_lineCount = line;
}

void NotesLayout::setWidth(int width) {
    width = std::max(width, 1);
    if (width == m_width)
        return;
    m_width = width;
    for (size_t i = 0; i < m_paras.size(); ++i) {
        CBidiPara& b = *m_paras[i].bidi;
        std::u16string text(b.text.get(), static_cast<size_t>(b.length));
        m_paras[i] = layOut(text, b.baseLevel);
    }
    renumber();
}

void NotesLayout::rebuild(const NotesText& text) {
    m_paras.clear();
    int base = 0;
    for (int i = 0; i < text.paragraphCount(); ++i) {
        m_paras.push_back(layOut(text.paragraph(i), base));
        base = m_paras.back().bidi->baseLevel;
    }
    renumber();
}

void NotesLayout::apply(const NotesText& text, const TextChange& change) {
    const int count = static_cast<int>(m_paras.size());
    const bool consistent = change.first >= 0 && change.removed >= 0 && change.inserted >= 0 &&
                            change.first + change.removed <= count &&
                            count - change.removed + change.inserted == text.paragraphCount();
    if (!consistent) {
        rebuild(text);
        return;
    }
    const auto first = m_paras.begin() + change.first;
    m_paras.erase(first, first + change.removed);
    std::vector<Para> fresh;
    int base =
        change.first > 0 ? m_paras[static_cast<size_t>(change.first - 1)].bidi->baseLevel : 0;
    for (int i = 0; i < change.inserted; ++i) {
        fresh.push_back(layOut(text.paragraph(change.first + i), base));
        base = fresh.back().bidi->baseLevel;
    }
    m_paras.insert(m_paras.begin() + change.first, std::make_move_iterator(fresh.begin()),
                   std::make_move_iterator(fresh.end()));
    // Empty paragraphs right after the edit take their direction from the edited text.
    for (size_t i = static_cast<size_t>(change.first + change.inserted);
         i < m_paras.size() && text.paragraph(static_cast<int>(i)).empty(); ++i) {
        if (m_paras[i].bidi->baseLevel != base)
            m_paras[i] = layOut(std::u16string(), base);
    }
    renumber();
}

const NotesLayout::Para& NotesLayout::paraOfLine(int line, int* paraIndex, int* lineInPara) const {
    line = std::clamp(line, 0, m_lineCount - 1);
    auto it = std::upper_bound(m_paras.begin(), m_paras.end(), line,
                               [](int l, const Para& p) { return l < p.firstLine; });
    const auto index = static_cast<int>(it - m_paras.begin()) - 1;
    const Para& p = m_paras[static_cast<size_t>(index)];
    *paraIndex = index;
    *lineInPara = line - p.firstLine;
    return p;
}

int NotesLayout::lineOfGlyph(const Para& para, int glyph) {
    for (size_t li = 0; li < para.lines.size(); ++li) {
        const Line& l = para.lines[li];
        if (glyph >= l.start && glyph < l.start + l.count)
            return static_cast<int>(li);
    }
    return static_cast<int>(para.lines.size()) - 1;
}

namespace {

bool odd(const CBidiPara& b, int i) {
    return (b.LevelAt(i) & 1) != 0;
}

// The offset just after character i, past a character that shares its glyph (lam-alef).
int after(const CBidiPara& b, int i) {
    while (i + 1 < b.length && b.logToVis[i + 1] == b.logToVis[i])
        ++i;
    return i + 1;
}

// A caret offset never splits a surrogate pair; one that would stands before the pair. (The
// layout gives each half a glyph slot of its own, so a line may even break between them.)
int outsidePair(const CBidiPara& b, int k) {
    if (k > 0 && k < b.length && b.text[k - 1] >= 0xD800 && b.text[k - 1] <= 0xDBFF &&
        b.text[k] >= 0xDC00 && b.text[k] <= 0xDFFF) {
        return k - 1;
    }
    return k;
}

}  // namespace

NotesLayout::Place NotesLayout::placeOf(TextPosition position) const {
    const int paraIndex = std::clamp(position.para, 0, static_cast<int>(m_paras.size()) - 1);
    const Para& p = m_paras[static_cast<size_t>(paraIndex)];
    const CBidiPara& b = *p.bidi;
    const int k = std::clamp(position.offset, 0, static_cast<int>(b.length));

    // The caret stands at the reading-start edge of the character at k, or at the reading-end
    // edge of the last character when nothing with a glyph follows.
    int glyph = -1;
    bool rightEdge = false;
    int i = k < b.length ? (b.logToVis[k] != CBidiPara::NO_GLYPH ? k : b.NextVisible(k)) : -1;
    if (i >= 0) {
        glyph = b.logToVis[i];
        rightEdge = odd(b, i);
    } else {
        i = b.PrevVisible(b.length);
        if (i >= 0) {
            glyph = b.logToVis[i];
            rightEdge = !odd(b, i);
        }
    }
    if (glyph < 0) {
        const Line& l = p.lines.front();
        return Place{p.firstLine, l.left};
    }
    const int li = lineOfGlyph(p, glyph);
    const Line& l = p.lines[static_cast<size_t>(li)];
    const int column = glyph - l.start + (rightEdge ? 1 : 0);
    return Place{p.firstLine + li, l.left + l.edges[static_cast<size_t>(column)]};
}

int NotesLayout::offsetAtColumn(const Para& para, int line, int column) {
    const CBidiPara& b = *para.bidi;
    const Line& l = para.lines[static_cast<size_t>(line)];
    if (l.count == 0)
        return line == 0 ? 0 : b.length;
    const int g = l.start + column;
    if (column == 0) {
        const int i = b.visToLog[g];
        return odd(b, i) ? after(b, i) : i;  // the left edge of i
    }
    if (column == l.count) {
        const int i = b.visToLog[g - 1];
        return odd(b, i) ? i : after(b, i);  // the right edge of i
    }
    const int a = b.visToLog[g - 1];
    const int c = b.visToLog[g];
    const int deciding = b.LevelAt(a) == b.LevelAt(c) ? b.LevelAt(c) : b.baseLevel;
    if ((deciding & 1) == 0)
        return odd(b, c) ? after(b, c) : c;  // the left edge of the glyph on the right
    return odd(b, a) ? a : after(b, a);      // the right edge of the glyph on the left
}

TextPosition NotesLayout::positionAt(int line, int x) const {
    int paraIndex = 0;
    int li = 0;
    const Para& p = paraOfLine(line, &paraIndex, &li);
    const Line& l = p.lines[static_cast<size_t>(li)];
    int best = 0;
    for (int c = 1; c <= l.count; ++c) {
        if (std::abs(l.left + l.edges[static_cast<size_t>(c)] - x) <
            std::abs(l.left + l.edges[static_cast<size_t>(best)] - x)) {
            best = c;
        }
    }
    return TextPosition{paraIndex, outsidePair(*p.bidi, offsetAtColumn(p, li, best))};
}

TextPosition NotesLayout::lineStart(TextPosition position) const {
    const Place place = placeOf(position);
    int paraIndex = 0;
    int li = 0;
    const Para& p = paraOfLine(place.line, &paraIndex, &li);
    const int first = li == 0 ? 0 : p.bidi->LineFirstChar(li);
    if (first < 0 || first == CBidiPara::EMPTY_LINE)
        return TextPosition{paraIndex, 0};
    return TextPosition{paraIndex, outsidePair(*p.bidi, first)};
}

TextPosition NotesLayout::lineEnd(TextPosition position) const {
    const Place place = placeOf(position);
    int paraIndex = 0;
    int li = 0;
    const Para& p = paraOfLine(place.line, &paraIndex, &li);
    const CBidiPara& b = *p.bidi;
    if (li + 1 >= static_cast<int>(p.lines.size()))
        return TextPosition{paraIndex, b.length};
    const int last = b.LineLastChar(li);
    if (last < 0)
        return TextPosition{paraIndex, b.length};
    const int end = b.text[last] == u' ' ? last : last + 1;
    return TextPosition{paraIndex, outsidePair(b, end)};
}

bool NotesLayout::rightToLeft(int para) const {
    if (para < 0 || para >= static_cast<int>(m_paras.size()))
        return false;
    return m_paras[static_cast<size_t>(para)].bidi->baseLevel == 1;
}

bool NotesLayout::insideGlyph(TextPosition position) const {
    if (position.para < 0 || position.para >= static_cast<int>(m_paras.size()))
        return false;
    const CBidiPara& b = *m_paras[static_cast<size_t>(position.para)].bidi;
    const int k = position.offset;
    return k > 0 && k < b.length && b.logToVis[k] != CBidiPara::NO_GLYPH &&
           b.logToVis[k] == b.logToVis[k - 1];
}

void NotesLayout::drawLine(HDC dc, int line, int x0, int y, const RECT* clip) const {
    if (line < 0 || line >= m_lineCount)
        return;
    int paraIndex = 0;
    int li = 0;
    const Para& p = paraOfLine(line, &paraIndex, &li);
    const Line& l = p.lines[static_cast<size_t>(li)];
    if (l.count == 0)
        return;
    p.bidi->DrawLine(dc, x0 + l.left, y, 0, 0, clip, m_lineHeight, li);
}
