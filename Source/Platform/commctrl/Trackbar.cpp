// The trackbar ("msctls_trackbar32"): a thumb along a channel between the range's minimum (left,
// or top when vertical) and maximum. The stylus drags the thumb (the parent gets TB_THUMBTRACK
// as it moves, TB_THUMBPOSITION and TB_ENDTRACK when the pen lifts) or, tapped beside it, moves
// it by a page; the arrow, page and Home/End keys move it too. Notifications come as
// WM_HSCROLL (WM_VSCROLL when vertical) with the trackbar as lParam.
#include <algorithm>

#include "commctrl.h"
#include "user/ControlSupport.h"
#include "user/SystemClasses.h"

namespace platform::commctrl {

namespace {

using namespace platform::controls;

struct TrackbarState {
    int min = 0;
    int max = 100;
    int pos = 0;
    int page = 20;
    int line = 1;
    int ticFrequency = 1;
    bool dragging = false;
    int grab = 0;  // pen offset from the thumb's centre while dragging, along the channel
    bool paging = false;
};

// The layout, in "along" (the channel's direction) and "across" coordinates; a horizontal
// trackbar has along = x, a vertical one along = y.
struct Layout {
    bool vertical = false;
    int length = 0;        // client size along
    int breadth = 0;       // client size across
    int channelStart = 0;  // along: where the minimum lies (the thumb's centre there)
    int channelEnd = 0;    // along: where the maximum lies
    int thumbHalf = 0;     // half the thumb's extent along
    int thumbTop = 0;      // across
    int thumbBottom = 0;   // across
    int channelTop = 0;    // across
    int channelBottom = 0;
    int ticksBefore = 0;  // across: where the ticks on the top/left side start (0 for none)
    int ticksAfter = 0;   // across: where the ticks on the bottom/right side start
    int tickLength = 0;
};

DWORD styleOf(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
}

bool hasTicks(DWORD style) {
    return !(style & TBS_NOTICKS);
}

Layout layoutOf(HWND hwnd) {
    Layout l;
    const DWORD style = styleOf(hwnd);
    const int scale = screenScale();
    RECT client{};
    GetClientRect(hwnd, &client);
    l.vertical = (style & TBS_VERT) != 0;
    l.length = l.vertical ? client.bottom : client.right;
    l.breadth = l.vertical ? client.right : client.bottom;
    l.tickLength = 3 * scale;
    const int tickSpace = hasTicks(style) ? l.tickLength + 2 * scale : 0;
    const bool ticksBefore = hasTicks(style) && ((style & TBS_BOTH) || (style & TBS_TOP));
    const bool ticksAfter = hasTicks(style) && ((style & TBS_BOTH) || !(style & TBS_TOP));
    const int available = l.breadth - (ticksBefore ? tickSpace : 0) - (ticksAfter ? tickSpace : 0);
    const int thumbAcross = std::clamp(available - 2 * scale, 4 * scale, 21 * scale);
    const int top = (ticksBefore ? tickSpace : 0) + std::max(0, (available - thumbAcross) / 2);
    l.thumbTop = top;
    l.thumbBottom = top + thumbAcross;
    l.thumbHalf = 5 * scale;
    l.channelStart = l.thumbHalf + 2 * scale;
    l.channelEnd = std::max(l.channelStart + 1, l.length - l.thumbHalf - 2 * scale);
    const int middle = (l.thumbTop + l.thumbBottom) / 2;
    l.channelTop = middle - 2 * scale;
    l.channelBottom = middle + 2 * scale;
    l.ticksBefore = ticksBefore ? l.thumbTop - tickSpace + scale : 0;
    l.ticksAfter = ticksAfter ? l.thumbBottom + scale : 0;
    return l;
}

RECT toClient(const Layout& l, int alongStart, int acrossStart, int alongEnd, int acrossEnd) {
    return l.vertical ? RECT{acrossStart, alongStart, acrossEnd, alongEnd}
                      : RECT{alongStart, acrossStart, alongEnd, acrossEnd};
}

int alongOf(const Layout& l, POINT p) {
    return l.vertical ? p.y : p.x;
}

int centreOf(const Layout& l, const TrackbarState& s, int pos) {
    const int span = s.max - s.min;
    if (span <= 0)
        return l.channelStart;
    const int64_t offset = static_cast<int64_t>(pos - s.min) * (l.channelEnd - l.channelStart);
    return l.channelStart + static_cast<int>((offset + span / 2) / span);
}

int positionAt(const Layout& l, const TrackbarState& s, int along) {
    const int width = l.channelEnd - l.channelStart;
    const int clamped = std::clamp(along, l.channelStart, l.channelEnd) - l.channelStart;
    const int64_t span = s.max - s.min;
    return s.min + static_cast<int>((clamped * span + width / 2) / width);
}

RECT thumbRect(const Layout& l, const TrackbarState& s) {
    const int centre = centreOf(l, s, s.pos);
    return toClient(l, centre - l.thumbHalf, l.thumbTop, centre + l.thumbHalf + 1, l.thumbBottom);
}

RECT channelRect(const Layout& l) {
    return toClient(l, l.channelStart - l.thumbHalf, l.channelTop, l.channelEnd + l.thumbHalf + 1,
                    l.channelBottom);
}

void notifyParent(HWND hwnd, WORD code, int pos) {
    HWND parent = GetParent(hwnd);
    if (parent == nullptr)
        return;
    const UINT message = (styleOf(hwnd) & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
    SendMessageW(parent, message, MAKEWPARAM(code, static_cast<WORD>(pos)),
                 reinterpret_cast<LPARAM>(hwnd));
}

bool setPosition(HWND hwnd, TrackbarState& s, int pos) {
    pos = std::clamp(pos, s.min, std::max(s.min, s.max));
    if (pos == s.pos)
        return false;
    s.pos = pos;
    InvalidateRect(hwnd, nullptr, FALSE);
    return true;
}

void setRange(HWND hwnd, TrackbarState& s, int min, int max, bool redraw) {
    s.min = min;
    s.max = std::max(min, max);
    s.page = std::max(1, (s.max - s.min) / 5);
    s.pos = std::clamp(s.pos, s.min, s.max);
    if (redraw)
        InvalidateRect(hwnd, nullptr, FALSE);
}

void drawTicks(HDC dc, const Layout& l, const TrackbarState& s, DWORD style, int across) {
    auto tick = [&](int pos) {
        const int at = centreOf(l, s, pos);
        RECT mark = toClient(l, at, across, at + 1, across + l.tickLength);
        fillColor(dc, mark, COLOR_BTNTEXT);
    };
    tick(s.min);
    tick(s.max);
    if (!(style & TBS_AUTOTICKS) || s.ticFrequency <= 0)
        return;
    // Ticks closer than three pixels would merge into a bar: only the ends are drawn then.
    const int64_t count = (static_cast<int64_t>(s.max) - s.min) / s.ticFrequency;
    if (count <= 0 || (l.channelEnd - l.channelStart) / count < 3)
        return;
    for (int pos = s.min + s.ticFrequency; pos < s.max; pos += s.ticFrequency)
        tick(pos);
}

void paint(HWND hwnd, const TrackbarState& s) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (dc == nullptr)
        return;
    const int scale = screenScale();
    const DWORD style = styleOf(hwnd);
    const Layout l = layoutOf(hwnd);
    RECT client{};
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, parentBrush(hwnd, dc, WM_CTLCOLORSTATIC));

    const RECT channel = channelRect(l);
    fillColor(dc, channel, COLOR_WINDOW);
    frameColor(dc, channel, COLOR_BTNSHADOW, scale);
    if (l.ticksBefore > 0)
        drawTicks(dc, l, s, style, l.ticksBefore);
    if (l.ticksAfter > 0)
        drawTicks(dc, l, s, style, l.ticksAfter);

    if (style & TBS_NOTHUMB) {
        EndPaint(hwnd, &ps);
        return;
    }
    // The thumb: a block whose end toward the ticks is pointed.
    const int centre = centreOf(l, s, s.pos);
    const int half = l.thumbHalf;
    const bool pointAfter = hasTicks(style) && !(style & TBS_BOTH) && !(style & TBS_TOP);
    const bool pointBefore = hasTicks(style) && !(style & TBS_BOTH) && (style & TBS_TOP);
    const int tip = half;
    auto point = [&](int along, int across) {
        return l.vertical ? POINT{across, along} : POINT{along, across};
    };
    const POINT outline[] = {
        point(centre - half, l.thumbTop + (pointBefore ? tip : 0)),
        point(centre, l.thumbTop),
        point(centre + half, l.thumbTop + (pointBefore ? tip : 0)),
        point(centre + half, l.thumbBottom - (pointAfter ? tip : 0)),
        point(centre, l.thumbBottom),
        point(centre - half, l.thumbBottom - (pointAfter ? tip : 0)),
    };
    HPEN pen = CreatePen(PS_SOLID, scale, GetSysColor(COLOR_WINDOWFRAME));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    HGDIOBJ oldBrush = SelectObject(
        dc, GetSysColorBrush(!enabled ? COLOR_BTNSHADOW
                                      : (s.dragging ? COLOR_HIGHLIGHT : COLOR_BTNFACE)));
    Polygon(dc, outline, 6);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    EndPaint(hwnd, &ps);
}

void moveBy(HWND hwnd, TrackbarState& s, int delta, WORD code) {
    setPosition(hwnd, s, s.pos + delta);
    notifyParent(hwnd, code, s.pos);
}

void keyDown(HWND hwnd, TrackbarState& s, WPARAM key) {
    switch (key) {
        case VK_LEFT:
        case VK_UP:
            moveBy(hwnd, s, -s.line, TB_LINEUP);
            return;
        case VK_RIGHT:
        case VK_DOWN:
            moveBy(hwnd, s, s.line, TB_LINEDOWN);
            return;
        case VK_PRIOR:
            moveBy(hwnd, s, -s.page, TB_PAGEUP);
            return;
        case VK_NEXT:
            moveBy(hwnd, s, s.page, TB_PAGEDOWN);
            return;
        case VK_HOME:
            setPosition(hwnd, s, s.min);
            notifyParent(hwnd, TB_TOP, s.pos);
            return;
        case VK_END:
            setPosition(hwnd, s, s.max);
            notifyParent(hwnd, TB_BOTTOM, s.pos);
            return;
        default:
            return;
    }
}

void stylusDown(HWND hwnd, TrackbarState& s, POINT p) {
    SetFocus(hwnd);
    const Layout l = layoutOf(hwnd);
    const RECT thumb = thumbRect(l, s);
    const int along = alongOf(l, p);
    SetCapture(hwnd);
    if (PtInRect(&thumb, p) && !(styleOf(hwnd) & TBS_NOTHUMB)) {
        s.dragging = true;
        s.grab = along - centreOf(l, s, s.pos);
        InvalidateRect(hwnd, nullptr, FALSE);
        return;
    }
    s.paging = true;
    if (along < centreOf(l, s, s.pos)) {
        moveBy(hwnd, s, -s.page, TB_PAGEUP);
    } else {
        moveBy(hwnd, s, s.page, TB_PAGEDOWN);
    }
}

void stylusMove(HWND hwnd, TrackbarState& s, POINT p) {
    if (!s.dragging)
        return;
    const Layout l = layoutOf(hwnd);
    if (setPosition(hwnd, s, positionAt(l, s, alongOf(l, p) - s.grab)))
        notifyParent(hwnd, TB_THUMBTRACK, s.pos);
}

void endTracking(HWND hwnd, TrackbarState& s) {
    const bool dragged = s.dragging;
    const bool paged = s.paging;
    s.dragging = false;
    s.paging = false;
    if (dragged) {
        InvalidateRect(hwnd, nullptr, FALSE);
        notifyParent(hwnd, TB_THUMBPOSITION, s.pos);
    }
    if (dragged || paged)
        notifyParent(hwnd, TB_ENDTRACK, s.pos);
}

RECT* rectArgument(LPARAM lParam) {
    return reinterpret_cast<RECT*>(lParam);
}

}  // namespace

LRESULT CALLBACK trackbarWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    TrackbarState* s = manageState<TrackbarState>(hwnd, message);
    if (s == nullptr)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint(hwnd, *s);
            return 0;
        case WM_ENABLE:
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            stylusDown(hwnd, *s, p);
            return 0;
        case WM_MOUSEMOVE:
            stylusMove(hwnd, *s, p);
            return 0;
        case WM_LBUTTONUP:
            stylusMove(hwnd, *s, p);
            if (GetCapture() == hwnd) {
                // Releasing the capture ends the tracking (WM_CAPTURECHANGED).
                ReleaseCapture();
            } else {
                endTracking(hwnd, *s);
            }
            return 0;
        case WM_CAPTURECHANGED:
            endTracking(hwnd, *s);
            return 0;
        case WM_KEYDOWN:
            keyDown(hwnd, *s, wParam);
            return 0;
        case WM_KEYUP:
            if (wParam == VK_LEFT || wParam == VK_RIGHT || wParam == VK_UP || wParam == VK_DOWN ||
                wParam == VK_PRIOR || wParam == VK_NEXT || wParam == VK_HOME || wParam == VK_END)
                notifyParent(hwnd, TB_ENDTRACK, s->pos);
            return 0;
        case TBM_GETPOS:
            return s->pos;
        case TBM_SETPOS:
            s->pos = std::clamp(static_cast<int>(lParam), s->min, s->max);
            if (wParam)
                InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case TBM_SETRANGE:
            setRange(hwnd, *s, static_cast<SHORT>(LOWORD(lParam)),
                     static_cast<SHORT>(HIWORD(lParam)), wParam != 0);
            return 0;
        case TBM_SETRANGEMIN:
            setRange(hwnd, *s, static_cast<int>(lParam), s->max, wParam != 0);
            return 0;
        case TBM_SETRANGEMAX:
            setRange(hwnd, *s, s->min, static_cast<int>(lParam), wParam != 0);
            return 0;
        case TBM_GETRANGEMIN:
            return s->min;
        case TBM_GETRANGEMAX:
            return s->max;
        case TBM_SETPAGESIZE: {
            const int previous = s->page;
            s->page = static_cast<int>(lParam);
            return previous;
        }
        case TBM_GETPAGESIZE:
            return s->page;
        case TBM_SETLINESIZE: {
            const int previous = s->line;
            s->line = static_cast<int>(lParam);
            return previous;
        }
        case TBM_GETLINESIZE:
            return s->line;
        case TBM_SETTICFREQ:
            s->ticFrequency = static_cast<int>(wParam);
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case TBM_GETTHUMBRECT:
            if (RECT* out = rectArgument(lParam))
                *out = thumbRect(layoutOf(hwnd), *s);
            return 0;
        case TBM_GETCHANNELRECT:
            if (RECT* out = rectArgument(lParam))
                *out = channelRect(layoutOf(hwnd));
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace platform::commctrl
