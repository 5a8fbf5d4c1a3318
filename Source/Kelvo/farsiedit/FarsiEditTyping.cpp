// CFarsiEdit's typing: characters from WM_CHAR (and the space of an input panel's key-up),
// Backspace and Delete with paragraph joins, Enter making a new paragraph, the digits-only
// filter and the read-only control that forwards what is typed to its parent.
#include <algorithm>
#include <string>

#include "farsiedit/CFarsiEdit.h"

namespace {

constexpr WCHAR kBackspace = 0x08;
constexpr WCHAR kTab = 0x09;
constexpr WCHAR kLineFeed = 0x0A;
constexpr WCHAR kReturn = 0x0D;
constexpr WCHAR kSpace = 0x20;
constexpr WCHAR kDelete = 0x7F;
constexpr WCHAR kParagraphSeparator = 0x2029;

bool isDigit(WCHAR c) {
    return (c >= u'0' && c <= u'9') || (c >= 0x0660 && c <= 0x0669) || (c >= 0x06F0 && c <= 0x06F9);
}

bool isHighSurrogate(WCHAR c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool isLowSurrogate(WCHAR c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

void CFarsiEdit::OnChar(UINT ch, UINT, UINT flags) {
    // The space key types its space as it comes up. An input panel's space character carries
    // no key flags and is left to that key-up; a keyboard's carries its key's flags and is
    // typed now, and then its key-up types no second one.
    if (ch == kSpace && flags == 0)
        return;
    spaceTypedByChar = ch == kSpace;
    typeChar(static_cast<WCHAR>(ch));
}

void CFarsiEdit::OnKeyUp(UINT vk, UINT, UINT) {
    if (vk == VK_RETURN)
        returnKeyTranslated = false;
    if (vk == VK_SPACE) {
        if (!spaceTypedByChar)
            typeChar(kSpace);
        spaceTypedByChar = false;
    }
    Default();
}

void CFarsiEdit::typeChar(WCHAR ch) {
    const bool afterReturn = lastTypedCR;
    lastTypedCR = false;
    switch (ch) {
        case kBackspace:
            Backspace();
            return;
        case kReturn:
            lastTypedCR = true;
            if (returnKeyTranslated)
                returnKeyTranslated = false;  // its key made the paragraph already
            else
                NewParagraph();
            return;
        case kLineFeed:
        case kParagraphSeparator:
            // A paragraph holds no line break: LF and U+2029 end it as Enter does, and the LF
            // of a typed CR LF pair makes no second break.
            if (!(ch == kLineFeed && afterReturn))
                NewParagraph();
            return;
        default:
            break;
    }
    if ((style & FES_DIGITSONLY) && !isDigit(ch))
        return;
    if (ch == kTab)
        ch = kSpace;
    if (!editable()) {
        if (style & FES_FORWARDCHARS)
            ::PostMessageW(::GetParent(m_hWnd), WM_CHAR, ch, kForwardedCharMark);
        return;
    }
    if (ch < kSpace || ch == kDelete || !caretPara)
        return;  // control characters type nothing
    // The second half of a pair whose first half was refused goes with it.
    const bool pairRefused = refusedHighSurrogate;
    refusedHighSurrogate = false;
    if (pairRefused && isLowSurrogate(ch))
        return;
    // Room for one more character where it will go, before anything changes.
    int length = caretPara->length;
    if (hasSelection()) {
        const Ends e = orderedEnds();
        length = e.firstOffset + (paras.at(e.lastPara)->length - e.lastOffset);
    }
    // A surrogate pair's first half is typed only with room for its second.
    if (length + 1 > CBidiPara::MAX_LENGTH || !fitsTextLimit(isHighSurrogate(ch) ? 2 : 1)) {
        refusedHighSurrogate = isHighSurrogate(ch);
        refuse();
        return;
    }
    if (!removeSelection(true))
        return;
    CBidiPara* para = caretPara;
    const int k = CaretOffset();
    para->InsertAt(k, &ch, 1);
    touch(para);
    finishEdit(para, k + 1, Side::After);
}

void CFarsiEdit::Backspace() {
    if (!editable() || !caretPara)
        return;
    if (hasSelection()) {
        if (removeSelection(true))
            finishEdit(caretPara, CaretOffset(), Side::Before);
        return;
    }
    CBidiPara* para = caretPara;
    const int k = CaretOffset();
    if (k == 0) {
        if (CBidiPara* previous = paras.at(para->paraIndex - 1))
            joinWithNext(previous);
        return;
    }
    // The character before the caret with its glyph-less neighbours up to the caret; with no
    // visible character before it, everything before the caret.
    int from = para->PrevVisible(k);
    if (from < 0 || para->PrevVisible(from) < 0)
        from = 0;
    const WCHAR* t = para->text.get();
    if (from > 0 && isLowSurrogate(t[from]) && isHighSurrogate(t[from - 1]))
        --from;
    para->Delete(from, k - from);
    touch(para);
    finishEdit(para, from, Side::After);
}

void CFarsiEdit::DeleteForward() {
    if (!editable() || !caretPara)
        return;
    if (hasSelection()) {
        if (removeSelection(true))
            finishEdit(caretPara, CaretOffset(), Side::Before);
        return;
    }
    CBidiPara* para = caretPara;
    const int k = CaretOffset();
    if (k == para->length) {
        if (paras.at(para->paraIndex + 1))
            joinWithNext(para);
        return;
    }
    // The next character with a glyph and the glyph-less ones before it.
    const int visible = para->NextVisible(k - 1);
    int to = visible < 0 ? para->length : visible + 1;
    const WCHAR* t = para->text.get();
    if (to < para->length && isHighSurrogate(t[to - 1]) && isLowSurrogate(t[to]))
        ++to;
    para->Delete(k, to - k);
    touch(para);
    finishEdit(para, k, Side::Before);
}

void CFarsiEdit::joinWithNext(CBidiPara* first) {
    CBidiPara* second = paras.at(first->paraIndex + 1);
    const int joinAt = first->length;
    if (joinAt + second->length > CBidiPara::MAX_LENGTH) {
        refuse();
        return;
    }
    // Joining an empty paragraph leaves the caret after the text, as the break it removes was.
    const Side side = second->length == 0 ? Side::After : Side::Before;
    first->InsertAt(joinAt, second->text.get(), second->length);
    removeParagraph(second->paraIndex);
    touch(first);
    finishEdit(first, joinAt, side);
}

void CFarsiEdit::NewParagraph() {
    if (!(style & FES_MULTILINE) || !(style & FES_WANTRETURN) || !editable() || !caretPara)
        return;
    if (!fitsTextLimit(2)) {
        refuse();
        return;
    }
    if (!removeSelection(true))
        return;
    CBidiPara* para = caretPara;
    const int k = CaretOffset();
    const int index = para->paraIndex;
    const int baseLevel = para->baseLevel;
    CBidiPara* target = para;
    if (k == 0) {
        paras.insert(index, newParagraph(nullptr, 0, baseLevel));
    } else if (k == para->length) {
        target = paras.insert(index + 1, newParagraph(nullptr, 0, baseLevel));
    } else {
        const std::u16string rest(para->text.get() + k, static_cast<size_t>(para->length - k));
        para->Delete(k, para->length - k);
        touch(para);
        target = paras.insert(index + 1,
                              newParagraph(rest.data(), static_cast<int>(rest.size()), baseLevel));
    }
    editPara = target;
    dirty |= kDirtyEdited;
    finishEdit(target, 0, Side::Before);
}
