// CFarsiEdit's window side: registering "FarsiEditCtrl", attaching to a window, the style word
// and its normalisation, colours and font, focus and size, the key pre-translation through the
// control's accelerators, and the commands they run.
#include <algorithm>
#include <iterator>

#include "farsiedit/CFarsiEdit.h"

namespace {

constexpr UINT kClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
constexpr DWORD kDefaultStyle = WS_VISIBLE | FES_TOP | FES_RIGHT;

constexpr BYTE kKey = FVIRTKEY | FNOINVERT;
const ACCEL kAccelerators[] = {
    {kKey, VK_LEFT, ID_FE_LEFT},
    {kKey, VK_RIGHT, ID_FE_RIGHT},
    {kKey, VK_UP, ID_FE_UP},
    {kKey, VK_DOWN, ID_FE_DOWN},
    {kKey, VK_END, ID_FE_END},
    {kKey, VK_HOME, ID_FE_HOME},
    {kKey, VK_PRIOR, ID_FE_PAGEUP},
    {kKey, VK_NEXT, ID_FE_PAGEDOWN},
    {kKey, VK_RETURN, ID_FE_NEWPARA},
    {kKey, VK_TAB, ID_FE_TAB},
    {kKey, VK_CANCEL, ID_FE_ESCAPE},
    {kKey, VK_ESCAPE, ID_FE_ESCAPE},
    {kKey, VK_DELETE, ID_FE_DELETE},
    {kKey | FCONTROL, 'C', ID_FE_COPY},
    {kKey | FCONTROL, 'V', ID_FE_PASTE},
    {kKey | FCONTROL, 'X', ID_FE_CUT},
};

void registerWindowClass() {
    HINSTANCE instance = AfxGetInstanceHandle();
    WNDCLASSW wc{};
    if (GetClassInfoW(instance, kFarsiEditClass, &wc))
        return;
    wc.style = kClassStyle;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kFarsiEditClass;
    // A class that cannot be registered leaves Create failing; there is nothing else to undo.
    RegisterClassW(&wc);
}

}  // namespace

CFarsiEdit::CFarsiEdit() : style(kDefaultStyle), dirty(kDirtyAll) {
    bkBrush.CreateSolidBrush(bkColor);
    registerWindowClass();
}

CFarsiEdit::~CFarsiEdit() {
    vScroll.reset();
    hScroll.reset();
    // Font, brush and bitmap go before the DC they are selected into.
    memDC.RestoreSelections();
    if (accel)
        DestroyAcceleratorTable(accel);
}

BOOL CFarsiEdit::Create(DWORD windowStyle, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(kFarsiEditClass, u"", windowStyle, rect, parent, id);
}

void CFarsiEdit::PreSubclassWindow() {
    {
        CClientDC windowDC(this);
        memDC.CreateCompatibleDC(&windowDC);
    }
    CBidiPara* first = paras.insert(0, newParagraph(nullptr, 0, 0));
    collapseTo(Position{first, 0, 0});
    accel = CreateAcceleratorTableW(const_cast<LPACCEL>(kAccelerators),
                                    static_cast<int>(std::size(kAccelerators)));
    DWORD windowStyle = GetStyle();
    if ((windowStyle & (FES_ALIGNMASK | FES_VALIGNMASK)) == 0)
        windowStyle |= FES_TOP | FES_RIGHT;
    style = normaliseStyle(windowStyle);
    // The scroll bars are child windows: the one BitBlt of a paint must not cover them.
    SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(GetStyle() | WS_CLIPCHILDREN));
    memDC.SetTextColor(textColor);
    memDC.SetBkColor(bkColor);
    memDC.SelectObject(bkBrush.GetSafeHandle());
    applyFont();
    recomputeGeometry();
    dirty = kDirtyAll;
    Invalidate(FALSE);
}

int CFarsiEdit::OnCreate(LPCREATESTRUCTW) {
    return Default() == -1 ? -1 : 0;
}

BOOL CFarsiEdit::OnEraseBkgnd(HDC) {
    return TRUE;  // painting covers everything
}

DWORD CFarsiEdit::normaliseStyle(DWORD value) {
    if ((value & FES_ALIGNMASK) == 0)
        value |= FES_RIGHT;
    if (value & FES_HSCROLL) {
        value |= FES_VSCROLL | FES_MULTILINE;
        if ((value & FES_ALIGNMASK) == FES_CENTER)
            value |= FES_RIGHT;
    }
    if (value & FES_VSCROLL)
        value |= FES_MULTILINE;
    if ((value & (FES_TOP | FES_VCENTER)) == 0)
        value |= (value & FES_MULTILINE) ? FES_TOP : FES_VCENTER;
    if ((value & FES_ALIGNMASK) == FES_CENTER)
        value &= ~FES_BYDIRECTION;
    if (value & FES_MULTILINE)
        value &= ~FES_DIGITSONLY;
    return value;
}

void CFarsiEdit::SetStyle(DWORD newStyle) {
    const DWORD previous = style;
    style = normaliseStyle(newStyle);
    collapseTo(Position{caretPara, 0, 0});
    if ((previous ^ style) & FES_HSCROLL)
        hOffset = 0;
    recomputeGeometry();
    dirty |= kDirtyView | kDirtyStyle;
    repaintNow();
}

void CFarsiEdit::ModifyStyle(DWORD add, DWORD remove) {
    SetStyle((style | add) & ~remove);
}

void CFarsiEdit::SetAlignment(DWORD horizontal, DWORD vertical) {
    DWORD next = style;
    if (horizontal & FES_ALIGNMASK)
        next = (next & ~FES_ALIGNMASK) | (horizontal & FES_ALIGNMASK);
    if (vertical & FES_VALIGNMASK)
        next = (next & ~FES_VALIGNMASK) | (vertical & FES_VALIGNMASK);
    SetStyle(next);
}

void CFarsiEdit::SetTextColor(COLORREF color) {
    textColor = color;
    if (memDC.GetSafeHdc())
        memDC.SetTextColor(color);
    dirty |= kDirtyView;
    repaintNow();
}

void CFarsiEdit::SetBkColor(COLORREF color) {
    bkColor = color;
    CBrush brush(color);
    if (memDC.GetSafeHdc()) {
        memDC.SetBkColor(color);
        memDC.SelectObject(brush.GetSafeHandle());
    }
    bkBrush.DeleteObject();
    bkBrush.Attach(brush.Detach());
    dirty |= kDirtyView;
    repaintNow();
}

BOOL CFarsiEdit::makeFont(CFont& into, int height, BOOL bold, BOOL italic, BOOL clearType) {
    LOGFONTW f{};
    f.lfHeight = height;
    f.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    f.lfItalic = italic ? 1 : 0;
    f.lfQuality = clearType ? CLEARTYPE_QUALITY : DEFAULT_QUALITY;
    const std::u16string_view face = u"Tahoma";
    std::copy(face.begin(), face.end(), f.lfFaceName);
    return into.CreateFontIndirect(&f);
}

void CFarsiEdit::SetFont(int height, BOOL bold, BOOL italic, BOOL clearType) {
    CFont next;
    if (!makeFont(next, height, bold, italic, clearType))
        return;
    fontHeight = height;
    if (memDC.GetSafeHdc())
        memDC.SelectObject(next.GetSafeHandle());
    font.DeleteObject();
    font.Attach(next.Detach());
    if (m_hWnd) {
        recomputeGeometry();
        dirty |= kDirtyFont;
        Invalidate(FALSE);
    }
}

void CFarsiEdit::applyFont() {
    CFont next;
    if (!makeFont(next, fontHeight, FALSE, FALSE, FALSE))
        return;
    memDC.SelectObject(next.GetSafeHandle());
    font.DeleteObject();
    font.Attach(next.Detach());
}

void CFarsiEdit::repaintNow() {
    if (!m_hWnd)
        return;
    Invalidate(FALSE);
    UpdateWindow();
    placeCaret();
}

void CFarsiEdit::OnSetFocus(HWND) {
    hasCaret = CreateCaret(m_hWnd, nullptr, 2, lineHeight) != FALSE;
    caretShown = 0;
    if (!(style & FES_MULTILINE))
        SelectAll();
    placeCaret();
}

void CFarsiEdit::OnKillFocus(HWND) {
    if (hasCaret) {
        hideCaretAll();
        DestroyCaret();
    }
    hasCaret = false;
}

void CFarsiEdit::OnSize(UINT, int, int) {
    recomputeGeometry();
    dirty |= kDirtySize;
    Invalidate(FALSE);
}

BOOL CFarsiEdit::PreTranslateMessage(MSG* msg) {
    if (msg->hwnd != m_hWnd || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST)
        return FALSE;
    // Enter and Tab stay with the dialog unless the control keeps them.
    if ((msg->wParam == VK_RETURN && !(style & FES_WANTRETURN)) ||
        (msg->wParam == VK_TAB && !(style & FES_WANTTAB))) {
        return CWnd::PreTranslateMessage(msg);
    }
    if (!accel || !TranslateAcceleratorW(m_hWnd, accel, msg))
        return FALSE;
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
        returnKeyTranslated = true;
    return TRUE;
}

BOOL CFarsiEdit::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
        case ID_FE_LEFT:
            CaretLeft();
            return TRUE;
        case ID_FE_RIGHT:
            CaretRight();
            return TRUE;
        case ID_FE_UP:
            CaretUp();
            return TRUE;
        case ID_FE_DOWN:
            CaretDown();
            return TRUE;
        case ID_FE_END:
            EndOfLine();
            return TRUE;
        case ID_FE_HOME:
            StartOfLine();
            return TRUE;
        case ID_FE_PAGEUP:
            PageUp();
            return TRUE;
        case ID_FE_PAGEDOWN:
            PageDown();
            return TRUE;
        case ID_FE_NEWPARA:
            NewParagraph();
            return TRUE;
        case ID_FE_TAB:
            TabCommand();
            return TRUE;
        case ID_FE_ESCAPE:
            EscapeCommand();
            return TRUE;
        case ID_FE_DELETE:
            DeleteForward();
            return TRUE;
        case ID_FE_COPY:
            Copy();
            return TRUE;
        case ID_FE_PASTE:
            Paste();
            return TRUE;
        case ID_FE_CUT:
            Cut();
            return TRUE;
        case ID_FE_SELECTALL:
            SelectAll();
            return TRUE;
        default:
            return CWnd::OnCommand(wParam, lParam);
    }
}

void CFarsiEdit::TabCommand() {}

void CFarsiEdit::EscapeCommand() {}
