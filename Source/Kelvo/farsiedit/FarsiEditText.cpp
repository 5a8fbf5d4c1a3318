// CFarsiEdit's text: the window text messages, splitting text into paragraphs at line breaks,
// inserting a string and deleting the selection across paragraphs, the selected text, and
// selecting a range. A paragraph never grows past the layout's length cap, nor the text past
// the control's text limit: an edit that would pass either is refused with a beep and changes
// nothing.
#include <algorithm>
#include <string_view>
#include <vector>

#include "farsiedit/CFarsiEdit.h"

namespace {

bool isBreak(WCHAR c) {
    return c == u'\n' || c == u'\r' || c == 0x2029;
}

// The paragraphs of a text (up to its first NUL): each ends at LF, CR or U+2029, and one CR,
// then one LF, then one U+2029 after it make one break (so CR LF is one break, LF CR two). A
// break at the end leaves an empty last paragraph.
std::vector<std::u16string_view> splitParagraphs(std::u16string_view text) {
    text = text.substr(0, text.find(u'\0'));
    std::vector<std::u16string_view> pieces;
    size_t pos = 0;
    for (;;) {
        const size_t start = pos;
        while (pos < text.size() && !isBreak(text[pos]))
            ++pos;
        pieces.push_back(text.substr(start, pos - start));
        if (pos == text.size())
            return pieces;
        if (text[pos] == u'\r')
            ++pos;
        if (pos < text.size() && text[pos] == u'\n')
            ++pos;
        if (pos < text.size() && text[pos] == 0x2029)
            ++pos;
    }
}

std::u16string_view textOf(const CBidiPara* para) {
    return {para->text.get(), static_cast<size_t>(para->length)};
}

}  // namespace

std::unique_ptr<CBidiPara> CFarsiEdit::newParagraph(const WCHAR* text, int length,
                                                    int baseLevel) const {
    auto para = std::make_unique<CBidiPara>();
    const std::u16string copy(text ? text : u"", static_cast<size_t>(std::max(length, 0)));
    para->SetText(copy.c_str());
    // An empty paragraph keeps the direction it is given until it gets text.
    para->baseLevel = baseLevel;
    para->Layout();
    para->lineCount = -1;
    return para;
}

void CFarsiEdit::removeParagraph(int index) {
    CBidiPara* gone = paras.at(index);
    if (!gone || paras.count() < 2)
        return;
    CBidiPara* neighbour = paras.at(index > 0 ? index - 1 : 1);
    if (caretPara == gone)
        setCaret(atOffset(neighbour, neighbour->length, Side::After));
    if (anchorPara == gone) {
        anchorPara = caretPara;
        anchorIndex = caretIndex;
        anchorEdge = caretEdge;
    }
    if (editPara == gone)
        editPara = neighbour;
    paras.remove(index);
    dirty |= kDirtyEdited;
}

void CFarsiEdit::touch(CBidiPara* para) {
    para->Layout();
    para->lineCount = -1;
    editPara = para;
    dirty |= kDirtyEdited;
}

bool CFarsiEdit::fitsTextLimit(size_t added) const {
    if (textLimit <= 0)
        return true;
    return textLength() - SelectedText().size() + added <= static_cast<size_t>(textLimit);
}

void CFarsiEdit::refuse() {
    MessageBeep(MB_ICONASTERISK);
}

void CFarsiEdit::finishEdit(CBidiPara* para, int offset, Side side) {
    ensureLayout();
    collapseTo(atOffset(para, offset, side));
    keepCaretInView();
    repaintNow();
}

LRESULT CFarsiEdit::OnSetText(WPARAM, LPARAM lParam) {
    const auto* text = reinterpret_cast<const WCHAR*>(lParam);
    const std::vector<std::u16string_view> pieces =
        splitParagraphs(text ? std::u16string_view(text) : std::u16string_view());
    for (std::u16string_view piece : pieces) {
        if (piece.size() > static_cast<size_t>(CBidiPara::MAX_LENGTH))
            return FALSE;  // the layout could not hold it: the text stays as it was
    }
    paras.truncate(0);
    int baseLevel = 0;
    for (std::u16string_view piece : pieces) {
        CBidiPara* para = paras.insert(
            paras.count(), newParagraph(piece.data(), static_cast<int>(piece.size()), baseLevel));
        baseLevel = para->baseLevel;
    }
    // The old paragraphs are gone: nothing may point at them any more.
    editPara = paras.at(0);
    caretPara = anchorPara = editPara;
    caretIndex = anchorIndex = 0;
    caretEdge = anchorEdge = 0;
    topPara = topLine = 0;
    hOffset = 0;
    dirty |= kDirtyNewText;
    ensureLayout();
    collapseTo(beforeChar(paras.at(0), 0));
    repaintNow();
    return TRUE;
}

LRESULT CFarsiEdit::OnGetText(WPARAM wParam, LPARAM lParam) {
    auto* buffer = reinterpret_cast<WCHAR*>(lParam);
    const auto size = static_cast<size_t>(wParam);
    if (size < 1 || !buffer)
        return 0;
    size_t copied = 0;
    auto put = [&](std::u16string_view part) {
        const size_t n = std::min(part.size(), size - 1 - copied);
        std::copy_n(part.data(), n, buffer + copied);
        copied += n;
    };
    for (int i = 0; i < paras.count() && copied < size - 1; ++i) {
        if (i > 0)
            put(u"\r\n");
        put(textOf(paras.at(i)));
    }
    buffer[copied] = 0;
    return static_cast<LRESULT>(copied);
}

LRESULT CFarsiEdit::OnGetTextLength(WPARAM, LPARAM) {
    return static_cast<LRESULT>(textLength());
}

size_t CFarsiEdit::textLength() const {
    size_t total = 0;
    for (int i = 0; i < paras.count(); ++i)
        total += static_cast<size_t>(paras.at(i)->length) + (i > 0 ? 2 : 0);
    return total;
}

bool CFarsiEdit::removeSelection(bool beepWhenRefused) {
    if (!hasSelection())
        return true;
    const Ends e = orderedEnds();
    CBidiPara* first = paras.at(e.firstPara);
    CBidiPara* last = paras.at(e.lastPara);
    if (first != last) {
        const int joined = e.firstOffset + (last->length - e.lastOffset);
        if (joined > CBidiPara::MAX_LENGTH) {
            if (beepWhenRefused)
                refuse();
            return false;
        }
        const std::u16string tail(textOf(last).substr(static_cast<size_t>(e.lastOffset)));
        first->Delete(e.firstOffset, first->length - e.firstOffset);
        first->InsertAt(e.firstOffset, tail.data(), static_cast<int>(tail.size()));
        for (int i = e.lastPara; i > e.firstPara; --i)
            removeParagraph(i);
    } else {
        first->Delete(e.firstOffset, e.lastOffset - e.firstOffset);
    }
    touch(first);
    collapseTo(atOffset(first, e.firstOffset, Side::Before));
    return true;
}

void CFarsiEdit::DeleteSelection() {
    if (!editable() || !hasSelection())
        return;
    if (removeSelection(true))
        finishEdit(caretPara, CaretOffset(), Side::Before);
}

void CFarsiEdit::InsertText(const std::u16string& text) {
    if (text.empty() || !editable() || !caretPara)
        return;
    std::vector<std::u16string_view> pieces = splitParagraphs(text);
    if (!(style & FES_MULTILINE))
        pieces.resize(1);
    if (pieces.size() == 1 && pieces[0].empty())
        return;
    // The lengths the edit would leave, checked before anything changes.
    int prefix = CaretOffset();
    int tail = caretPara->length - prefix;
    if (hasSelection()) {
        const Ends e = orderedEnds();
        prefix = e.firstOffset;
        tail = paras.at(e.lastPara)->length - e.lastOffset;
    }
    const auto fits = [](size_t length) {
        return length <= static_cast<size_t>(CBidiPara::MAX_LENGTH);
    };
    bool ok = pieces.size() == 1
                  ? fits(prefix + pieces[0].size() + tail)
                  : fits(prefix + pieces.front().size()) && fits(pieces.back().size() + tail);
    for (size_t i = 1; ok && i + 1 < pieces.size(); ++i)
        ok = fits(pieces[i].size());
    size_t added = 2 * (pieces.size() - 1);  // each break as CR LF
    for (std::u16string_view piece : pieces)
        added += piece.size();
    ok = ok && fitsTextLimit(added);
    if (!ok || !removeSelection(true)) {
        if (!ok)
            refuse();
        return;
    }
    CBidiPara* para = caretPara;
    const int k = CaretOffset();
    if (pieces.size() == 1) {
        para->InsertAt(k, pieces[0].data(), static_cast<int>(pieces[0].size()));
        touch(para);
        finishEdit(para, k + static_cast<int>(pieces[0].size()), Side::After);
        return;
    }
    const std::u16string rest(textOf(para).substr(static_cast<size_t>(k)));
    para->Delete(k, para->length - k);
    para->InsertAt(k, pieces[0].data(), static_cast<int>(pieces[0].size()));
    touch(para);
    int index = para->paraIndex;
    int baseLevel = para->baseLevel;
    for (size_t i = 1; i < pieces.size(); ++i) {
        std::u16string content(pieces[i]);
        if (i + 1 == pieces.size())
            content += rest;
        CBidiPara* added = paras.insert(
            ++index, newParagraph(content.data(), static_cast<int>(content.size()), baseLevel));
        baseLevel = added->baseLevel;
        para = added;
    }
    editPara = para;
    finishEdit(para, static_cast<int>(pieces.back().size()), Side::After);
}

std::u16string CFarsiEdit::SelectedText() const {
    std::u16string out;
    if (!hasSelection())
        return out;
    const Ends e = orderedEnds();
    for (int i = e.firstPara; i <= e.lastPara; ++i) {
        const CBidiPara* para = paras.at(i);
        int start = 0;
        int end = 0;
        selectionRange(para, &start, &end);
        if (i > e.firstPara)
            out += u"\r\n";
        out += textOf(para).substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
    }
    return out;
}

void CFarsiEdit::SelectRange(int firstPara, int firstIndex, int lastPara, int lastIndex) {
    if (lastPara == -1)
        lastPara = paras.count() - 1;
    CBidiPara* first = paras.at(firstPara);
    CBidiPara* last = paras.at(lastPara);
    if (!first || !last)
        return;
    // -1 names a paragraph's last character; in an empty paragraph, its only position.
    auto valid = [](const CBidiPara* para, int& index) {
        if (index == -1)
            index = std::max(para->length - 1, 0);
        return para->length == 0 ? index == 0 : index >= 0 && index < para->length;
    };
    if (!valid(first, firstIndex) || !valid(last, lastIndex))
        return;
    if (firstPara > lastPara || (firstPara == lastPara && firstIndex > lastIndex))
        return;
    ensureLayout();
    const Position anchor = beforeChar(first, firstIndex);
    setCaret(last->length == 0 ? beforeChar(last, 0) : afterChar(last, lastIndex));
    anchorPara = anchor.para;
    anchorIndex = anchor.index;
    anchorEdge = anchor.edge;
    keepCaretInView();
    repaintNow();
}
