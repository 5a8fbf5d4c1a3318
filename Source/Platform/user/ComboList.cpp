// The combo box's drop list ("ComboLBox"): a topmost popup below the field that holds the
// stylus while it is open. The pen highlights the row under it and lifting it on a row chooses
// that row; a tap outside the list closes it without a choice (a tap on the field too). When
// the items do not fit, a scroll strip along the right edge has arrows (one row), a track
// (one page) and a thumb that follows the pen; moving the pen past the top or bottom edge
// while choosing scrolls as well.
#include <algorithm>

#include "user/ComboBox.h"
#include "user/ControlSupport.h"
#include "user/SystemClasses.h"

namespace platform::user {

namespace {

using namespace platform::controls;

constexpr WCHAR kListClass[] = u"ComboLBox";

enum class Drag { None, Rows, Thumb };

struct ListState {
    HWND combo = nullptr;
    int top = 0;  // the first row shown
    int highlight = -1;
    Drag drag = Drag::None;
    bool fromField = false;  // the pen that opened the list from the field is still down
    int thumbGrab = 0;       // pen offset from the thumb's top while dragging it
};

struct Geometry {
    int rowHeight = 1;
    int rows = 1;   // rows that fit
    int count = 0;  // items
    int border = 1;
    RECT inner{};     // inside the border
    RECT rowsArea{};  // where rows are drawn
    RECT strip{};     // the scroll strip (empty when every row fits)
    RECT upArrow{}, downArrow{}, track{}, thumb{};
    bool scrolls() const { return count > rows; }
};

Geometry geometryOf(HWND list, const ListState& l) {
    Geometry g;
    const ComboState* s = comboState(l.combo);
    if (s == nullptr)
        return g;
    const int scale = screenScale();
    g.border = scale;
    g.rowHeight = std::max(1, comboItemHeight(*s));
    g.count = static_cast<int>(s->items.size());
    RECT client{};
    GetClientRect(list, &client);
    g.inner = client;
    InflateRect(&g.inner, -g.border, -g.border);
    g.rows = std::max(1, static_cast<int>(g.inner.bottom - g.inner.top) / g.rowHeight);
    g.rowsArea = g.inner;
    if (g.scrolls()) {
        const int width = GetSystemMetrics(SM_CXVSCROLL) * scale;
        g.strip = RECT{g.inner.right - width, g.inner.top, g.inner.right, g.inner.bottom};
        g.rowsArea.right = g.strip.left;
        const int arrow = std::min(width, static_cast<int>(g.strip.bottom - g.strip.top) / 3);
        g.upArrow = RECT{g.strip.left, g.strip.top, g.strip.right, g.strip.top + arrow};
        g.downArrow = RECT{g.strip.left, g.strip.bottom - arrow, g.strip.right, g.strip.bottom};
        g.track = RECT{g.strip.left, g.upArrow.bottom, g.strip.right, g.downArrow.top};
        const int trackHeight = g.track.bottom - g.track.top;
        const int thumbHeight = std::max(arrow / 2, trackHeight * g.rows / g.count);
        const int range = g.count - g.rows;
        const int thumbTop =
            g.track.top + (trackHeight - thumbHeight) * std::clamp(l.top, 0, range) / range;
        g.thumb = RECT{g.strip.left, thumbTop, g.strip.right, thumbTop + thumbHeight};
    }
    return g;
}

ListState* listState(HWND list) {
    return stateOf<ListState>(list);
}

void scrollTo(HWND list, ListState& l, const Geometry& g, int top) {
    top = std::clamp(top, 0, std::max(0, g.count - g.rows));
    if (top != l.top) {
        l.top = top;
        InvalidateRect(list, nullptr, FALSE);
    }
}

void highlightRow(HWND list, ListState& l, const Geometry& g, int item) {
    if (item < 0 || item >= g.count)
        return;
    if (item < l.top) {
        scrollTo(list, l, g, item);
    } else if (item >= l.top + g.rows) {
        scrollTo(list, l, g, item - g.rows + 1);
    }
    if (item != l.highlight) {
        l.highlight = item;
        InvalidateRect(list, nullptr, FALSE);
    }
}

// The item under a point of the rows area, or -1.
int itemAt(const ListState& l, const Geometry& g, POINT p) {
    if (!PtInRect(&g.rowsArea, p))
        return -1;
    const int item = l.top + (p.y - g.rowsArea.top) / g.rowHeight;
    return item < g.count ? item : -1;
}

bool onField(const ListState& l, HWND list, POINT p) {
    POINT screen = p;
    ClientToScreen(list, &screen);
    RECT field{};
    GetWindowRect(l.combo, &field);
    return PtInRect(&field, screen) != FALSE;
}

void drawArrow(HDC dc, const RECT& box, bool up) {
    fillColor(dc, box, COLOR_BTNFACE);
    frameColor(dc, box, COLOR_BTNSHADOW);
    const int midX = (box.left + box.right) / 2;
    const int midY = (box.top + box.bottom) / 2;
    const int arm = std::max(2, static_cast<int>(box.right - box.left) / 4);
    const int dy = up ? -arm / 2 : arm / 2;
    const POINT points[] = {{midX - arm, midY - dy}, {midX + arm, midY - dy}, {midX, midY + dy}};
    HGDIOBJ oldBrush = SelectObject(dc, GetSysColorBrush(COLOR_BTNTEXT));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    Polygon(dc, points, 3);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
}

void paint(HWND list, const ListState& l) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(list, &ps);
    if (dc == nullptr)
        return;
    const ComboState* s = comboState(l.combo);
    const Geometry g = geometryOf(list, l);
    RECT client{};
    GetClientRect(list, &client);
    fillColor(dc, client, COLOR_WINDOW);
    frameColor(dc, client, COLOR_WINDOWFRAME, g.border);
    if (s != nullptr) {
        HGDIOBJ oldFont = SelectObject(dc, fontOr(s->font));
        SetBkMode(dc, TRANSPARENT);
        for (int row = 0; row < g.rows && l.top + row < g.count; ++row) {
            const int item = l.top + row;
            RECT box{g.rowsArea.left, g.rowsArea.top + row * g.rowHeight, g.rowsArea.right,
                     g.rowsArea.top + (row + 1) * g.rowHeight};
            const bool lit = item == l.highlight;
            if (lit)
                fillColor(dc, box, COLOR_HIGHLIGHT);
            SetTextColor(dc, GetSysColor(lit ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
            InflateRect(&box, -2 * g.border, 0);
            const std::u16string& text = s->items[static_cast<size_t>(item)].text;
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
        SelectObject(dc, oldFont);
    }
    if (g.scrolls()) {
        fillColor(dc, g.track, COLOR_SCROLLBAR);
        drawArrow(dc, g.upArrow, true);
        drawArrow(dc, g.downArrow, false);
        fillColor(dc, g.thumb, COLOR_BTNFACE);
        frameColor(dc, g.thumb, COLOR_BTNSHADOW);
    }
    EndPaint(list, &ps);
}

void stylusDown(HWND list, ListState& l, POINT p) {
    const Geometry g = geometryOf(list, l);
    RECT client{};
    GetClientRect(list, &client);
    if (!PtInRect(&client, p)) {
        // Outside the list (the field included): the list closes and the tap goes nowhere.
        closeComboList(l.combo, -1);
        return;
    }
    if (g.scrolls() && PtInRect(&g.strip, p)) {
        if (PtInRect(&g.upArrow, p)) {
            scrollTo(list, l, g, l.top - 1);
        } else if (PtInRect(&g.downArrow, p)) {
            scrollTo(list, l, g, l.top + 1);
        } else if (PtInRect(&g.thumb, p)) {
            l.drag = Drag::Thumb;
            l.thumbGrab = p.y - g.thumb.top;
        } else {
            scrollTo(list, l, g, p.y < g.thumb.top ? l.top - g.rows : l.top + g.rows);
        }
        return;
    }
    l.drag = Drag::Rows;
    highlightRow(list, l, g, itemAt(l, g, p));
}

void stylusMove(HWND list, ListState& l, POINT p) {
    const Geometry g = geometryOf(list, l);
    if (l.drag == Drag::Thumb) {
        const int trackHeight = g.track.bottom - g.track.top;
        const int thumbHeight = g.thumb.bottom - g.thumb.top;
        const int travel = std::max(1, trackHeight - thumbHeight);
        const int offset = p.y - l.thumbGrab - g.track.top;
        scrollTo(list, l, g, (offset * (g.count - g.rows) + travel / 2) / travel);
        return;
    }
    if (l.drag != Drag::Rows && !l.fromField)
        return;
    if (p.y < g.rowsArea.top && l.drag == Drag::Rows) {
        highlightRow(list, l, g, std::max(0, l.top - 1));
    } else if (p.y >= g.rowsArea.bottom && l.drag == Drag::Rows) {
        highlightRow(list, l, g, std::min(g.count - 1, l.top + g.rows));
    } else {
        const int item = itemAt(l, g, p);
        if (item >= 0) {
            l.drag = Drag::Rows;
            highlightRow(list, l, g, item);
        }
    }
}

void stylusUp(HWND list, ListState& l, POINT p) {
    const Drag drag = l.drag;
    const bool fromField = l.fromField;
    l.drag = Drag::None;
    l.fromField = false;
    if (drag == Drag::Thumb)
        return;
    const Geometry g = geometryOf(list, l);
    const int item = itemAt(l, g, p);
    if (item >= 0 && (drag == Drag::Rows || fromField)) {
        closeComboList(l.combo, item);
    } else if (fromField && !onField(l, list, p) && drag == Drag::Rows) {
        closeComboList(l.combo, -1);
    }
}

}  // namespace

int comboListHighlight(HWND list) {
    const ListState* l = listState(list);
    return l ? l->highlight : -1;
}

void setComboListHighlight(HWND list, int item) {
    if (ListState* l = listState(list))
        highlightRow(list, *l, geometryOf(list, *l), item);
}

void openComboList(HWND combo, bool penDown) {
    ComboState* s = comboState(combo);
    if (s == nullptr || s->list != nullptr || !IsWindowEnabled(combo))
        return;
    notifyParent(combo, CBN_DROPDOWN);
    s = comboState(combo);
    if (s == nullptr || s->list != nullptr)
        return;
    const int scale = screenScale();
    const int rowHeight = comboItemHeight(*s);
    const int count = static_cast<int>(s->items.size());
    RECT field{};
    GetWindowRect(combo, &field);
    const int fieldHeight = field.bottom - field.top;
    // At least one row, at most as many as the control's height below the field allows.
    const int roomRows = std::max(1, (s->listHeight - fieldHeight - 2 * scale) / rowHeight);
    const int rows = std::clamp(count, 1, roomRows);
    const int height = rows * rowHeight + 2 * scale;
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    int top = field.bottom;
    if (top + height > screenHeight && field.top - height >= 0)
        top = field.top - height;
    HWND list =
        CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kListClass, u"",
                        WS_POPUP | WS_BORDER, field.left, top, field.right - field.left, height,
                        combo, nullptr, nullptr, reinterpret_cast<LPVOID>(combo));
    if (list == nullptr)
        return;
    s->list = list;
    ListState* l = listState(list);
    l->fromField = penDown;
    highlightRow(list, *l, geometryOf(list, *l), std::max(0, s->selection));
    if (s->selection < 0)
        l->highlight = -1;
    SetCapture(list);
    ShowWindow(list, SW_SHOWNOACTIVATE);
    InvalidateRect(combo, nullptr, FALSE);
}

void closeComboList(HWND combo, int chosen) {
    ComboState* s = comboState(combo);
    if (s == nullptr || s->list == nullptr || s->closing)
        return;
    s->closing = true;
    HWND list = s->list;
    if (GetCapture() == list)
        ReleaseCapture();
    DestroyWindow(list);
    s->list = nullptr;
    s->closing = false;
    InvalidateRect(combo, nullptr, FALSE);
    const bool changed =
        chosen >= 0 && chosen < static_cast<int>(s->items.size()) && chosen != s->selection;
    if (changed)
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
    notifyParent(combo, chosen >= 0 ? CBN_SELENDOK : CBN_SELENDCANCEL);
    notifyParent(combo, CBN_CLOSEUP);
    if (changed)
        notifyParent(combo, CBN_SELCHANGE);
}

LRESULT CALLBACK comboListWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ListState* l = manageState<ListState>(hwnd, message);
    if (l == nullptr)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
        case WM_NCCREATE:
            l->combo =
                static_cast<HWND>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
            return TRUE;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint(hwnd, *l);
            return 0;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            stylusDown(hwnd, *l, p);
            return 0;
        case WM_MOUSEMOVE:
            stylusMove(hwnd, *l, p);
            return 0;
        case WM_LBUTTONUP:
            stylusUp(hwnd, *l, p);
            return 0;
        case WM_CAPTURECHANGED:
            // Another window took the stylus: the list gives up.
            if (reinterpret_cast<HWND>(lParam) != hwnd)
                closeComboList(l->combo, -1);
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace platform::user
