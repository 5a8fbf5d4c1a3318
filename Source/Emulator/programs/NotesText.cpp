// The Notes program's paragraphs and caret, and the edits on them.
#include "programs/NotesText.h"

#include <algorithm>

namespace {

constexpr char16_t kCR = u'\r';
constexpr char16_t kLF = u'\n';
constexpr char16_t kParagraphSeparator = u'\u2029';

bool isBreak(char16_t c) {
    return c == kCR || c == kLF || c == kParagraphSeparator;
}
bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// True when offset `k` of `s` lies between the two halves of a surrogate pair.
bool insidePair(const std::u16string& s, int k) {
    return k > 0 && k < static_cast<int>(s.size()) &&
           isHighSurrogate(s[static_cast<size_t>(k - 1)]) &&
           isLowSurrogate(s[static_cast<size_t>(k)]);
}

void report(TextChange* change, int first, int removed, int inserted) {
    if (change)
        *change = TextChange{first, removed, inserted};
}

}  // namespace

NotesText::NotesText() : m_paras(1) {}

EditResult NotesText::setText(std::u16string_view text) {
    std::vector<std::u16string> paras;
    paras.emplace_back();
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == 0)
            break;  // the text ends at a NUL, as a window text does
        if (!isBreak(c)) {
            if (paras.back().size() >= static_cast<size_t>(kMaxParagraphLength))
                return EditResult::Refused;
            paras.back().push_back(c);
            continue;
        }
        // CR LF is one break; any other break character is one on its own.
        if (c == kCR && i + 1 < text.size() && text[i + 1] == kLF)
            ++i;
        paras.emplace_back();
    }
    m_paras = std::move(paras);
    m_caret = TextPosition{};
    return EditResult::Changed;
}

std::u16string NotesText::text() const {
    std::u16string out;
    out.reserve(textLength());
    for (size_t i = 0; i < m_paras.size(); ++i) {
        if (i > 0)
            out += u"\r\n";
        out += m_paras[i];
    }
    return out;
}

size_t NotesText::textLength() const {
    size_t n = 2 * (m_paras.size() - 1);
    for (const auto& p : m_paras)
        n += p.size();
    return n;
}

size_t NotesText::copyText(WCHAR* buffer, size_t bufferSize) const {
    if (!buffer || bufferSize < 1)
        return 0;
    const size_t room = bufferSize - 1;
    size_t n = 0;
    auto put = [&](std::u16string_view s) {
        const size_t take = std::min(s.size(), room - n);
        std::copy_n(s.data(), take, buffer + n);
        n += take;
    };
    for (size_t i = 0; i < m_paras.size() && n < room; ++i) {
        if (i > 0)
            put(u"\r\n");
        put(m_paras[i]);
    }
    buffer[n] = 0;
    return n;
}

EditResult NotesText::insertChar(char16_t ch, TextChange* change) {
    if (isBreak(ch))
        return newParagraph(change);
    std::u16string& p = m_paras[static_cast<size_t>(m_caret.para)];
    // A NUL would end the paragraph for whoever reads it as a window text.
    if (ch == 0 || p.size() >= static_cast<size_t>(kMaxParagraphLength))
        return EditResult::Refused;
    p.insert(p.begin() + m_caret.offset, ch);
    ++m_caret.offset;
    // A high surrogate typed before a lone low one completes a pair: the caret goes past it.
    if (insidePair(p, m_caret.offset))
        ++m_caret.offset;
    report(change, m_caret.para, 1, 1);
    return EditResult::Changed;
}

EditResult NotesText::newParagraph(TextChange* change) {
    const auto at = static_cast<size_t>(m_caret.para);
    std::u16string tail = m_paras[at].substr(static_cast<size_t>(m_caret.offset));
    m_paras[at].resize(static_cast<size_t>(m_caret.offset));
    m_paras.insert(m_paras.begin() + static_cast<std::ptrdiff_t>(at) + 1, std::move(tail));
    report(change, m_caret.para, 1, 2);
    m_caret = TextPosition{m_caret.para + 1, 0};
    return EditResult::Changed;
}

EditResult NotesText::backspace(TextChange* change) {
    std::u16string& p = m_paras[static_cast<size_t>(m_caret.para)];
    if (m_caret.offset > 0) {
        int from = m_caret.offset - 1;
        if (insidePair(p, from))
            --from;
        p.erase(static_cast<size_t>(from), static_cast<size_t>(m_caret.offset - from));
        // Removing what stood between two lone halves makes them a pair: stand before it.
        m_caret = clamp(TextPosition{m_caret.para, from});
        report(change, m_caret.para, 1, 1);
        return EditResult::Changed;
    }
    if (m_caret.para == 0)
        return EditResult::Unchanged;
    std::u16string& previous = m_paras[static_cast<size_t>(m_caret.para - 1)];
    if (previous.size() + p.size() > static_cast<size_t>(kMaxParagraphLength))
        return EditResult::Refused;
    const int joinAt = static_cast<int>(previous.size());
    previous += p;
    m_paras.erase(m_paras.begin() + m_caret.para);
    report(change, m_caret.para - 1, 2, 1);
    m_caret = clamp(TextPosition{m_caret.para - 1, joinAt});
    return EditResult::Changed;
}

EditResult NotesText::deleteForward(TextChange* change) {
    std::u16string& p = m_paras[static_cast<size_t>(m_caret.para)];
    const int length = static_cast<int>(p.size());
    if (m_caret.offset < length) {
        int to = m_caret.offset + 1;
        if (insidePair(p, to))
            ++to;
        p.erase(static_cast<size_t>(m_caret.offset), static_cast<size_t>(to - m_caret.offset));
        m_caret = clamp(m_caret);
        report(change, m_caret.para, 1, 1);
        return EditResult::Changed;
    }
    if (m_caret.para + 1 >= paragraphCount())
        return EditResult::Unchanged;
    const std::u16string& next = m_paras[static_cast<size_t>(m_caret.para + 1)];
    if (p.size() + next.size() > static_cast<size_t>(kMaxParagraphLength))
        return EditResult::Refused;
    p += next;
    m_paras.erase(m_paras.begin() + m_caret.para + 1);
    m_caret = clamp(m_caret);
    report(change, m_caret.para, 2, 1);
    return EditResult::Changed;
}

TextPosition NotesText::clamp(TextPosition position) const {
    TextPosition r;
    r.para = std::clamp(position.para, 0, paragraphCount() - 1);
    const std::u16string& p = m_paras[static_cast<size_t>(r.para)];
    r.offset = std::clamp(position.offset, 0, static_cast<int>(p.size()));
    if (insidePair(p, r.offset))
        --r.offset;
    return r;
}

void NotesText::setCaret(TextPosition position) {
    m_caret = clamp(position);
}

TextPosition NotesText::nextPosition(TextPosition from) const {
    TextPosition r = clamp(from);
    const std::u16string& p = m_paras[static_cast<size_t>(r.para)];
    if (r.offset < static_cast<int>(p.size())) {
        ++r.offset;
        if (insidePair(p, r.offset))
            ++r.offset;
    } else if (r.para + 1 < paragraphCount()) {
        r = TextPosition{r.para + 1, 0};
    }
    return r;
}

TextPosition NotesText::previousPosition(TextPosition from) const {
    TextPosition r = clamp(from);
    if (r.offset > 0) {
        --r.offset;
        if (insidePair(m_paras[static_cast<size_t>(r.para)], r.offset))
            --r.offset;
    } else if (r.para > 0) {
        r.para -= 1;
        r.offset = static_cast<int>(m_paras[static_cast<size_t>(r.para)].size());
    }
    return r;
}
