// CFarsiEdit and the stylus: a tap places the caret, a drag selects (scrolling when it leaves
// the text), a double tap selects a word, and a tap-and-hold opens the menu of "Cut", "Copy",
// "Paste", "Delete" and "Select All".
#include <aygshell.h>

#include "farsiedit/CFarsiEdit.h"

bool CFarsiEdit::insideSelection(CPoint point) const {
    CBidiPara* para = nullptr;
    int index = 0;
    if (!hasSelection() || !charAt(point, &para, &index))
        return false;
    int start = 0;
    int end = 0;
    selectionRange(para, &start, &end);
    return index >= start && index < end;
}

void CFarsiEdit::OnLButtonDown(UINT, CPoint point) {
    // A tap on a control without the focus gives it the focus, as a user expects of an edit.
    if (::GetFocus() != m_hWnd)
        SetFocus();
    ensureLayout();
    if (!insideSelection(point)) {
        collapseTo(hitTest(point));
        repaintNow();
    }
    if (runContextMenu(point))
        return;
    mouseMode = 1;
    SetCapture();
    collapseTo(hitTest(point));
    keepCaretInView();
    repaintNow();
}

void CFarsiEdit::scrollTowards(CPoint point) {
    if ((style & FES_MULTILINE) && point.y < innerRect.top)
        setTopLine(TopLine() - 1);
    else if ((style & FES_MULTILINE) && point.y >= innerRect.bottom)
        setTopLine(TopLine() + 1);
    if (scrollsHorizontally() && textWidth > innerRect.Width() &&
        (point.x < innerRect.left || point.x > innerRect.right)) {
        // Text beyond the left edge comes into view as the line moves right, and the other way.
        const int perPixel = caretXAt(1) - caretXAt(0);
        const int towardsRight = point.x > innerRect.right ? -1 : 1;
        if (perPixel != 0)
            setHOffset(hOffset + towardsRight * kHorizontalStep * perPixel);
    }
    dirty |= kDirtyView;
}

void CFarsiEdit::OnMouseMove(UINT, CPoint point) {
    if (mouseMode != 1 || ::GetCapture() != m_hWnd)
        return;
    ensureLayout();
    if (!innerRect.PtInRect(point))
        scrollTowards(point);
    const Position p = hitTest(point);
    if (p.para != caretPara || p.index != caretIndex || p.edge != caretEdge ||
        (dirty & kDirtyView)) {
        setCaret(p);
        repaintNow();
    }
}

void CFarsiEdit::OnLButtonUp(UINT, CPoint point) {
    if (mouseMode != 1)
        return;
    ensureLayout();
    setCaret(hitTest(point));
    mouseMode = 0;
    if (::GetCapture() == m_hWnd)
        ReleaseCapture();
    repaintNow();
}

void CFarsiEdit::OnLButtonDblClk(UINT, CPoint point) {
    ensureLayout();
    const Position p = hitTest(point);
    CBidiPara* para = p.para;
    const WCHAR* t = para->text.get();
    const int at = offsetOf(para, p.index, p.edge);
    int start = at;
    while (start > 0 && t[start - 1] != u' ')
        --start;
    int end = at;
    while (end < para->length && t[end] != u' ')
        ++end;
    const Position anchor = atOffset(para, start, Side::Before);
    setCaret(end > start ? atOffset(para, end, Side::After) : anchor);
    anchorPara = anchor.para;
    anchorIndex = anchor.index;
    anchorEdge = anchor.edge;
    mouseMode = 2;
    keepCaretInView();
    repaintNow();
}

bool CFarsiEdit::runContextMenu(CPoint point) {
    SHRGINFO gesture{};
    gesture.cbSize = sizeof(gesture);
    gesture.hwndClient = m_hWnd;
    gesture.ptDown = point;
    gesture.dwFlags = SHRG_RETURNCMD;
    if (SHRecognizeGesture(&gesture) != GN_CONTEXTMENU)
        return false;
    const UINT onSelection = insideSelection(point) ? MF_ENABLED : MF_GRAYED;
    const UINT onClipboard = IsClipboardFormatAvailable(CF_UNICODETEXT) ? MF_ENABLED : MF_GRAYED;
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING | onSelection, ID_FE_CUT, u"Cut");
    AppendMenuW(menu, MF_STRING | onSelection, ID_FE_COPY, u"Copy");
    AppendMenuW(menu, MF_STRING | onClipboard, ID_FE_PASTE, u"Paste");
    AppendMenuW(menu, MF_STRING | onSelection, ID_FE_DELETE, u"Delete");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, ID_FE_SELECTALL, u"Select All");
    POINT screen = point;
    ClientToScreen(&screen);
    const UINT command = static_cast<UINT>(
        TrackPopupMenuEx(menu, TPM_RETURNCMD, screen.x, screen.y, m_hWnd, nullptr));
    DestroyMenu(menu);
    switch (command) {
        case ID_FE_CUT:
            Cut();
            break;
        case ID_FE_COPY:
            Copy();
            break;
        case ID_FE_PASTE:
            Paste();
            break;
        case ID_FE_DELETE:
            DeleteSelection();
            break;
        case ID_FE_SELECTALL:
            SelectAll();
            break;
        default:
            // Dismissed: the caret goes where the stylus was held.
            ensureLayout();
            collapseTo(hitTest(point));
            mouseMode = 0;
            repaintNow();
            break;
    }
    return true;
}
