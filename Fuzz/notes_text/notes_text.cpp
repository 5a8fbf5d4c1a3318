// Fuzz target for Notes' text: arbitrary UTF-16 as a window text (WM_SETTEXT), then edits
// driven by the input bytes (typing, Enter, backspace, delete, caret moves), each laid out
// again only where it changed. Checks that the caret stays in the text, that every position
// maps to a point on a line of the page and back to a position in the text, and that the
// partial layout equals a full one. Aborts when one breaks.
#include <wingdi.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "programs/NotesLayout.h"
#include "programs/NotesText.h"

namespace {

class Input {
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool empty() const { return m_pos >= m_size; }
    uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    char16_t unit() {
        const uint8_t low = byte();
        return static_cast<char16_t>(low | (byte() << 8));
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

void require(bool condition) {
    if (!condition)
        std::abort();
}

HDC measuringDc() {
    static HDC dc = [] {
        HDC memory = CreateCompatibleDC(nullptr);
        HFONT font =
            CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Tahoma");
        SelectObject(memory, font);
        return memory;
    }();
    return dc;
}

void check(const NotesText& text, const NotesLayout& layout, int width) {
    const TextPosition caret = text.caret();
    require(caret == text.clamp(caret));
    require(layout.lineCount() >= text.paragraphCount());
    NotesLayout full(measuringDc(), width, 15);
    full.rebuild(text);
    require(full.lineCount() == layout.lineCount());
    for (int p = 0; p < text.paragraphCount(); ++p) {
        const int length = static_cast<int>(text.paragraph(p).size());
        require(length <= NotesText::kMaxParagraphLength);
        for (int k = 0; k <= length; ++k) {
            const NotesLayout::Place place = layout.placeOf(TextPosition{p, k});
            const NotesLayout::Place again = full.placeOf(TextPosition{p, k});
            require(place.line == again.line && place.x == again.x);
            require(place.line >= 0 && place.line < layout.lineCount());
            const TextPosition back = layout.positionAt(place.line, place.x);
            require(back == text.clamp(back));
        }
        const TextPosition start = layout.lineStart(TextPosition{p, length});
        const TextPosition end = layout.lineEnd(TextPosition{p, 0});
        require(start.para == p && start.offset >= 0 && start.offset <= length);
        require(end.para == p && end.offset >= 0 && end.offset <= length);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input input(data, size);
    const int width = 1 + input.byte();
    std::u16string initial;
    for (int n = input.byte(); n > 0 && !input.empty(); --n)
        initial.push_back(input.unit());
    NotesText text;
    text.setText(initial);
    NotesLayout layout(measuringDc(), width, 15);
    layout.rebuild(text);
    check(text, layout, width);
    while (!input.empty()) {
        const uint8_t op = input.byte();
        TextChange change;
        EditResult result = EditResult::Unchanged;
        switch (op % 6) {
            case 0:
                result = text.insertChar(input.unit(), &change);
                break;
            case 1:
                result = text.newParagraph(&change);
                break;
            case 2:
                result = text.backspace(&change);
                break;
            case 3:
                result = text.deleteForward(&change);
                break;
            case 4:
                text.setCaret(TextPosition{input.byte() - 2, input.byte() - 2});
                break;
            default:
                text.setCaret(layout.positionAt(input.byte() - 2, input.byte() * 2 - 40));
                break;
        }
        if (result == EditResult::Changed)
            layout.apply(text, change);
        check(text, layout, width);
    }
    return 0;
}
