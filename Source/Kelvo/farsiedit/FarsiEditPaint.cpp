// CFarsiEdit's painting, its system caret and its hit test. Everything is drawn into the memory
// DC's bitmap and reaches the screen in one BitBlt. Where a line stands follows the alignment
// bits (or, with FES_BYDIRECTION, the paragraph's direction) and the horizontal scroll offset;
// the caret's x and the stylus' column are measured from there.
#include <algorithm>

#include "farsiedit/CFarsiEdit.h"

void CFarsiEdit::originOf(const CBidiPara* para, int line, int* x, UINT* align) const {
    const DWORD alignment = style & FES_ALIGNMASK;
    // A multi-line control that wraps puts each line flush against its own side.
    const bool wrapsLines = (style & FES_MULTILINE) && !(style & FES_HSCROLL);
    *align = TA_LEFT;
    if (alignment == FES_CENTER) {
        *x = innerRect.left + (innerRect.Width() - lineWidth(para, line)) / 2;
    } else if ((style & FES_BYDIRECTION) && para->length > 0) {
        if ((para->baseLevel & 1) == 0) {
            *x = wrapsLines               ? innerRect.left
                 : alignment == FES_RIGHT ? innerRect.right - textWidth + hOffset
                                          : innerRect.left - hOffset;
        } else {
            *align = TA_RIGHT;
            *x = wrapsLines              ? innerRect.right
                 : alignment == FES_LEFT ? innerRect.left + textWidth - hOffset
                                         : innerRect.right + hOffset;
        }
    } else if (alignment == FES_RIGHT) {
        *align = TA_RIGHT;
        *x = innerRect.right + hOffset;
    } else {
        *x = innerRect.left - hOffset;
    }
}

int CFarsiEdit::lineWidth(const CBidiPara* para, int line) const {
    const int start = para->LineStart(line);
    if (start < 0)
        return 0;
    return CBidiPara::TextWidth(memDC, para->glyphs.get() + start, para->lineLengths[line]);
}

int CFarsiEdit::lineLeft(const CBidiPara* para, int line) const {
    int x = 0;
    UINT align = TA_LEFT;
    originOf(para, line, &x, &align);
    return align == TA_RIGHT ? x - lineWidth(para, line) : x;
}

int CFarsiEdit::prefixWidth(const CBidiPara* para, int line, int columns) const {
    const int start = para->LineStart(line);
    if (start < 0 || columns <= 0)
        return 0;
    columns = std::min(columns, static_cast<int>(para->lineLengths[line]));
    return CBidiPara::TextWidth(memDC, para->glyphs.get() + start, columns);
}

int CFarsiEdit::shortTextOffset() const {
    if (totalLines >= visibleLines)
        return 0;
    const int free = (visibleLines - totalLines) * lineHeight;
    switch (style & FES_VALIGNMASK) {
        case FES_BOTTOM:
            return free;
        case FES_VCENTER:
            return free / 2;
        default:
            return 0;
    }
}

void CFarsiEdit::OnPaint() {
    CPaintDC dc(this);
    ensureLayout();
    if (!bitmap.GetSafeHandle() || bitmapStale) {
        CBitmap next;
        if (next.CreateCompatibleBitmap(dc, std::max(clientRect.Width(), 1),
                                        std::max(clientRect.Height(), 1))) {
            memDC.SelectObject(next.GetSafeHandle());
            bitmap.DeleteObject();
            bitmap.Attach(next.Detach());
            memDC.FillRect(&clientRect, bkBrush);
        }
        bitmapStale = false;
    }
    memDC.Rectangle(textRect.left - 1, textRect.top - 1, textRect.right + 1, textRect.bottom + 1);
    if (style & FES_HSCROLL) {
        const CRect corner(0, textRect.bottom, textRect.left, clientRect.bottom);
        memDC.FillRect(&corner, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    }
    int y = innerRect.top + shortTextOffset();
    for (int global = TopLine(); global < totalLines && y < innerRect.bottom; ++global) {
        int line = 0;
        const CBidiPara* para = paraOfLine(global, &line);
        int selStart = 0;
        int selEnd = 0;
        selectionRange(para, &selStart, &selEnd);
        int x = 0;
        UINT align = TA_LEFT;
        originOf(para, line, &x, &align);
        memDC.SetTextAlign(align);
        para->DrawLine(memDC, x, y, selStart, selEnd, &innerRect, lineHeight, line);
        y += lineHeight;
    }
    memDC.SetTextAlign(TA_LEFT);
    dc.BitBlt(0, 0, clientRect.Width(), clientRect.Height(), &memDC, 0, 0, SRCCOPY);
    dirty = 0;
}

int CFarsiEdit::caretX() const {
    if (!caretPara || caretPara->lineCount <= 0)
        return innerRect.left;
    const int left = lineLeft(caretPara, caretLine);
    int x = left + prefixWidth(caretPara, caretLine, caretCol);
    // Between lam and alef, inside their one glyph: the glyph's middle.
    const WORD* l2v = caretPara->logToVis.get();
    if (caretIndex > 0 && caretIndex < caretPara->length && caretCol > 0 &&
        l2v[caretIndex] != CBidiPara::NO_GLYPH && l2v[caretIndex] == l2v[caretIndex - 1] &&
        !isAfter(caretPara, caretIndex, caretEdge)) {
        x = (x + left + prefixWidth(caretPara, caretLine, caretCol - 1)) / 2;
    }
    return x;
}

bool CFarsiEdit::caretPixel(POINT* at) const {
    if (!caretPara)
        return false;
    const int row = globalCaretLine() - TopLine();
    if (row < 0 || row >= visibleLines)
        return false;
    at->x = caretX();
    at->y = innerRect.top + shortTextOffset() + row * lineHeight;
    // The right end counts as inside: right-aligned text starts there.
    return at->x >= innerRect.left && at->x <= innerRect.right && at->y >= innerRect.top &&
           at->y < innerRect.bottom;
}

void CFarsiEdit::showCaretOnce() {
    if (caretShown == 0 && ShowCaret(m_hWnd))
        caretShown = 1;
}

void CFarsiEdit::hideCaretAll() {
    while (caretShown > 0) {
        HideCaret(m_hWnd);
        --caretShown;
    }
}

void CFarsiEdit::placeCaret() {
    if (!hasCaret)
        return;
    ensureLayout();
    POINT at{};
    if (caretPixel(&at)) {
        SetCaretPos(at.x, at.y);
        showCaretOnce();
    } else {
        hideCaretAll();
    }
}

CFarsiEdit::Position CFarsiEdit::nearestOnLine(CBidiPara* para, int line, int x) const {
    if (para->glyphCount == 0 || para->lineCount <= 0)
        return beforeChar(para, 0);
    line = std::clamp(line, 0, para->lineCount - 1);
    const int relative = x - lineLeft(para, line);
    const int count = para->lineLengths[line];
    // The smallest prefix reaching x, then the nearer of it and the one before it.
    int low = 0;
    int high = count;
    while (low < high) {
        const int middle = (low + high) / 2;
        if (prefixWidth(para, line, middle) >= relative)
            high = middle;
        else
            low = middle + 1;
    }
    int col = low;
    if (col > 0 &&
        relative - prefixWidth(para, line, col - 1) <= prefixWidth(para, line, col) - relative) {
        col -= 1;
    }
    return stopNear(para, line, col);
}

int CFarsiEdit::lineAtY(int y) const {
    if (!(style & FES_MULTILINE))
        return 0;
    const int offset = y - innerRect.top - shortTextOffset();
    const int row = offset < 0 ? 0 : offset / lineHeight;
    return std::min(TopLine() + row, totalLines - 1);
}

CFarsiEdit::Position CFarsiEdit::hitTest(POINT point) const {
    int line = 0;
    CBidiPara* para = paraOfLine(lineAtY(point.y), &line);
    return nearestOnLine(para, line, point.x);
}

bool CFarsiEdit::charAt(POINT point, CBidiPara** para, int* index) const {
    int line = 0;
    CBidiPara* found = paraOfLine(lineAtY(point.y), &line);
    if (found->glyphCount == 0 || found->lineCount <= 0)
        return false;
    const int relative = point.x - lineLeft(found, line);
    const int count = found->lineLengths[line];
    if (relative < 0 || relative >= prefixWidth(found, line, count))
        return false;
    // The first glyph whose right edge lies beyond x.
    int low = 1;
    int high = count;
    while (low < high) {
        const int middle = (low + high) / 2;
        if (prefixWidth(found, line, middle) > relative)
            high = middle;
        else
            low = middle + 1;
    }
    *para = found;
    *index = found->visToLog[found->LineStart(line) + low - 1];
    return true;
}
