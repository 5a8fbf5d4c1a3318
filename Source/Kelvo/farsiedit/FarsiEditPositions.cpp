// CFarsiEdit's positions: a caret stands on an edge of a character's glyph (edge 0 left, 1
// right), which is before or after the character depending on its direction. Conversions
// between positions, logical offsets and (line, column) places, the selection between the
// anchor and the caret, and finding a document line among the paragraphs.
#include <algorithm>

#include "farsiedit/BidiTables.h"
#include "farsiedit/CFarsiEdit.h"

namespace {

bool odd(int level) {
    return level > 0 && (level & 1) != 0;
}

bool isHighSurrogate(WCHAR c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool isLowSurrogate(WCHAR c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

}  // namespace

bool CFarsiEdit::isAfter(const CBidiPara* para, int index, int edge) {
    if (para->length == 0)
        return false;
    index = std::clamp(index, 0, para->length - 1);
    return odd(para->LevelAt(index)) ? edge == 0 : edge == 1;
}

int CFarsiEdit::offsetOf(const CBidiPara* para, int index, int edge) {
    if (para->length == 0)
        return 0;
    index = std::clamp(index, 0, para->length - 1);
    return index + (isAfter(para, index, edge) ? 1 : 0);
}

CFarsiEdit::Position CFarsiEdit::beforeChar(CBidiPara* para, int index) {
    if (para->length == 0)
        return {para, 0, 0};
    index = std::clamp(index, 0, para->length - 1);
    return {para, index, odd(para->LevelAt(index)) ? 1 : 0};
}

CFarsiEdit::Position CFarsiEdit::afterChar(CBidiPara* para, int index) {
    if (para->length == 0)
        return {para, 0, 0};
    index = std::clamp(index, 0, para->length - 1);
    return {para, index, odd(para->LevelAt(index)) ? 0 : 1};
}

CFarsiEdit::Position CFarsiEdit::atOffset(CBidiPara* para, int offset, Side side) {
    const int length = para->length;
    if (length == 0)
        return {para, 0, 0};
    offset = std::clamp(offset, 0, length);
    // Never between the two halves of a surrogate pair.
    const WCHAR* t = para->text.get();
    if (offset > 0 && offset < length && isHighSurrogate(t[offset - 1]) &&
        isLowSurrogate(t[offset])) {
        offset += side == Side::Before ? -1 : 1;
    }
    if (side == Side::Before)
        return offset < length ? beforeChar(para, offset) : afterChar(para, length - 1);
    return offset > 0 ? afterChar(para, offset - 1) : beforeChar(para, 0);
}

void CFarsiEdit::lineColOf(const CBidiPara* para, int index, int edge, int* line, int* col) {
    *line = 0;
    *col = 0;
    if (para->lineCount <= 0 || para->glyphCount == 0 || para->length == 0)
        return;
    index = std::clamp(index, 0, para->length - 1);
    int glyph = para->logToVis[index];
    if (glyph == CBidiPara::NO_GLYPH) {
        // A character without a glyph stands where the next one with a glyph begins, or where
        // the last one before it ends.
        if (const int next = para->NextVisible(index); next >= 0) {
            index = next;
            edge = odd(para->LevelAt(next)) ? 1 : 0;
        } else if (const int previous = para->PrevVisible(index); previous >= 0) {
            index = previous;
            edge = odd(para->LevelAt(previous)) ? 0 : 1;
        } else {
            return;
        }
        glyph = para->logToVis[index];
    }
    int start = 0;
    for (int l = 0; l < para->lineCount; ++l) {
        const int count = para->lineLengths[l];
        if (glyph < start + count || l == para->lineCount - 1) {
            *line = l;
            *col = std::clamp(glyph - start + (edge != 0 ? 1 : 0), 0, count);
            return;
        }
        start += count;
    }
}

CFarsiEdit::Position CFarsiEdit::fromLineCol(CBidiPara* para, int line, int col) {
    if (para->length == 0 || para->lineCount <= 0 || para->glyphCount == 0)
        return beforeChar(para, 0);
    line = std::clamp(line, 0, para->lineCount - 1);
    const int start = para->LineStart(line);
    const int count = para->lineLengths[line];
    if (count == 0)
        return beforeChar(para, 0);
    col = std::clamp(col, 0, count);
    if (col == 0)
        return {para, para->visToLog[start], 0};
    if (col == count)
        return {para, para->visToLog[start + count - 1], 1};
    // Between two glyphs of different levels the caret takes the edge of the higher one, the
    // run embedded in the other: so each place of the line is one logical offset, and every
    // offset has a place.
    const int a = para->visToLog[start + col - 1];
    const int b = para->visToLog[start + col];
    const int levelA = para->LevelAt(a);
    const int levelB = para->LevelAt(b);
    if (levelA > levelB)
        return {para, a, 1};
    if (levelB > levelA)
        return {para, b, 0};
    return odd(levelB) ? Position{para, a, 1} : Position{para, b, 0};
}

bool CFarsiEdit::isCaretStop(const CBidiPara* para, int offset) {
    if (offset <= 0 || offset >= para->length)
        return true;
    const WCHAR* t = para->text.get();
    if (isHighSurrogate(t[offset - 1]) && isLowSurrogate(t[offset]))
        return false;
    return bidi::classOf(t[offset]) != bidi::NSM;
}

CFarsiEdit::Position CFarsiEdit::stopNear(CBidiPara* para, int line, int col) {
    const int count =
        para->lineCount > 0 ? para->lineLengths[std::clamp(line, 0, para->lineCount - 1)] : 0;
    for (int distance = 0; distance <= count; ++distance) {
        for (int candidate : {col - distance, col + distance}) {
            if (candidate < 0 || candidate > count)
                continue;
            const Position p = fromLineCol(para, line, candidate);
            if (isCaretStop(para, offsetOf(p.para, p.index, p.edge)))
                return p;
        }
    }
    return fromLineCol(para, line, col);
}

void CFarsiEdit::setCaret(const Position& p) {
    caretPara = p.para;
    caretIndex = p.index;
    caretEdge = p.edge;
    lineColOf(caretPara, caretIndex, caretEdge, &caretLine, &caretCol);
}

void CFarsiEdit::collapseTo(const Position& p) {
    setCaret(p);
    anchorPara = p.para;
    anchorIndex = p.index;
    anchorEdge = p.edge;
}

int CFarsiEdit::CaretOffset() const {
    return caretPara ? offsetOf(caretPara, caretIndex, caretEdge) : 0;
}

bool CFarsiEdit::hasSelection() const {
    if (!caretPara || !anchorPara)
        return false;
    return caretPara != anchorPara || offsetOf(caretPara, caretIndex, caretEdge) !=
                                          offsetOf(anchorPara, anchorIndex, anchorEdge);
}

CFarsiEdit::Ends CFarsiEdit::orderedEnds() const {
    Ends e;
    if (!caretPara || !anchorPara)
        return e;
    const int caretAt = offsetOf(caretPara, caretIndex, caretEdge);
    const int anchorAt = offsetOf(anchorPara, anchorIndex, anchorEdge);
    const bool caretFirst = caretPara->paraIndex < anchorPara->paraIndex ||
                            (caretPara == anchorPara && caretAt < anchorAt);
    if (caretFirst) {
        e = Ends{caretPara->paraIndex, caretAt, anchorPara->paraIndex, anchorAt};
    } else {
        e = Ends{anchorPara->paraIndex, anchorAt, caretPara->paraIndex, caretAt};
    }
    return e;
}

void CFarsiEdit::selectionRange(const CBidiPara* para, int* start, int* end) const {
    *start = *end = 0;
    if (!hasSelection())
        return;
    const Ends e = orderedEnds();
    const int index = para->paraIndex;
    if (index < e.firstPara || index > e.lastPara)
        return;
    *start = index == e.firstPara ? e.firstOffset : 0;
    *end = index == e.lastPara ? e.lastOffset : para->length;
}

CBidiPara* CFarsiEdit::paraOfLine(int globalLine, int* lineInPara) const {
    const int count = paras.count();
    globalLine = std::clamp(globalLine, 0, std::max(0, totalLines - 1));
    // The last paragraph whose first line is at or before the line.
    int low = 0;
    int high = count - 1;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (paras.at(middle)->firstLine <= globalLine)
            low = middle;
        else
            high = middle - 1;
    }
    CBidiPara* para = paras.at(low);
    *lineInPara =
        std::clamp(globalLine - std::max(0, para->firstLine), 0, std::max(0, para->lineCount - 1));
    return para;
}

int CFarsiEdit::globalCaretLine() const {
    return caretPara ? std::max(0, caretPara->firstLine) + caretLine : 0;
}

int CFarsiEdit::TopLine() const {
    const CBidiPara* para = paras.at(topPara);
    return para ? std::max(0, para->firstLine) + topLine : 0;
}
