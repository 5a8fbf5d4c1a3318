// CFarsiEdit's geometry and layout passes. The geometry follows the window's size, the font and
// the style (text area, margins, line height, visible lines, the scroll bars' places). A layout
// pass runs when the dirty flags ask for one, before painting or whenever line information is
// needed: a full pass wraps every paragraph, the incremental pass after an edit only the
// paragraphs the edit changed, and a single-line control keeps one unwrapped paragraph.
#include <algorithm>

#include "farsiedit/CFarsiEdit.h"

namespace {

constexpr int kBarThickness = 15;
constexpr UINT kHorizontalBarId = 100;
constexpr UINT kVerticalBarId = 101;

}  // namespace

void CFarsiEdit::recomputeGeometry() {
    if (!m_hWnd)
        return;
    GetClientRect(&clientRect);
    textRect = CRect(clientRect.left + ((style & FES_VSCROLL) ? kBarThickness : 1),
                     clientRect.top + 1, clientRect.right - 1,
                     clientRect.bottom - ((style & FES_HSCROLL) ? kBarThickness : 1));
    innerRect = CRect(textRect.left + margins.left, textRect.top + margins.top,
                      textRect.right - margins.right, textRect.bottom - margins.bottom);
    SIZE extent{};
    int fit = 0;
    GetTextExtentExPointW(memDC, u"X", 1, 0, &fit, nullptr, &extent);
    lineHeight = std::max(1, static_cast<int>(extent.cy));
    visibleLines = std::max(1, innerRect.Height() / lineHeight);
    innerRect.bottom = innerRect.top + visibleLines * lineHeight;
    if (hasCaret) {
        const bool shown = caretShown > 0;
        hideCaretAll();
        DestroyCaret();
        hasCaret = CreateCaret(m_hWnd, nullptr, 2, lineHeight) != FALSE;
        if (shown)
            placeCaret();
    }
    if (style & FES_HSCROLL) {
        const CRect bar(textRect.left - 1, textRect.bottom, textRect.right, textRect.bottom + 15);
        if (!hScroll) {
            hScroll = std::make_unique<CCeScrollBar>();
            hScroll->Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, bar, this, kHorizontalBarId);
        } else {
            hScroll->MoveWindow(bar);
        }
    } else {
        hScroll.reset();
    }
    if (style & FES_VSCROLL) {
        const CRect bar(0, 0, kBarThickness, textRect.bottom + 1);
        if (!vScroll) {
            vScroll = std::make_unique<CCeScrollBar>();
            vScroll->Create(WS_CHILD | WS_VISIBLE | SBS_VERT, bar, this, kVerticalBarId);
        } else {
            vScroll->MoveWindow(bar);
        }
    } else {
        vScroll.reset();
    }
}

int CFarsiEdit::wrapWidth() const {
    if (!(style & FES_MULTILINE) || (style & FES_HSCROLL))
        return 0;
    return std::max(innerRect.Width(), 0);
}

void CFarsiEdit::ensureLayout() {
    if (!m_hWnd || paras.count() == 0)
        return;
    const DWORD flags = dirty;
    if (flags & (kDirtySize | kDirtyStyle))
        bitmapStale = true;
    dirty &= ~kDirtyAll;
    if (flags & (kDirtyAll & ~kDirtyEdited)) {
        if (style & FES_MULTILINE)
            layoutFull();
        else
            layoutSingleLine(Scroll::Reset);
    } else if (flags & kDirtyEdited) {
        layoutIncremental();
    }
}

void CFarsiEdit::layoutSingleLine(Scroll scroll) {
    CBidiPara* first = paras.at(0);
    // Only the first paragraph stays: the caret and the anchor must not be left on another.
    if (caretPara != first || anchorPara != first) {
        caretPara = anchorPara = first;
        caretIndex = anchorIndex = 0;
        caretEdge = anchorEdge = 0;
    }
    paras.truncate(1);
    editPara = first;
    totalLines = 1;
    const int width = first->Wrap(memDC, 0);
    first->firstLine = 0;
    topPara = bottomPara = 0;
    topLine = bottomLine = 0;
    textWidth = std::max(width, innerRect.Width());
    // After an edit the view stays where it was, as far as the text still reaches.
    hOffset = scroll == Scroll::Reset ? 0 : std::clamp(hOffset, 0, textWidth - innerRect.Width());
    updateBars();
    refreshCaretLineCol();
}

void CFarsiEdit::layoutFull() {
    const int width = wrapWidth();
    totalLines = 0;
    textWidth = 0;
    for (int i = 0; i < paras.count(); ++i) {
        CBidiPara* para = paras.at(i);
        para->firstLine = totalLines;
        const int widest = para->Wrap(memDC, width);
        if (style & FES_HSCROLL)
            textWidth = std::max(textWidth, widest);
        totalLines += para->lineCount;
    }
    textWidth = std::max(textWidth, innerRect.Width());
    hOffset = std::clamp(hOffset, 0, textWidth - innerRect.Width());
    setTopLine(TopLine());
    updateBars();
    refreshCaretLineCol();
}

void CFarsiEdit::layoutIncremental() {
    if (!(style & FES_MULTILINE)) {
        layoutSingleLine(Scroll::Keep);
        return;
    }
    const int width = wrapWidth();
    int from = editPara ? editPara->paraIndex : paras.count();
    for (int i = 0; i < paras.count(); ++i) {
        CBidiPara* para = paras.at(i);
        if (para->lineCount > 0)
            continue;
        const int widest = para->Wrap(memDC, width);
        if (style & FES_HSCROLL)
            textWidth = std::max(textWidth, widest);
        from = std::min(from, i);
    }
    renumberLines(std::clamp(from, 0, paras.count() - 1));
    textWidth = std::max(textWidth, innerRect.Width());
    topPara = std::min(topPara, paras.count() - 1);
    setTopLine(TopLine());
    updateBars();
    refreshCaretLineCol();
}

void CFarsiEdit::renumberLines(int fromPara) {
    const CBidiPara* before = paras.at(fromPara - 1);
    int line = before ? before->firstLine + before->lineCount : 0;
    for (int i = fromPara; i < paras.count(); ++i) {
        CBidiPara* para = paras.at(i);
        para->firstLine = line;
        line += para->lineCount;
    }
    totalLines = line;
}

void CFarsiEdit::updateBottom() {
    const int last = std::min(TopLine() + visibleLines - 1, totalLines - 1);
    CBidiPara* para = paraOfLine(last, &bottomLine);
    bottomPara = para ? para->paraIndex : 0;
}

void CFarsiEdit::updateBars() {
    if (vScroll) {
        if ((style & FES_MULTILINE) && totalLines > visibleLines) {
            vScroll->SetScrollRange(0, totalLines - visibleLines, FALSE);
            vScroll->SetScrollPos(TopLine());
            vScroll->ShowScrollBar(TRUE);
        } else {
            vScroll->ShowScrollBar(FALSE);
        }
    }
    if (hScroll) {
        const int range = textWidth - innerRect.Width();
        if (range > 0) {
            hScroll->SetScrollRange(0, range, FALSE);
            const bool left = (style & FES_ALIGNMASK) == FES_LEFT;
            hScroll->SetScrollPos(left ? hOffset : range - hOffset);
            hScroll->ShowScrollBar(TRUE);
        } else {
            hScroll->ShowScrollBar(FALSE);
        }
    }
}

void CFarsiEdit::refreshCaretLineCol() {
    if (caretPara)
        lineColOf(caretPara, caretIndex, caretEdge, &caretLine, &caretCol);
}
