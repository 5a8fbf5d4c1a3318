// Popup menus on the screen: TrackPopupMenuEx shows the menu in a topmost window of its own at
// the point and runs a modal loop. A tap (down and up) on an enabled item chooses it, a tap
// outside the menu cancels; Escape cancels and Return chooses the highlighted item. Other
// messages are dispatched as usual meanwhile, so timers and posted messages keep working.
#include <algorithm>

#include "user/Internal.h"
#include "user/MenuTable.h"
#include "user/UserState.h"
#include "wingdi.h"

namespace platform::user {
namespace {

constexpr LPCWSTR kMenuClass = u"#32768";
constexpr int kItemPadding = 3;
constexpr int kMarkWidth = 16;
constexpr int kSeparatorHeight = 7;
constexpr int kSubmenuDepthLimit = 8;

struct Row {
    MenuItem item;
    RECT rect{};
};

struct Tracker {
    std::vector<Row> rows;
    int highlight = -1;
    bool pressed = false;  // a stylus down reached the menu: the coming up may choose
    bool cancelled = false;
    bool done = false;
    UINT_PTR chosen = 0;
    HMENU openSubmenu = nullptr;
    POINT submenuAt{};
    int depth = 0;
};

bool selectable(const MenuItem& item) {
    return !(item.flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED));
}

int rowAt(const Tracker& t, POINT p) {
    for (size_t i = 0; i < t.rows.size(); ++i) {
        const RECT& r = t.rows[i].rect;
        if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom)
            return static_cast<int>(i);
    }
    return -1;
}

Tracker* trackerOf(HWND hwnd) {
    return reinterpret_cast<Tracker*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void fill(HDC dc, RECT r, int color) {
    FillRect(dc, &r, GetSysColorBrush(color));
}

void paintMenu(HWND hwnd, const Tracker& t) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (!dc)
        return;
    RECT client;
    GetClientRect(hwnd, &client);
    fill(dc, client, COLOR_MENU);
    fill(dc, RECT{0, 0, client.right, 1}, COLOR_WINDOWFRAME);
    fill(dc, RECT{0, client.bottom - 1, client.right, client.bottom}, COLOR_WINDOWFRAME);
    fill(dc, RECT{0, 0, 1, client.bottom}, COLOR_WINDOWFRAME);
    fill(dc, RECT{client.right - 1, 0, client.right, client.bottom}, COLOR_WINDOWFRAME);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    for (size_t i = 0; i < t.rows.size(); ++i) {
        const Row& row = t.rows[i];
        RECT r = row.rect;
        if (row.item.flags & MF_SEPARATOR) {
            int mid = (r.top + r.bottom) / 2;
            fill(dc, RECT{r.left + 2, mid, r.right - 2, mid + 1}, COLOR_BTNSHADOW);
            continue;
        }
        bool lit = static_cast<int>(i) == t.highlight && selectable(row.item);
        if (lit)
            fill(dc, r, COLOR_HIGHLIGHT);
        int textColor = !selectable(row.item) ? COLOR_GRAYTEXT
                        : lit                 ? COLOR_HIGHLIGHTTEXT
                                              : COLOR_MENUTEXT;
        SetTextColor(dc, GetSysColor(textColor));
        if (row.item.flags & MF_CHECKED) {
            RECT mark{r.left, r.top, r.left + kMarkWidth, r.bottom};
            DrawTextW(dc, u"\u2713", 1, &mark,
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
        RECT text{r.left + kMarkWidth, r.top, r.right - kMarkWidth, r.bottom};
        DrawTextW(dc, row.item.text.c_str(), static_cast<int>(row.item.text.size()), &text,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        if (row.item.flags & MF_POPUP) {
            RECT arrow{r.right - kMarkWidth, r.top, r.right, r.bottom};
            DrawTextW(dc, u"\u25B8", 1, &arrow,
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
    }
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK menuWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Tracker* t = trackerOf(hwnd);
    switch (msg) {
        case WM_PAINT:
            if (t) {
                paintMenu(hwnd, *t);
                return 0;
            }
            break;
        case WM_CAPTURECHANGED:
            // Losing the stylus to another window closes the menu, as on Windows.
            if (t && reinterpret_cast<HWND>(lParam) != hwnd && !t->done)
                t->cancelled = true;
            return 0;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool ensureMenuClass() {
    WNDCLASSW wc{};
    if (GetClassInfoW(nullptr, kMenuClass, &wc))
        return true;
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = menuWindowProc;
    wc.lpszClassName = kMenuClass;
    return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// Rows laid out from the menu's items: one line of text each, separators thin.
SIZE layoutRows(Tracker& t, HMENU menu) {
    {
        Lock lock = lockState();
        Menu* m = findMenu(menu);
        if (!m)
            return SIZE{0, 0};
        for (const MenuItem& item : m->items)
            t.rows.push_back(Row{item, {}});
    }
    HDC dc = GetDC(nullptr);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    LONG lineHeight = std::max<LONG>(tm.tmHeight + 2 * kItemPadding, 18);
    LONG widest = 40;
    for (const Row& row : t.rows) {
        SIZE ext{0, 0};
        if (!row.item.text.empty()) {
            GetTextExtentPoint32W(dc, row.item.text.c_str(), static_cast<int>(row.item.text.size()),
                                  &ext);
        }
        widest = std::max(widest, ext.cx);
    }
    ReleaseDC(nullptr, dc);
    LONG width = widest + 2 * kMarkWidth + 2;
    LONG y = 1;
    for (Row& row : t.rows) {
        LONG h = (row.item.flags & MF_SEPARATOR) ? kSeparatorHeight : lineHeight;
        row.rect = RECT{1, y, width - 1, y + h};
        y += h;
    }
    return SIZE{width, y + 1};
}

POINT placeMenu(SIZE size, int x, int y, UINT flags) {
    if (flags & TPM_RIGHTALIGN) {
        x -= size.cx;
    } else if (flags & TPM_CENTERALIGN) {
        x -= size.cx / 2;
    }
    if (flags & TPM_BOTTOMALIGN) {
        y -= size.cy;
    } else if (flags & TPM_VCENTERALIGN) {
        y -= size.cy / 2;
    }
    int sw = GetSystemMetrics(SM_CXSCREEN);
    int sh = GetSystemMetrics(SM_CYSCREEN);
    x = std::max(0, std::min<int>(x, sw - size.cx));
    y = std::max(0, std::min<int>(y, sh - size.cy));
    return POINT{x, y};
}

void setHighlight(HWND hwnd, Tracker& t, int row) {
    if (row == t.highlight)
        return;
    t.highlight = row;
    InvalidateRect(hwnd, nullptr, FALSE);
}

void moveHighlight(HWND hwnd, Tracker& t, int step) {
    int n = static_cast<int>(t.rows.size());
    int row = t.highlight;
    for (int i = 0; i < n; ++i) {
        row = (row + step + n) % n;
        if (selectable(t.rows[static_cast<size_t>(row)].item)) {
            setHighlight(hwnd, t, row);
            return;
        }
    }
}

UINT_PTR trackMenu(HMENU menu, UINT flags, int x, int y, HWND owner, int depth);

void choose(HWND hwnd, Tracker& t, int row, HWND owner, UINT flags) {
    if (row < 0 || !selectable(t.rows[static_cast<size_t>(row)].item))
        return;
    const Row& r = t.rows[static_cast<size_t>(row)];
    if (!(r.item.flags & MF_POPUP)) {
        t.chosen = r.item.id;
        t.done = true;
        return;
    }
    if (t.depth >= kSubmenuDepthLimit)
        return;
    RECT wr;
    GetWindowRect(hwnd, &wr);
    UINT_PTR id = trackMenu(r.item.submenu,
                            flags & ~static_cast<UINT>(TPM_RIGHTALIGN | TPM_CENTERALIGN |
                                                       TPM_BOTTOMALIGN | TPM_VCENTERALIGN),
                            wr.left + r.rect.right, wr.top + r.rect.top, owner, t.depth + 1);
    if (id) {
        t.chosen = id;
        t.done = true;
    }
}

// Handles a message of the menu loop; false when it is not the menu's to handle.
bool handleMenuMessage(HWND menuWnd, Tracker& t, const MSG& m, HWND owner, UINT flags) {
    if (m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST && m.hwnd == menuWnd) {
        POINT p{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
        RECT client;
        GetClientRect(menuWnd, &client);
        bool inside = PtInRect(&client, p);
        int row = inside ? rowAt(t, p) : -1;
        switch (m.message) {
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
                if (!inside) {
                    t.cancelled = true;
                    return true;
                }
                t.pressed = true;
                setHighlight(menuWnd, t, row);
                return true;
            case WM_MOUSEMOVE:
                if (t.pressed)
                    setHighlight(menuWnd, t, row);
                return true;
            case WM_LBUTTONUP:
                if (t.pressed && inside)
                    choose(menuWnd, t, row, owner, flags);
                t.pressed = false;
                return true;
            default:
                return true;
        }
    }
    if (m.message == WM_KEYDOWN) {
        switch (m.wParam) {
            case VK_ESCAPE:
                t.cancelled = true;
                break;
            case VK_UP:
                moveHighlight(menuWnd, t, -1);
                break;
            case VK_DOWN:
                moveHighlight(menuWnd, t, 1);
                break;
            case VK_RETURN:
                choose(menuWnd, t, t.highlight, owner, flags);
                break;
            default:
                break;
        }
        return true;
    }
    return m.message == WM_KEYUP || m.message == WM_CHAR;
}

UINT_PTR trackMenu(HMENU menu, UINT flags, int x, int y, HWND owner, int depth) {
    Tracker t;
    t.depth = depth;
    SIZE size = layoutRows(t, menu);
    if (t.rows.empty())
        return 0;
    POINT at = placeMenu(size, x, y, flags);
    HWND wnd =
        CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kMenuClass, u"",
                        WS_POPUP, at.x, at.y, size.cx, size.cy, owner, nullptr, nullptr, nullptr);
    if (!wnd)
        return 0;
    SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&t));
    ShowWindow(wnd, SW_SHOWNOACTIVATE);
    HWND previousCapture = GetCapture();
    SetCapture(wnd);
    MSG m{};
    while (!t.done && !t.cancelled) {
        if (!IsWindow(owner) || !IsWindow(wnd)) {
            t.cancelled = true;
            break;
        }
        BOOL got = GetMessageW(&m, nullptr, 0, 0);
        if (got == 0) {
            // The program is quitting: the quit message stays for its own loop.
            PostQuitMessage(static_cast<int>(m.wParam));
            t.cancelled = true;
            break;
        }
        if (got < 0)
            break;
        if (handleMenuMessage(wnd, t, m, owner, flags))
            continue;
        if (platform::preTranslateMessage(m))
            continue;
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
    if (GetCapture() == wnd) {
        ReleaseCapture();
        if (previousCapture && IsWindow(previousCapture) && depth > 0)
            SetCapture(previousCapture);
    }
    DestroyWindow(wnd);
    return t.done ? t.chosen : 0;
}

}  // namespace
}  // namespace platform::user

using namespace platform::user;

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params) {
    (void)params;  // the exclusion rectangle does not move the menu on this device
    if (!IsMenu(menu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    if (!IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!ensureMenuClass())
        return FALSE;
    bool notify = !(flags & TPM_NONOTIFY);
    if (notify) {
        SendMessageW(owner, WM_ENTERMENULOOP, TRUE, 0);
        SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    }
    UINT_PTR chosen = trackMenu(menu, flags, x, y, owner, 0);
    if (notify && IsWindow(owner))
        SendMessageW(owner, WM_EXITMENULOOP, TRUE, 0);
    if (flags & TPM_RETURNCMD)
        return static_cast<BOOL>(chosen);
    if (chosen && IsWindow(owner))
        PostMessageW(owner, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
    return TRUE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                    const RECT* rect) {
    (void)reserved;
    (void)rect;
    return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}
