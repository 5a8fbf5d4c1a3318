// The Notes program's text: a list of paragraphs and a caret at a logical offset, with the
// editing a user expects (typing, backspace, delete, Enter making a new paragraph). Exchanged
// with the outside as one string whose paragraphs are joined by CR LF. Knows nothing of
// windows or drawing.
#pragma once

#include <windef.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A caret position: paragraph index and logical offset within it (0..paragraph length).
struct TextPosition {
    int para = 0;
    int offset = 0;
    bool operator==(const TextPosition&) const = default;
};

// What an edit did to the paragraph list: paragraphs [first, first + removed) were replaced by
// the paragraphs [first, first + inserted) of the new list. A view relays out only those.
struct TextChange {
    int first = 0;
    int removed = 0;
    int inserted = 0;
};

enum class EditResult { Changed, Unchanged, Refused };

class NotesText {
public:
    // Longest paragraph, in UTF-16 units: what one laid-out paragraph can hold.
    static constexpr int kMaxParagraphLength = 0xFFFE;

    NotesText();

    // Replaces the whole text (up to a NUL), splitting it at CR LF, CR, LF and U+2029. Refused,
    // changing nothing, when a paragraph would be longer than kMaxParagraphLength. The caret goes
    // to the start.
    EditResult setText(std::u16string_view text);
    std::u16string text() const;
    // Length of text(): the paragraphs plus two for each break.
    size_t textLength() const;
    // WM_GETTEXT's copy: at most bufferSize - 1 units and a NUL; the units copied (0 and
    // nothing written when bufferSize < 1 or buffer is null).
    size_t copyText(WCHAR* buffer, size_t bufferSize) const;

    // Inserts one character at the caret, which moves after it. Refused when the paragraph
    // is full or for a NUL. CR, LF and U+2029 make a new paragraph instead.
    EditResult insertChar(char16_t ch, TextChange* change = nullptr);
    // Splits the paragraph at the caret; the caret goes to the start of the new one.
    EditResult newParagraph(TextChange* change = nullptr);
    // Removes the character before the caret (a surrogate pair as one), or joins the
    // paragraph to the previous one at its start.
    EditResult backspace(TextChange* change = nullptr);
    // Removes the character after the caret, or joins the next paragraph at the end.
    EditResult deleteForward(TextChange* change = nullptr);

    int paragraphCount() const { return static_cast<int>(m_paras.size()); }
    const std::u16string& paragraph(int index) const { return m_paras[static_cast<size_t>(index)]; }

    TextPosition caret() const { return m_caret; }
    // Places the caret, clamped into the text and off the inside of a surrogate pair.
    void setCaret(TextPosition position);
    // The position one character forward / back in reading order, crossing paragraph breaks;
    // the same position at the text's ends.
    TextPosition nextPosition(TextPosition from) const;
    TextPosition previousPosition(TextPosition from) const;
    TextPosition clamp(TextPosition position) const;

private:
    std::vector<std::u16string> m_paras;
    TextPosition m_caret;
};
