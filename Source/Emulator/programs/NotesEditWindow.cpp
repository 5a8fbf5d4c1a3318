// The Notes text view's window: typing and editing keys change the text, the layout follows
// the edited paragraphs, the caret and the scroll position follow the caret, and painting draws
// the visible lines through a memory bitmap so that the screen never shows a half-drawn page.
#include "programs/NotesEditWindow.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string_view>

#include "programs/NotesLayout.h"
#include "programs/NotesText.h"

namespace {

// Page margins and the caret's width, in pixels.
constexpr int kSideMargin = 2;
constexpr int kTopMargin = 1;
constexpr int kCaretWidth = 2;
// The text's font: 9 points.
constexpr int kFontPixelsAt96Dpi = 12;

struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct ObjectDeleter {
    void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, ObjectDeleter>;
using BitmapHandle = std::unique_ptr<std::remove_pointer_t<HBITMAP>, ObjectDeleter>;

// Selects an object into a DC for a scope and puts the previous one back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object)
        : m_dc(dc), m_previous(object ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (m_previous)
            SelectObject(m_dc, m_previous);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

FontHandle createTextFont() {
    int dpi = 96;
    if (HDC screen = GetDC(nullptr)) {
        dpi = std::max(GetDeviceCaps(screen, LOGPIXELSY), 96);
        ReleaseDC(nullptr, screen);
    }
    LOGFONTW f{};
    f.lfHeight = -(kFontPixelsAt96Dpi * dpi / 96);
    f.lfWeight = FW_NORMAL;
    constexpr std::u16string_view face = u"Tahoma";
    std::copy(face.begin(), face.end(), f.lfFaceName);
    return FontHandle(CreateFontIndirectW(&f));
}

enum class Reading { Forward, Backward };

class NotesEdit {
public:
    NotesEdit(HWND hwnd, MemoryDc measure, FontHandle font, int lineHeight, int width)
        : m_hwnd(hwnd),
          m_measure(std::move(measure)),
          m_font(std::move(font)),
          m_fontSelection(m_measure.get(), m_font.get()),
          m_layout(m_measure.get(), width, lineHeight) {}

    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    void typeChar(char16_t ch);
    void keyDown(UINT vk);
    void afterEdit(EditResult result, const TextChange& change);
    void step(Reading reading);
    void moveLines(int lines);
    void moveTo(TextPosition position);
    int visibleLines() const;
    void scrollToCaret();
    void placeCaret();
    void paint();
    void resize(int width, int height);
    void tap(int x, int y);
    LRESULT setText(const WCHAR* text);

    HWND m_hwnd;
    MemoryDc m_measure;
    FontHandle m_font;
    Selection m_fontSelection;
    NotesText m_text;
    NotesLayout m_layout;
    int m_height = 0;
    int m_topLine = 0;
    int m_goalX = -1;  // page x that up and down keep while they repeat; -1 when none
    bool m_afterCR = false;
    bool m_hasCaret = false;
};

void NotesEdit::afterEdit(EditResult result, const TextChange& change) {
    if (result == EditResult::Refused) {
        // The paragraph is full: nothing is lost, the user hears it.
        MessageBeep(MB_OK);
        return;
    }
    if (result == EditResult::Unchanged)
        return;
    m_layout.apply(m_text, change);
    m_goalX = -1;
    scrollToCaret();
    InvalidateRect(m_hwnd, nullptr, FALSE);
    placeCaret();
}

void NotesEdit::typeChar(char16_t ch) {
    const bool afterCR = m_afterCR;
    m_afterCR = false;
    TextChange change;
    switch (ch) {
        case 0x08:
            afterEdit(m_text.backspace(&change), change);
            return;
        case u'\r':
            m_afterCR = true;
            afterEdit(m_text.newParagraph(&change), change);
            return;
        case u'\n':
            // CR LF typed as two characters is one line break.
            if (!afterCR)
                afterEdit(m_text.newParagraph(&change), change);
            return;
        case u'\t':
            ch = u' ';
            break;
        default:
            break;
    }
    if (ch < 0x20 || ch == 0x7F)
        return;  // Escape and control characters type nothing
    afterEdit(m_text.insertChar(ch, &change), change);
}

void NotesEdit::moveTo(TextPosition position) {
    m_text.setCaret(position);
    scrollToCaret();
    placeCaret();
}

void NotesEdit::step(Reading reading) {
    TextPosition p = m_text.caret();
    // Never rests between two characters that one glyph shows.
    do {
        const TextPosition next =
            reading == Reading::Forward ? m_text.nextPosition(p) : m_text.previousPosition(p);
        if (next == p)
            break;
        p = next;
    } while (m_layout.insideGlyph(p));
    m_goalX = -1;
    moveTo(p);
}

void NotesEdit::moveLines(int lines) {
    const NotesLayout::Place place = m_layout.placeOf(m_text.caret());
    const int x = m_goalX >= 0 ? m_goalX : place.x;
    const int target = std::clamp(place.line + lines, 0, m_layout.lineCount() - 1);
    if (target == place.line)
        return;
    moveTo(m_layout.positionAt(target, x));
    m_goalX = x;
}

void NotesEdit::keyDown(UINT vk) {
    const bool rtl = m_layout.rightToLeft(m_text.caret().para);
    TextChange change;
    switch (vk) {
        case VK_LEFT:
            step(rtl ? Reading::Forward : Reading::Backward);
            break;
        case VK_RIGHT:
            step(rtl ? Reading::Backward : Reading::Forward);
            break;
        case VK_UP:
            moveLines(-1);
            break;
        case VK_DOWN:
            moveLines(1);
            break;
        case VK_PRIOR:
            moveLines(-visibleLines());
            break;
        case VK_NEXT:
            moveLines(visibleLines());
            break;
        case VK_HOME:
            m_goalX = -1;
            moveTo(m_layout.lineStart(m_text.caret()));
            break;
        case VK_END:
            m_goalX = -1;
            moveTo(m_layout.lineEnd(m_text.caret()));
            break;
        case VK_DELETE:
            afterEdit(m_text.deleteForward(&change), change);
            break;
        default:
            break;
    }
}

int NotesEdit::visibleLines() const {
    return std::max(1, (m_height - kTopMargin) / m_layout.lineHeight());
}

void NotesEdit::scrollToCaret() {
    const int line = m_layout.placeOf(m_text.caret()).line;
    const int visible = visibleLines();
    int top = m_topLine;
    if (line < top)
        top = line;
    else if (line >= top + visible)
        top = line - visible + 1;
    // A page that could show more of the text does not stand below its end.
    top = std::clamp(top, 0, std::max(0, m_layout.lineCount() - visible));
    if (top != m_topLine) {
        m_topLine = top;
        InvalidateRect(m_hwnd, nullptr, FALSE);
    }
}

void NotesEdit::placeCaret() {
    if (!m_hasCaret)
        return;
    RECT client{};
    GetClientRect(m_hwnd, &client);
    const NotesLayout::Place place = m_layout.placeOf(m_text.caret());
    // Centred on the boundary between two glyphs, and never outside the window.
    const int x = std::clamp(kSideMargin + place.x - kCaretWidth / 2, 0,
                             std::max(0, static_cast<int>(client.right) - kCaretWidth));
    const int y = kTopMargin + (place.line - m_topLine) * m_layout.lineHeight();
    SetCaretPos(x, y);
}

void NotesEdit::paint() {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(m_hwnd, &ps);
    if (!dc)
        return;
    RECT client{};
    GetClientRect(m_hwnd, &client);
    const int width = client.right;
    const int height = client.bottom;
    MemoryDc memory(CreateCompatibleDC(dc));
    BitmapHandle bitmap(
        width > 0 && height > 0 && memory ? CreateCompatibleBitmap(dc, width, height) : nullptr);
    // Without memory for a bitmap the page is drawn straight into the window.
    HDC target = bitmap ? memory.get() : dc;
    {
        Selection bitmapSelection(memory.get(), bitmap.get());
        Selection fontSelection(target, m_font.get());
        FillRect(target, &client, GetSysColorBrush(COLOR_WINDOW));
        SetTextColor(target, GetSysColor(COLOR_WINDOWTEXT));
        SetBkMode(target, TRANSPARENT);
        SetTextAlign(target, TA_LEFT | TA_TOP);
        const int lineHeight = m_layout.lineHeight();
        int y = kTopMargin;
        for (int line = m_topLine; line < m_layout.lineCount() && y < height; ++line) {
            m_layout.drawLine(target, line, kSideMargin, y, &client);
            y += lineHeight;
        }
        if (bitmap)
            BitBlt(dc, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
    }
    EndPaint(m_hwnd, &ps);
}

void NotesEdit::resize(int width, int height) {
    m_height = height;
    m_layout.setWidth(width - 2 * kSideMargin);
    m_topLine = std::clamp(m_topLine, 0, std::max(0, m_layout.lineCount() - visibleLines()));
    scrollToCaret();
    InvalidateRect(m_hwnd, nullptr, FALSE);
    placeCaret();
}

void NotesEdit::tap(int x, int y) {
    if (GetFocus() != m_hwnd)
        SetFocus(m_hwnd);
    const int row = y < kTopMargin ? 0 : (y - kTopMargin) / m_layout.lineHeight();
    m_goalX = -1;
    moveTo(m_layout.positionAt(m_topLine + row, x - kSideMargin));
}

LRESULT NotesEdit::setText(const WCHAR* text) {
    const std::u16string_view wanted = text ? std::u16string_view(text) : std::u16string_view();
    if (m_text.setText(wanted) == EditResult::Refused)
        return FALSE;
    m_layout.rebuild(m_text);
    m_topLine = 0;
    m_goalX = -1;
    m_afterCR = false;
    InvalidateRect(m_hwnd, nullptr, FALSE);
    placeCaret();
    return TRUE;
}

LRESULT NotesEdit::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CHAR:
            typeChar(static_cast<char16_t>(wParam));
            return 0;
        case WM_KEYDOWN:
            keyDown(static_cast<UINT>(wParam));
            return 0;
        case WM_KEYUP:
            return 0;
        case WM_SETTEXT:
            return setText(reinterpret_cast<const WCHAR*>(lParam));
        case WM_GETTEXT:
            return static_cast<LRESULT>(
                m_text.copyText(reinterpret_cast<WCHAR*>(lParam), static_cast<size_t>(wParam)));
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(m_text.textLength());
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_SETFOCUS:
            m_hasCaret = CreateCaret(m_hwnd, nullptr, kCaretWidth, m_layout.lineHeight()) != FALSE;
            placeCaret();
            if (m_hasCaret)
                ShowCaret(m_hwnd);
            return 0;
        case WM_KILLFOCUS:
            if (m_hasCaret)
                DestroyCaret();
            m_hasCaret = false;
            return 0;
        case WM_LBUTTONDOWN:
            tap(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return 0;
        case WM_SIZE:
            resize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_ERASEBKGND:
            return 1;  // painting covers the whole window
        case WM_PAINT:
            paint();
            return 0;
        default:
            return DefWindowProcW(m_hwnd, msg, wParam, lParam);
    }
}

NotesEdit* editOf(HWND hwnd) {
    return reinterpret_cast<NotesEdit*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK notesEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CREATE) {
        MemoryDc measure(CreateCompatibleDC(nullptr));
        if (!measure)
            return -1;
        FontHandle font = createTextFont();
        int lineHeight = kFontPixelsAt96Dpi + 3;
        {
            Selection selection(measure.get(), font.get());
            TEXTMETRICW metrics{};
            if (GetTextMetricsW(measure.get(), &metrics) && metrics.tmHeight > 0)
                lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
        }
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        const int width = (create ? create->cx : 0) - 2 * kSideMargin;
        auto* edit = new NotesEdit(hwnd, std::move(measure), std::move(font), lineHeight, width);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(edit));
        if (create)
            edit->handle(WM_SIZE, 0, MAKELPARAM(create->cx, create->cy));
        return 0;
    }
    if (msg == WM_NCDESTROY) {
        std::unique_ptr<NotesEdit> owned(editOf(hwnd));
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    NotesEdit* edit = editOf(hwnd);
    return edit ? edit->handle(msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

bool registerNotesEditClass(HINSTANCE instance) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = notesEditProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    wc.lpszClassName = kNotesEditClass;
    return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
