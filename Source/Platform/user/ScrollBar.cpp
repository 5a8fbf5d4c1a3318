// The scroll-bar control: an arrow box at each end and the track between them, with a square
// thumb placed by the position within the range. The stylus on an arrow or on the track beside
// the thumb scrolls by a line or a page, repeating while it is held there; the thumb follows
// the stylus. Every step goes to the parent as WM_HSCROLL / WM_VSCROLL, and the parent moves
// the position (SetScrollPos). SetScrollRange, SetScrollPos, GetScrollPos and ShowScrollBar
// reach the control through its messages.
#include <algorithm>
#include <cstdint>

#include "user/ControlSupport.h"
#include "user/SystemClasses.h"
#include "winbase.h"
#include "wingdi.h"

namespace platform::user {
namespace {

constexpr UINT_PTR kRepeatTimer = 1;
// A held arrow or page area acts again after this delay, then at this period.
constexpr UINT kRepeatDelay = 400;
constexpr UINT kRepeatPeriod = 100;
// Windows' default range of a new scroll-bar control.
constexpr int kDefaultMax = 100;

enum class Part { None, LessArrow, LessPage, Thumb, MorePage, MoreArrow };

struct ScrollBarState {
    int minPos = 0;
    int maxPos = kDefaultMax;
    int pos = 0;
    Part pressed = Part::None;
    bool penOver = false;  // the stylus is over the pressed part
    int trackPos = 0;      // the position the dragged thumb stands for
    int grab = 0;          // from the thumb's start to the stylus, along the bar
    POINT pen{};
};

bool isVertical(HWND hwnd) {
    return (GetWindowLongW(hwnd, GWL_STYLE) & SBS_VERT) != 0;
}

bool hasRange(const ScrollBarState& bar) {
    return bar.maxPos > bar.minPos;
}

// The bar measured along its length.
struct Geometry {
    bool vertical = false;
    int thickness = 0;
    int length = 0;
    int arrow = 0;  // length of each arrow box
    int trackStart = 0;
    int trackEnd = 0;
    int thumbStart = 0;  // thumbStart == thumbEnd: no thumb
    int thumbEnd = 0;

    int travel() const { return (trackEnd - trackStart) - (thumbEnd - thumbStart); }
    // A span along the bar as a client rectangle.
    RECT span(int from, int to) const {
        return vertical ? RECT{0, from, thickness, to} : RECT{from, 0, to, thickness};
    }
    int along(POINT p) const { return vertical ? p.y : p.x; }
};

Geometry geometryOf(HWND hwnd, const ScrollBarState& bar, int pos) {
    RECT client{};
    GetClientRect(hwnd, &client);
    Geometry g;
    g.vertical = isVertical(hwnd);
    g.thickness = g.vertical ? client.right : client.bottom;
    g.length = g.vertical ? client.bottom : client.right;
    g.arrow = std::max(0, std::min(g.thickness, g.length / 2));
    g.trackStart = g.arrow;
    g.trackEnd = g.length - g.arrow;
    const int track = g.trackEnd - g.trackStart;
    const int thumb = std::min(g.thickness, track);
    g.thumbStart = g.thumbEnd = g.trackStart;
    if (hasRange(bar) && thumb > 0) {
        const int64_t range = static_cast<int64_t>(bar.maxPos) - bar.minPos;
        const int64_t offset = (static_cast<int64_t>(pos) - bar.minPos) * (track - thumb) / range;
        g.thumbStart = g.trackStart + static_cast<int>(offset);
        g.thumbEnd = g.thumbStart + thumb;
    }
    return g;
}

int shownPos(const ScrollBarState& bar) {
    return bar.pressed == Part::Thumb ? bar.trackPos : bar.pos;
}

Part partAt(HWND hwnd, const ScrollBarState& bar, POINT p) {
    const Geometry g = geometryOf(hwnd, bar, shownPos(bar));
    const int across = g.vertical ? p.x : p.y;
    const int along = g.along(p);
    if (across < 0 || across >= g.thickness || along < 0 || along >= g.length)
        return Part::None;
    if (along < g.arrow)
        return Part::LessArrow;
    if (along >= g.length - g.arrow)
        return Part::MoreArrow;
    if (g.thumbEnd > g.thumbStart && along >= g.thumbStart && along < g.thumbEnd)
        return Part::Thumb;
    return along < g.thumbStart ? Part::LessPage : Part::MorePage;
}

void reportScroll(HWND hwnd, int code, int pos) {
    HWND parent = GetParent(hwnd);
    if (!parent)
        return;
    const UINT msg = isVertical(hwnd) ? WM_VSCROLL : WM_HSCROLL;
    SendMessageW(parent, msg, MAKEWPARAM(code, static_cast<WORD>(pos)),
                 reinterpret_cast<LPARAM>(hwnd));
}

int codeOf(Part part) {
    switch (part) {
        case Part::LessArrow:
            return SB_LINEUP;
        case Part::MoreArrow:
            return SB_LINEDOWN;
        case Part::LessPage:
            return SB_PAGEUP;
        default:
            return SB_PAGEDOWN;
    }
}

void redraw(HWND hwnd) {
    InvalidateRect(hwnd, nullptr, FALSE);
}

using controls::fillColor;

// A solid triangle in the middle of the box, its point towards the end the arrow stands at.
void drawArrowGlyph(HDC dc, const RECT& box, bool vertical, bool towardsEnd, int color) {
    const int w = box.right - box.left;
    const int h = box.bottom - box.top;
    const int depth = std::max(1, std::min(w, h) / 4);
    const int cx = box.left + w / 2;
    const int cy = box.top + h / 2;
    for (int i = 0; i < depth; ++i) {
        // Row i from the point: 2i+1 pixels wide.
        const int from = towardsEnd ? depth / 2 - i : i - depth / 2;
        if (vertical) {
            const int y = cy + from;
            fillColor(dc, RECT{cx - i, y, cx + i + 1, y + 1}, color);
        } else {
            const int x = cx + from;
            fillColor(dc, RECT{x, cy - i, x + 1, cy + i + 1}, color);
        }
    }
}

void paint(HWND hwnd, const ScrollBarState& bar) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd, &ps);
    if (!dc)
        return;
    const Geometry g = geometryOf(hwnd, bar, shownPos(bar));
    const bool enabled = hasRange(bar);
    const int glyph = enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT;
    auto arrowBox = [&](Part part, const RECT& r, bool towardsEnd) {
        const bool down = bar.pressed == part && bar.penOver;
        fillColor(dc, r, down ? COLOR_BTNSHADOW : COLOR_BTNFACE);
        controls::frameColor(dc, r, COLOR_BTNSHADOW);
        drawArrowGlyph(dc, r, g.vertical, towardsEnd, glyph);
    };
    arrowBox(Part::LessArrow, g.span(0, g.arrow), false);
    arrowBox(Part::MoreArrow, g.span(g.length - g.arrow, g.length), true);
    const bool lessDown = bar.pressed == Part::LessPage && bar.penOver;
    const bool moreDown = bar.pressed == Part::MorePage && bar.penOver;
    fillColor(dc, g.span(g.trackStart, g.thumbStart), lessDown ? COLOR_BTNSHADOW : COLOR_SCROLLBAR);
    fillColor(dc, g.span(g.thumbEnd, g.trackEnd), moreDown ? COLOR_BTNSHADOW : COLOR_SCROLLBAR);
    if (g.thumbEnd > g.thumbStart) {
        const RECT thumb = g.span(g.thumbStart, g.thumbEnd);
        fillColor(dc, thumb, COLOR_BTNFACE);
        controls::frameColor(dc, thumb, COLOR_WINDOWFRAME);
    }
    EndPaint(hwnd, &ps);
}

void stopPressing(HWND hwnd, ScrollBarState& bar) {
    KillTimer(hwnd, kRepeatTimer);
    bar.pressed = Part::None;
    bar.penOver = false;
    redraw(hwnd);
}

void stylusDown(HWND hwnd, ScrollBarState& bar, POINT p) {
    if (!hasRange(bar) || bar.pressed != Part::None)
        return;
    const Part part = partAt(hwnd, bar, p);
    if (part == Part::None)
        return;
    SetCapture(hwnd);
    bar.pressed = part;
    bar.penOver = true;
    bar.pen = p;
    if (part == Part::Thumb) {
        const Geometry g = geometryOf(hwnd, bar, bar.pos);
        bar.trackPos = bar.pos;
        bar.grab = g.along(p) - g.thumbStart;
    } else {
        reportScroll(hwnd, codeOf(part), 0);
        SetTimer(hwnd, kRepeatTimer, kRepeatDelay, nullptr);
    }
    redraw(hwnd);
}

void stylusMove(HWND hwnd, ScrollBarState& bar, POINT p) {
    if (bar.pressed == Part::None)
        return;
    bar.pen = p;
    if (bar.pressed == Part::Thumb) {
        const Geometry g = geometryOf(hwnd, bar, bar.pos);
        const int travel = g.travel();
        if (travel <= 0)
            return;
        const int offset = std::clamp(g.along(p) - bar.grab - g.trackStart, 0, travel);
        const int64_t range = static_cast<int64_t>(bar.maxPos) - bar.minPos;
        const int pos = bar.minPos + static_cast<int>((offset * range + travel / 2) / travel);
        if (pos != bar.trackPos) {
            bar.trackPos = pos;
            reportScroll(hwnd, SB_THUMBTRACK, pos);
            redraw(hwnd);
        }
        return;
    }
    const bool over = partAt(hwnd, bar, p) == bar.pressed;
    if (over != bar.penOver) {
        bar.penOver = over;
        redraw(hwnd);
    }
}

void stylusUp(HWND hwnd, ScrollBarState& bar) {
    if (bar.pressed == Part::None)
        return;
    const bool thumb = bar.pressed == Part::Thumb;
    const int trackPos = bar.trackPos;
    stopPressing(hwnd, bar);
    if (GetCapture() == hwnd)
        ReleaseCapture();
    if (thumb)
        reportScroll(hwnd, SB_THUMBPOSITION, trackPos);
    reportScroll(hwnd, SB_ENDSCROLL, 0);
}

void repeat(HWND hwnd, ScrollBarState& bar) {
    if (bar.pressed == Part::None || bar.pressed == Part::Thumb) {
        KillTimer(hwnd, kRepeatTimer);
        return;
    }
    // The thumb may have moved under the stylus since the last step.
    bar.penOver = partAt(hwnd, bar, bar.pen) == bar.pressed;
    if (bar.penOver)
        reportScroll(hwnd, codeOf(bar.pressed), 0);
    SetTimer(hwnd, kRepeatTimer, kRepeatPeriod, nullptr);
    redraw(hwnd);
}

int setPos(HWND hwnd, ScrollBarState& bar, int pos, bool repaint) {
    const int previous = bar.pos;
    bar.pos = std::clamp(pos, bar.minPos, std::max(bar.minPos, bar.maxPos));
    if (repaint)
        redraw(hwnd);
    return previous;
}

int setRange(HWND hwnd, ScrollBarState& bar, int minPos, int maxPos, bool repaint) {
    bar.minPos = minPos;
    bar.maxPos = maxPos;
    return setPos(hwnd, bar, bar.pos, repaint);
}

}  // namespace

LRESULT CALLBACK scrollBarWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    ScrollBarState* bar = controls::manageState<ScrollBarState>(hwnd, msg);
    if (!bar || msg == WM_NCCREATE)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (msg) {
        case WM_PAINT:
            paint(hwnd, *bar);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // painting covers the whole bar
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            stylusDown(hwnd, *bar, p);
            return 0;
        case WM_MOUSEMOVE:
            stylusMove(hwnd, *bar, p);
            return 0;
        case WM_LBUTTONUP:
            stylusUp(hwnd, *bar);
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != hwnd && bar->pressed != Part::None)
                stopPressing(hwnd, *bar);
            return 0;
        case WM_TIMER:
            if (wParam == kRepeatTimer)
                repeat(hwnd, *bar);
            return 0;
        case WM_SIZE:
            redraw(hwnd);
            return 0;
        case SBM_SETPOS:
            return setPos(hwnd, *bar, static_cast<int>(wParam), lParam != 0);
        case SBM_GETPOS:
            return bar->pos;
        case SBM_SETRANGE:
        case SBM_SETRANGEREDRAW:
            return setRange(hwnd, *bar, static_cast<int>(wParam), static_cast<int>(lParam),
                            msg == SBM_SETRANGEREDRAW);
        case SBM_GETRANGE:
            if (wParam)
                *reinterpret_cast<LPINT>(wParam) = bar->minPos;
            if (lParam)
                *reinterpret_cast<LPINT>(lParam) = bar->maxPos;
            return 0;
        default:
            return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

}  // namespace platform::user

namespace {

// Only scroll-bar controls have bars on this device: windows have no non-client area.
bool controlBar(HWND hwnd, int bar) {
    if (bar != SB_CTL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    return true;
}

}  // namespace

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
    if (!controlBar(hwnd, bar))
        return FALSE;
    if (static_cast<int64_t>(maxPos) - minPos > INT32_MAX) {
        SetLastError(ERROR_INVALID_SCROLLBAR_RANGE);
        return FALSE;
    }
    SendMessageW(hwnd, redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, static_cast<WPARAM>(minPos),
                 maxPos);
    return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos) {
    if (!controlBar(hwnd, bar) || !minPos || !maxPos)
        return FALSE;
    SendMessageW(hwnd, SBM_GETRANGE, reinterpret_cast<WPARAM>(minPos),
                 reinterpret_cast<LPARAM>(maxPos));
    return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
    if (!controlBar(hwnd, bar))
        return 0;
    return static_cast<int>(
        SendMessageW(hwnd, SBM_SETPOS, static_cast<WPARAM>(pos), redraw ? TRUE : FALSE));
}

int GetScrollPos(HWND hwnd, int bar) {
    if (!controlBar(hwnd, bar))
        return 0;
    return static_cast<int>(SendMessageW(hwnd, SBM_GETPOS, 0, 0));
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
    if (!controlBar(hwnd, bar))
        return FALSE;
    ShowWindow(hwnd, show ? SW_SHOWNOACTIVATE : SW_HIDE);
    return TRUE;
}
