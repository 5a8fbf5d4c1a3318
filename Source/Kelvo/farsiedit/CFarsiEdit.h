// CFarsiEdit: the edit control for mixed Farsi and Latin text (window class "FarsiEditCtrl").
// The document is a list of CBidiPara paragraphs; the caret and the selection's anchor are
// positions on glyph edges, so the caret moves visually through mixed text. The control is
// driven by window messages alone (typed characters, keys through its accelerators, the
// stylus, the window text messages) and draws through an off-screen bitmap. Its work is split
// over the FarsiEdit*.cpp files by concern; FarsiEditStyles.h names its style bits and commands.
#pragma once

#include <afxwin.h>

#include <algorithm>
#include <memory>
#include <string>

#include "farsiedit/CBidiPara.h"
#include "farsiedit/CCeScrollBar.h"
#include "farsiedit/FarsiEditStyles.h"
#include "farsiedit/ParaList.h"

class CFarsiEdit : public WithMessageMap<CFarsiEdit, CWnd> {
public:
    CFarsiEdit();
    ~CFarsiEdit() override;

    // Creates the control's window as a child of `parent` (the object routes its messages).
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Style word (FES_* bits with the window styles), normalised when set.
    DWORD EditStyle() const { return style; }
    void SetStyle(DWORD newStyle);
    void ModifyStyle(DWORD add, DWORD remove);
    // Replaces the horizontal bits when `horizontal` has any, the vertical ones likewise.
    void SetAlignment(DWORD horizontal, DWORD vertical);
    void SetTextColor(COLORREF color);
    void SetBkColor(COLORREF color);
    void SetFont(int height, BOOL bold, BOOL italic, BOOL clearType);

    // The most characters of window text (a paragraph break counting as CR LF) that typing,
    // pasting and new paragraphs may leave; beyond it they are refused with a beep. 0, the
    // default, sets no limit but the paragraphs' own. The window text messages set any text.
    void SetLimitText(int characters) { textLimit = std::max(characters, 0); }
    int GetLimitText() const { return textLimit; }

    // Selects from before (firstPara, firstIndex) to after (lastPara, lastIndex); -1 names the
    // last paragraph or its last character. Nothing when the range is not valid.
    void SelectRange(int firstPara, int firstIndex, int lastPara, int lastIndex);
    // Replaces the selection with `text` (split into paragraphs at line breaks).
    void InsertText(const std::u16string& text);
    void DeleteSelection();
    // The selected text, paragraphs joined with CR LF.
    std::u16string SelectedText() const;

    // Commands and editing operations, in this order.
    virtual void CaretLeft();
    virtual void CaretRight();
    virtual void CaretUp();
    virtual void CaretDown();
    virtual void NewParagraph();
    virtual void TabCommand();
    virtual void EscapeCommand();
    virtual void DeleteForward();
    virtual void Backspace();
    virtual void Copy();
    virtual void Paste();
    virtual void Cut();
    virtual void SelectAll();
    virtual void EndOfLine();
    virtual void StartOfLine();
    virtual void PageUp();
    virtual void PageDown();

    BOOL PreTranslateMessage(MSG* msg) override;

    // Read-only views for tests and the program around the control.
    const ParaList& Paragraphs() const { return paras; }
    int CaretIndex() const { return caretIndex; }
    int CaretEdge() const { return caretEdge; }
    int CaretParagraph() const { return caretPara ? caretPara->paraIndex : -1; }
    int AnchorIndex() const { return anchorIndex; }
    int AnchorEdge() const { return anchorEdge; }
    int AnchorParagraph() const { return anchorPara ? anchorPara->paraIndex : -1; }
    // The caret's logical offset in its paragraph.
    int CaretOffset() const;
    CRect TextRect() const { return textRect; }
    CRect InnerRect() const { return innerRect; }
    int LineHeight() const { return lineHeight; }
    int TopLine() const;
    int TotalLines() const { return totalLines; }
    int HOffset() const { return hOffset; }
    CScrollBar* VerticalBar() const { return vScroll.get(); }
    CScrollBar* HorizontalBar() const { return hScroll.get(); }

protected:
    void PreSubclassWindow() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    // What changed since the last layout and paint (`dirty`).
    static constexpr DWORD kDirtyFont = 0x0001;
    static constexpr DWORD kDirtySize = 0x0002;
    static constexpr DWORD kDirtyStyle = 0x0004;
    static constexpr DWORD kDirtyNewText = 0x0008;
    static constexpr DWORD kDirtyEdited = 0x0010;
    static constexpr DWORD kDirtyAll = 0x001F;
    static constexpr DWORD kDirtyView = 0x10000;
    // What one horizontal step scrolls, in pixels.
    static constexpr int kHorizontalStep = 10;

    // A caret or anchor position: a paragraph, a character and the glyph edge (0 left, 1 right).
    struct Position {
        CBidiPara* para = nullptr;
        int index = 0;
        int edge = 0;
    };
    // Which position a logical offset becomes where two stand at it.
    enum class Side { Before, After };
    // The selection's ends in document order: paragraph indexes and logical offsets.
    struct Ends {
        int firstPara = 0;
        int firstOffset = 0;
        int lastPara = 0;
        int lastOffset = 0;
    };

    // Window side (FarsiEditWindow.cpp).
    int OnCreate(LPCREATESTRUCTW create);
    BOOL OnEraseBkgnd(HDC dc);
    void OnSetFocus(HWND oldFocus);
    void OnKillFocus(HWND newFocus);
    void OnSize(UINT type, int cx, int cy);
    static DWORD normaliseStyle(DWORD value);
    // The control's font: Tahoma of that height.
    static BOOL makeFont(CFont& into, int height, BOOL bold, BOOL italic, BOOL clearType);
    void applyFont();
    void repaintNow();

    // Positions (FarsiEditPositions.cpp).
    static bool isAfter(const CBidiPara* para, int index, int edge);
    static int offsetOf(const CBidiPara* para, int index, int edge);
    static Position beforeChar(CBidiPara* para, int index);
    static Position afterChar(CBidiPara* para, int index);
    static Position atOffset(CBidiPara* para, int offset, Side side);
    static void lineColOf(const CBidiPara* para, int index, int edge, int* line, int* col);
    static Position fromLineCol(CBidiPara* para, int line, int col);
    // The caret can stand at the offset: not between the halves of a surrogate pair, nor
    // between a letter and the marks over it.
    static bool isCaretStop(const CBidiPara* para, int offset);
    // The position at a column of a line, moved to the nearest column the caret can stop at.
    static Position stopNear(CBidiPara* para, int line, int col);
    Position caretPosition() const { return {caretPara, caretIndex, caretEdge}; }
    Position anchorPosition() const { return {anchorPara, anchorIndex, anchorEdge}; }
    void setCaret(const Position& p);
    void collapseTo(const Position& p);
    bool hasSelection() const;
    Ends orderedEnds() const;
    // The selected logical range [start, end) of one paragraph; empty as start == end.
    void selectionRange(const CBidiPara* para, int* start, int* end) const;
    // The paragraph and its line of a line of the document (clamped into the document).
    CBidiPara* paraOfLine(int globalLine, int* lineInPara) const;
    int globalCaretLine() const;

    // Text (FarsiEditText.cpp).
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
    // The window text's length: the paragraphs with CR LF between them.
    size_t textLength() const;
    std::unique_ptr<CBidiPara> newParagraph(const WCHAR* text, int length, int baseLevel) const;
    // Deletes a paragraph; the caret, the anchor and the edit mark on it go to a neighbour.
    void removeParagraph(int index);
    // Marks a paragraph changed: laid out again at once, wrapped at the next layout.
    void touch(CBidiPara* para);
    // After an edit: the caret at `offset` of `para`, the anchor with it, the view repainted.
    void finishEdit(CBidiPara* para, int offset, Side side);
    // Removes the selected text; false when joining what is left would pass the length cap.
    bool removeSelection(bool beepWhenRefused);
    // Room for `added` units of window text in place of the selection, within the text limit.
    bool fitsTextLimit(size_t added) const;
    static void refuse();

    // Typing (FarsiEditTyping.cpp).
    // Backspace at a paragraph's start or Delete at its end: the paragraph after `first` joins
    // it, the caret at the join; refused with a beep when the two would pass the length cap.
    void joinWithNext(CBidiPara* first);
    void OnChar(UINT ch, UINT repeat, UINT flags);
    void OnKeyUp(UINT vk, UINT repeat, UINT flags);
    void typeChar(WCHAR ch);
    bool editable() const { return (style & FES_READONLY) == 0; }

    // Caret moves (FarsiEditCaretMoves.cpp).
    enum class Towards { Left, Right };
    void afterCaretMove();
    bool stepOnLine(Towards towards);
    void moveVisually(Towards towards);
    void moveToLine(int globalLine, int x);
    void paragraphEnd(CBidiPara* para);
    void paragraphStart(CBidiPara* para);

    // Layout (FarsiEditLayout.cpp).
    void recomputeGeometry();
    void ensureLayout();
    enum class Scroll { Reset, Keep };
    void layoutSingleLine(Scroll scroll);
    void layoutFull();
    void layoutIncremental();
    int wrapWidth() const;
    void renumberLines(int fromPara);
    void updateBottom();
    void updateBars();
    void refreshCaretLineCol();

    // Painting, the system caret and the hit test (FarsiEditPaint.cpp).
    void OnPaint();
    // Where a line is drawn from: x and the text alignment (TA_LEFT or TA_RIGHT) it is drawn with.
    void originOf(const CBidiPara* para, int line, int* x, UINT* align) const;
    int lineWidth(const CBidiPara* para, int line) const;
    // Screen x of the left end of a line's glyphs.
    int lineLeft(const CBidiPara* para, int line) const;
    int shortTextOffset() const;
    int prefixWidth(const CBidiPara* para, int line, int columns) const;
    // The x of the caret's position, whether or not its line is in view.
    int caretX() const;
    bool caretPixel(POINT* at) const;
    // The position on a line nearest to x.
    Position nearestOnLine(CBidiPara* para, int line, int x) const;
    void placeCaret();
    void showCaretOnce();
    void hideCaretAll();
    // The document line shown at y (the one line of a single-line control).
    int lineAtY(int y) const;
    Position hitTest(POINT point) const;
    // The paragraph and character whose glyph is under the point; false when none.
    bool charAt(POINT point, CBidiPara** para, int* index) const;

    // Scrolling (FarsiEditScroll.cpp).
    LRESULT OnVScroll(WPARAM wParam, LPARAM lParam);
    LRESULT OnHScroll(WPARAM wParam, LPARAM lParam);
    bool scrollsHorizontally() const;
    void setTopLine(int globalLine);
    void setHOffset(int offset);
    // The caret's x as it would be with another horizontal offset.
    int caretXAt(int offset);
    void keepCaretInView();

    // Clipboard (FarsiEditClipboard.cpp) and the stylus and its menu (FarsiEditStylus.cpp).
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    bool runContextMenu(CPoint point);
    bool insideSelection(CPoint point) const;
    // One step of scrolling towards a stylus point outside the text.
    void scrollTowards(CPoint point);

    // The document and the caret.
    ParaList paras;
    int32_t caretIndex = 0;
    int32_t caretEdge = 0;
    CBidiPara* caretPara = nullptr;
    int32_t caretLine = 0;
    int32_t caretCol = 0;
    int32_t caretShown = 0;
    CBidiPara* anchorPara = nullptr;
    int32_t anchorIndex = 0;
    int32_t anchorEdge = 0;
    CBidiPara* editPara = nullptr;
    int32_t mouseMode = 0;

    // The display.
    bool hasCaret = false;
    std::unique_ptr<CCeScrollBar> vScroll;
    std::unique_ptr<CCeScrollBar> hScroll;
    CRect clientRect;
    CRect textRect;
    CRect innerRect;
    CRect margins{5, 2, 5, 2};
    COLORREF bkColor = RGB(255, 255, 255);
    COLORREF textColor = RGB(0, 0, 0);
    CBrush bkBrush;
    int32_t textWidth = 0;
    int32_t hOffset = 0;
    DWORD style;
    int32_t lineHeight = 1;
    int32_t totalLines = 1;
    int32_t visibleLines = 1;
    int32_t topPara = 0;
    int32_t bottomPara = 0;
    int32_t topLine = 0;
    int32_t bottomLine = 0;
    int32_t fontHeight = 14;
    int32_t textLimit = 0;
    CFont font;
    DWORD dirty;
    HACCEL accel = nullptr;
    // The memory DC keeps the objects it had before ours and gets them back as it goes.
    CDC memDC;
    CBitmap bitmap;

    // A keyboard's space (WM_CHAR with key flags) was typed: its key-up types no second one.
    bool spaceTypedByChar = false;
    // The last typed character was CR: a LF right after it ends no second paragraph.
    bool lastTypedCR = false;
    // An Enter key went down and made its paragraph through the accelerators: the CR that an
    // input panel sends with that key makes no second one.
    bool returnKeyTranslated = false;
    // The first half of a surrogate pair was refused: its second half types nothing either.
    bool refusedHighSurrogate = false;
    // The off-screen bitmap must be made again (size or style changed).
    bool bitmapStale = true;

public:
    static constexpr MessageMapEntry<CFarsiEdit> messageMap[] = {
        on<WM_CREATE, &CFarsiEdit::OnCreate>(),
        on<WM_PAINT, &CFarsiEdit::OnPaint>(),
        on<WM_ERASEBKGND, &CFarsiEdit::OnEraseBkgnd>(),
        on<WM_SETFOCUS, &CFarsiEdit::OnSetFocus>(),
        on<WM_KILLFOCUS, &CFarsiEdit::OnKillFocus>(),
        on<WM_SIZE, &CFarsiEdit::OnSize>(),
        onMessage<WM_HSCROLL, &CFarsiEdit::OnHScroll>(),
        onMessage<WM_VSCROLL, &CFarsiEdit::OnVScroll>(),
        onMessage<WM_SETTEXT, &CFarsiEdit::OnSetText>(),
        onMessage<WM_GETTEXT, &CFarsiEdit::OnGetText>(),
        onMessage<WM_GETTEXTLENGTH, &CFarsiEdit::OnGetTextLength>(),
        on<WM_CHAR, &CFarsiEdit::OnChar>(),
        on<WM_KEYUP, &CFarsiEdit::OnKeyUp>(),
        on<WM_LBUTTONDOWN, &CFarsiEdit::OnLButtonDown>(),
        on<WM_MOUSEMOVE, &CFarsiEdit::OnMouseMove>(),
        on<WM_LBUTTONUP, &CFarsiEdit::OnLButtonUp>(),
        on<WM_LBUTTONDBLCLK, &CFarsiEdit::OnLButtonDblClk>(),
    };
};
