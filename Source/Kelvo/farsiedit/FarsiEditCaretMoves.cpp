// CFarsiEdit's caret commands. Left and right move visually, one glyph column at a time along
// the line as it is shown, whatever the direction of the text under the caret; at a line's end
// they go on to the next line in the paragraph's reading order, and at a paragraph's end to the
// neighbouring paragraph. Up, down and the page keys keep the caret's x. Every command
// collapses the selection and keeps the caret in view.
#include <algorithm>

#include "farsiedit/CFarsiEdit.h"

namespace {

bool rightToLeft(const CBidiPara* para) {
    return (para->baseLevel & 1) != 0;
}

int lineLength(const CBidiPara* para, int line) {
    return para->lineCount > 0 ? para->lineLengths[std::clamp(line, 0, para->lineCount - 1)] : 0;
}

}  // namespace

void CFarsiEdit::afterCaretMove() {
    anchorPara = caretPara;
    anchorIndex = caretIndex;
    anchorEdge = caretEdge;
    keepCaretInView();
    repaintNow();
}

void CFarsiEdit::paragraphEnd(CBidiPara* para) {
    if (!para)
        return;
    const int last = std::max(para->lineCount - 1, 0);
    setCaret(fromLineCol(para, last, rightToLeft(para) ? 0 : lineLength(para, last)));
}

void CFarsiEdit::paragraphStart(CBidiPara* para) {
    if (!para)
        return;
    setCaret(fromLineCol(para, 0, rightToLeft(para) ? lineLength(para, 0) : 0));
}

bool CFarsiEdit::stepOnLine(Towards towards) {
    const int step = towards == Towards::Left ? -1 : 1;
    const int count = lineLength(caretPara, caretLine);
    for (int col = caretCol + step; col >= 0 && col <= count; col += step) {
        const Position p = fromLineCol(caretPara, caretLine, col);
        if (isCaretStop(p.para, offsetOf(p.para, p.index, p.edge))) {
            setCaret(p);
            return true;
        }
    }
    return false;
}

void CFarsiEdit::moveVisually(Towards towards) {
    ensureLayout();
    CBidiPara* para = caretPara;
    if (!para)
        return;
    CBidiPara* previous = paras.at(para->paraIndex - 1);
    CBidiPara* next = paras.at(para->paraIndex + 1);
    // Moving against the paragraph's reading order leads back to the previous paragraph.
    const bool backwards = (towards == Towards::Left) != rightToLeft(para);
    if (para->glyphCount == 0) {
        if (backwards)
            paragraphEnd(previous);
        else
            paragraphStart(next);
        return;
    }
    if (stepOnLine(towards))
        return;
    const int line = backwards ? caretLine - 1 : caretLine + 1;
    if (line < 0) {
        paragraphEnd(previous);
    } else if (line >= para->lineCount) {
        paragraphStart(next);
    } else {
        // The next line in reading order, at its end that meets this one.
        const bool atRightEnd = towards == Towards::Left;
        setCaret(fromLineCol(para, line, atRightEnd ? lineLength(para, line) : 0));
    }
}

void CFarsiEdit::CaretLeft() {
    moveVisually(Towards::Left);
    afterCaretMove();
}

void CFarsiEdit::CaretRight() {
    moveVisually(Towards::Right);
    afterCaretMove();
}

void CFarsiEdit::moveToLine(int globalLine, int x) {
    int line = 0;
    CBidiPara* para = paraOfLine(globalLine, &line);
    setCaret(nearestOnLine(para, line, x));
}

void CFarsiEdit::CaretUp() {
    if (style & FES_MULTILINE) {
        ensureLayout();
        const int line = globalCaretLine();
        if (line > 0)
            moveToLine(line - 1, caretX());
    }
    afterCaretMove();
}

void CFarsiEdit::CaretDown() {
    if (style & FES_MULTILINE) {
        ensureLayout();
        const int line = globalCaretLine();
        if (line < totalLines - 1)
            moveToLine(line + 1, caretX());
    }
    afterCaretMove();
}

void CFarsiEdit::StartOfLine() {
    ensureLayout();
    if (caretPara && caretPara->length > 0) {
        const int first = caretPara->LineFirstChar(caretLine);
        if (first >= 0 && first < caretPara->length)
            setCaret(beforeChar(caretPara, first));
    }
    afterCaretMove();
}

void CFarsiEdit::EndOfLine() {
    ensureLayout();
    if (caretPara && caretPara->length > 0) {
        const int last = caretPara->LineLastChar(caretLine);
        if (last >= 0 && last < caretPara->length)
            setCaret(afterChar(caretPara, last));
    }
    afterCaretMove();
}

void CFarsiEdit::PageUp() {
    if (style & FES_MULTILINE) {
        ensureLayout();
        const int line = globalCaretLine();
        if (line > 0) {
            const int x = caretX();
            int row = line - TopLine();
            if (row < 0 || row >= visibleLines)
                row = visibleLines / 2;
            const int target = std::max(0, line - std::max(visibleLines - 1, 1));
            setTopLine(target - row);
            moveToLine(target, x);
        }
    }
    afterCaretMove();
}

void CFarsiEdit::PageDown() {
    if (style & FES_MULTILINE) {
        ensureLayout();
        const int line = globalCaretLine();
        if (line < totalLines - 1) {
            const int x = caretX();
            int row = line - TopLine();
            if (row < 0 || row >= visibleLines)
                row = visibleLines / 2;
            const int target = std::min(totalLines - 1, line + std::max(visibleLines - 1, 1));
            setTopLine(target - row);
            moveToLine(target, x);
        }
    }
    afterCaretMove();
}

void CFarsiEdit::SelectAll() {
    SelectRange(0, 0, -1, -1);
}
