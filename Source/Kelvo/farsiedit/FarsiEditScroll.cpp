// CFarsiEdit's scrolling: the first visible line and the horizontal offset, their scroll bars'
// messages, and keeping the caret in view (a caret that leaves the view horizontally comes back
// to the middle of it).
#include <algorithm>

#include "farsiedit/CFarsiEdit.h"

bool CFarsiEdit::scrollsHorizontally() const {
    return (style & FES_HSCROLL) || !(style & FES_MULTILINE);
}

void CFarsiEdit::setTopLine(int globalLine) {
    if (paras.count() == 0)
        return;
    globalLine = std::clamp(globalLine, 0, std::max(totalLines - 1, 0));
    int line = 0;
    const CBidiPara* para = paraOfLine(globalLine, &line);
    topPara = para->paraIndex;
    topLine = line;
    updateBottom();
    if (vScroll)
        vScroll->SetScrollPos(globalLine);
}

void CFarsiEdit::setHOffset(int offset) {
    const int range = std::max(textWidth - innerRect.Width(), 0);
    hOffset = std::clamp(offset, 0, range);
    if (hScroll) {
        const bool left = (style & FES_ALIGNMASK) == FES_LEFT;
        hScroll->SetScrollPos(left ? hOffset : range - hOffset);
    }
}

int CFarsiEdit::caretXAt(int offset) {
    const int kept = hOffset;
    hOffset = offset;
    const int x = caretX();
    hOffset = kept;
    return x;
}

void CFarsiEdit::keepCaretInView() {
    ensureLayout();
    if (!caretPara)
        return;
    const int topBefore = TopLine();
    const int offsetBefore = hOffset;
    if (style & FES_MULTILINE) {
        const int line = globalCaretLine();
        if (line < topBefore)
            setTopLine(line);
        else if (line > topBefore + visibleLines - 1)
            setTopLine(line - visibleLines + 1);
    }
    if (scrollsHorizontally() && textWidth > innerRect.Width()) {
        const int x = caretX();
        if (x < innerRect.left || x > innerRect.right) {
            // The caret moves by +1 or -1 pixel per pixel of offset, depending on the side
            // the line is drawn from.
            const int atZero = caretXAt(0);
            const int perPixel = caretXAt(1) - atZero;
            const int middle = innerRect.left + innerRect.Width() / 2;
            if (perPixel != 0)
                setHOffset((middle - atZero) / perPixel);
        }
    }
    if (TopLine() != topBefore || hOffset != offsetBefore) {
        dirty |= kDirtyView;
        repaintNow();
    }
}

LRESULT CFarsiEdit::OnVScroll(WPARAM wParam, LPARAM) {
    if (totalLines <= visibleLines)
        return 0;
    const int page = std::max(visibleLines - 1, 1);
    int top = TopLine();
    switch (LOWORD(wParam)) {
        case SB_LINEUP:
            top -= 1;
            break;
        case SB_LINEDOWN:
            top += 1;
            break;
        case SB_PAGEUP:
            top -= page;
            break;
        case SB_PAGEDOWN:
            top += page;
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            top = HIWORD(wParam);
            break;
        default:
            return 0;
    }
    setTopLine(top);
    dirty |= kDirtyView;
    repaintNow();
    return 0;
}

LRESULT CFarsiEdit::OnHScroll(WPARAM wParam, LPARAM) {
    const int range = textWidth - innerRect.Width();
    if (range <= 0)
        return 0;
    // For text drawn from the right the bar runs the other way.
    const int sign = (style & FES_ALIGNMASK) == FES_LEFT ? 1 : -1;
    const int page = std::max(innerRect.Width() - kHorizontalStep, 1);
    int offset = hOffset;
    switch (LOWORD(wParam)) {
        case SB_LINELEFT:
            offset -= sign * kHorizontalStep;
            break;
        case SB_LINERIGHT:
            offset += sign * kHorizontalStep;
            break;
        case SB_PAGELEFT:
            offset -= sign * page;
            break;
        case SB_PAGERIGHT:
            offset += sign * page;
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            offset = sign > 0 ? HIWORD(wParam) : range - HIWORD(wParam);
            break;
        default:
            return 0;
    }
    setHOffset(offset);
    dirty |= kDirtyView;
    repaintNow();
    return 0;
}
