// The tab control ("SysTabControl32"): a row of labelled tabs along the control's top edge, or
// its bottom edge with TCS_BOTTOM, above (or below) the display area of the pages. A stylus
// down on another tab, or the arrow keys, select it: the parent is asked first
// (TCN_SELCHANGING through WM_NOTIFY, true refuses) and told after (TCN_SELCHANGE). Tabs take
// the width of their text; when the row would be wider than the control they share its width.
#include <algorithm>
#include <string>
#include <vector>

#include "commctrl.h"
#include "user/ControlSupport.h"
#include "user/SystemClasses.h"

namespace platform::commctrl {

namespace {

using namespace platform::controls;

constexpr size_t kMaxTabText = 256;
constexpr size_t kMaxTabs = 256;

struct Tab {
    std::u16string text;
    LPARAM param = 0;
};

struct TabState {
    std::vector<Tab> tabs;
    int selection = -1;
    HFONT font = nullptr;
};

DWORD styleOf(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
}

int rowHeight(const TabState& s) {
    return lineHeight(s.font) + 8 * screenScale();
}

int textWidth(const TabState& s, const std::u16string& text) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, fontOr(s.font));
    SIZE extent{};
    GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return extent.cx;
}

// Every tab's rectangle in client coordinates.
std::vector<RECT> tabRects(HWND hwnd, const TabState& s) {
    const int scale = screenScale();
    RECT client{};
    GetClientRect(hwnd, &client);
    const int height = rowHeight(s);
    const bool bottom = (styleOf(hwnd) & TCS_BOTTOM) != 0;
    const int top = bottom ? client.bottom - height : 0;
    const int margin = 2 * scale;
    std::vector<int> widths;
    int total = 0;
    for (const Tab& tab : s.tabs) {
        widths.push_back(textWidth(s, tab.text) + 12 * scale);
        total += widths.back();
    }
    const int available = std::max(1, static_cast<int>(client.right) - 2 * margin);
    if (total > available && !widths.empty()) {
        const int share = available / static_cast<int>(widths.size());
        std::fill(widths.begin(), widths.end(), share);
    }
    std::vector<RECT> rects;
    int x = margin;
    for (int width : widths) {
        rects.push_back(RECT{x, top, x + width, top + height});
        x += width;
    }
    return rects;
}

LRESULT notify(HWND hwnd, UINT code) {
    HWND parent = GetParent(hwnd);
    if (parent == nullptr)
        return 0;
    NMHDR header{hwnd, static_cast<UINT_PTR>(GetDlgCtrlID(hwnd)), code};
    return SendMessageW(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

// The user chooses a tab: the parent may refuse, and is told once it changed.
void userSelect(HWND hwnd, TabState& s, int tab) {
    if (tab < 0 || tab >= static_cast<int>(s.tabs.size()) || tab == s.selection)
        return;
    if (notify(hwnd, TCN_SELCHANGING) != 0)
        return;
    s.selection = tab;
    InvalidateRect(hwnd, nullptr, FALSE);
    notify(hwnd, TCN_SELCHANGE);
}

int hitTest(HWND hwnd, const TabState& s, POINT p) {
    const std::vector<RECT> rects = tabRects(hwnd, s);
    for (size_t i = 0; i < rects.size(); ++i) {
        if (PtInRect(&rects[i], p))
            return static_cast<int>(i);
    }
    return -1;
}

void paint(HWND hwnd, const TabState& s) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (dc == nullptr)
        return;
    const int scale = screenScale();
    const bool bottom = (styleOf(hwnd) & TCS_BOTTOM) != 0;
    RECT client{};
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, parentBrush(hwnd, dc, WM_CTLCOLORSTATIC));
    const std::vector<RECT> rects = tabRects(hwnd, s);
    const int height = rowHeight(s);
    // The line between the pages and the row of tabs, open under the selected tab.
    const int edge = bottom ? client.bottom - height : height - scale;
    fillColor(dc, RECT{0, edge, client.right, edge + scale}, COLOR_WINDOWFRAME);
    HGDIOBJ oldFont = SelectObject(dc, fontOr(s.font));
    SetBkMode(dc, TRANSPARENT);
    for (size_t i = 0; i < rects.size(); ++i) {
        const bool selected = static_cast<int>(i) == s.selection;
        RECT tab = rects[i];
        fillColor(dc, tab, selected ? COLOR_BTNFACE : COLOR_BTNSHADOW);
        const int far = bottom ? tab.bottom - scale : tab.top;
        fillColor(dc, RECT{tab.left, far, tab.right, far + scale}, COLOR_WINDOWFRAME);
        fillColor(dc, RECT{tab.left, tab.top, tab.left + scale, tab.bottom}, COLOR_WINDOWFRAME);
        fillColor(dc, RECT{tab.right - scale, tab.top, tab.right, tab.bottom}, COLOR_WINDOWFRAME);
        if (!selected) {
            const int near = bottom ? tab.top : tab.bottom - scale;
            fillColor(dc, RECT{tab.left, near, tab.right, near + scale}, COLOR_WINDOWFRAME);
        }
        SetTextColor(dc, GetSysColor(selected ? COLOR_BTNTEXT : COLOR_BTNHIGHLIGHT));
        InflateRect(&tab, -3 * scale, 0);
        const std::u16string& text = s.tabs[i].text;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &tab,
                  DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

std::u16string itemText(const TCITEMW* item) {
    std::u16string text;
    for (size_t i = 0; item->pszText != nullptr && item->pszText[i] != 0 && i < kMaxTabText; ++i)
        text.push_back(item->pszText[i]);
    return text;
}

LRESULT insertTab(HWND hwnd, TabState& s, WPARAM wParam, const TCITEMW* item) {
    if (item == nullptr || s.tabs.size() >= kMaxTabs)
        return -1;
    const size_t at = std::min(static_cast<size_t>(wParam), s.tabs.size());
    Tab tab;
    if (item->mask & TCIF_TEXT)
        tab.text = itemText(item);
    if (item->mask & TCIF_PARAM)
        tab.param = item->lParam;
    s.tabs.insert(s.tabs.begin() + static_cast<ptrdiff_t>(at), std::move(tab));
    if (s.selection >= static_cast<int>(at))
        ++s.selection;
    if (s.selection < 0)
        s.selection = 0;  // the first tab added is selected, as on the device
    InvalidateRect(hwnd, nullptr, FALSE);
    return static_cast<LRESULT>(at);
}

LRESULT getTab(const TabState& s, WPARAM index, TCITEMW* item) {
    if (item == nullptr || index >= s.tabs.size())
        return FALSE;
    const Tab& tab = s.tabs[index];
    if ((item->mask & TCIF_TEXT) && item->pszText != nullptr && item->cchTextMax > 0) {
        const size_t n = std::min(tab.text.size(), static_cast<size_t>(item->cchTextMax) - 1);
        std::copy_n(tab.text.begin(), n, item->pszText);
        item->pszText[n] = 0;
    }
    if (item->mask & TCIF_PARAM)
        item->lParam = tab.param;
    return TRUE;
}

LRESULT setTab(HWND hwnd, TabState& s, WPARAM index, const TCITEMW* item) {
    if (item == nullptr || index >= s.tabs.size())
        return FALSE;
    if (item->mask & TCIF_TEXT)
        s.tabs[index].text = itemText(item);
    if (item->mask & TCIF_PARAM)
        s.tabs[index].param = item->lParam;
    InvalidateRect(hwnd, nullptr, FALSE);
    return TRUE;
}

// Between the whole control and the display area above (or below) the row of tabs.
void adjustRect(HWND hwnd, const TabState& s, bool larger, RECT* rect) {
    if (rect == nullptr)
        return;
    const int height = rowHeight(s);
    const bool bottom = (styleOf(hwnd) & TCS_BOTTOM) != 0;
    const int sign = larger ? 1 : -1;
    if (bottom) {
        rect->bottom += sign * height;
    } else {
        rect->top -= sign * height;
    }
}

}  // namespace

LRESULT CALLBACK tabControlWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    TabState* s = manageState<TabState>(hwnd, message);
    if (s == nullptr)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const int count = static_cast<int>(s->tabs.size());
    switch (message) {
        case WM_PAINT:
            paint(hwnd, *s);
            return 0;
        case WM_SIZE:
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            const int tab = hitTest(hwnd, *s, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            if (tab >= 0 && !(GetWindowLongW(hwnd, GWL_STYLE) & TCS_FOCUSNEVER))
                SetFocus(hwnd);
            userSelect(hwnd, *s, tab);
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_LEFT)
                userSelect(hwnd, *s, s->selection - 1);
            if (wParam == VK_RIGHT)
                userSelect(hwnd, *s, s->selection + 1);
            return 0;
        case TCM_GETITEMCOUNT:
            return count;
        case TCM_INSERTITEMW:
            return insertTab(hwnd, *s, wParam, reinterpret_cast<const TCITEMW*>(lParam));
        case TCM_GETITEMW:
            return getTab(*s, wParam, reinterpret_cast<TCITEMW*>(lParam));
        case TCM_SETITEMW:
            return setTab(hwnd, *s, wParam, reinterpret_cast<const TCITEMW*>(lParam));
        case TCM_DELETEITEM: {
            if (wParam >= s->tabs.size())
                return FALSE;
            const int index = static_cast<int>(wParam);
            s->tabs.erase(s->tabs.begin() + index);
            if (s->selection == index) {
                s->selection = -1;
            } else if (s->selection > index) {
                --s->selection;
            }
            InvalidateRect(hwnd, nullptr, FALSE);
            return TRUE;
        }
        case TCM_DELETEALLITEMS:
            s->tabs.clear();
            s->selection = -1;
            InvalidateRect(hwnd, nullptr, FALSE);
            return TRUE;
        case TCM_GETITEMRECT: {
            auto* out = reinterpret_cast<RECT*>(lParam);
            if (out == nullptr || wParam >= s->tabs.size())
                return FALSE;
            *out = tabRects(hwnd, *s)[wParam];
            return TRUE;
        }
        case TCM_GETCURSEL:
            return s->selection;
        case TCM_SETCURSEL: {
            const int previous = s->selection;
            if (wParam >= s->tabs.size())
                return -1;
            s->selection = static_cast<int>(wParam);
            InvalidateRect(hwnd, nullptr, FALSE);
            return previous;
        }
        case TCM_HITTEST: {
            auto* info = reinterpret_cast<TCHITTESTINFO*>(lParam);
            if (info == nullptr)
                return -1;
            const int tab = hitTest(hwnd, *s, info->pt);
            info->flags = tab >= 0 ? TCHT_ONITEM : TCHT_NOWHERE;
            return tab;
        }
        case TCM_ADJUSTRECT:
            adjustRect(hwnd, *s, wParam != 0, reinterpret_cast<RECT*>(lParam));
            return 0;
        default:
            return defaultControlProc(hwnd, s->font, message, wParam, lParam);
    }
}

}  // namespace platform::commctrl
