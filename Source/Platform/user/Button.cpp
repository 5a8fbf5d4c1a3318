// The button control ("BUTTON"): push buttons (the default one framed more heavily), check
// boxes of two and three states, and group boxes. A stylus press shows the button pushed while
// the pen stays on it; lifting the pen on it clicks: an automatic check box changes its state
// and the parent gets BN_CLICKED. The space bar clicks the focused button too.
#include "user/ControlSupport.h"
#include "user/SystemClasses.h"

namespace platform::user {

namespace {

using namespace platform::controls;

struct ButtonState {
    HFONT font = nullptr;
    UINT check = BST_UNCHECKED;
    bool pushed = false;    // drawn pressed
    bool tracking = false;  // the stylus went down on it and holds it
    bool focused = false;
};

enum class Kind { Push, Check, Group };

DWORD styleOf(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
}

Kind kindOf(DWORD style) {
    switch (style & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
            return Kind::Check;
        case BS_GROUPBOX:
            return Kind::Group;
        default:
            return Kind::Push;
    }
}

bool isDefault(DWORD style) {
    return (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

bool contains(HWND hwnd, LPARAM lParam) {
    RECT client{};
    GetClientRect(hwnd, &client);
    const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return PtInRect(&client, p) != FALSE;
}

UINT textFormat(DWORD style) {
    UINT format = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER;
    switch (style & BS_CENTER) {
        case BS_RIGHT:
            return format | DT_RIGHT;
        case BS_CENTER:
            return format | DT_CENTER;
        default:
            return format;
    }
}

void drawText(HWND hwnd, HDC dc, const ButtonState& s, RECT rect, UINT format, int color) {
    const std::u16string text = windowText(hwnd);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(IsWindowEnabled(hwnd) ? color : COLOR_GRAYTEXT));
    HGDIOBJ old = SelectObject(dc, fontOr(s.font));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
    SelectObject(dc, old);
}

void paintPush(HWND hwnd, HDC dc, const ButtonState& s, const RECT& client, DWORD style) {
    const int scale = screenScale();
    const bool pushed = s.pushed;
    fillColor(dc, client, pushed ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
    const bool heavy = isDefault(style) || s.focused;
    frameColor(dc, client, COLOR_WINDOWFRAME, (heavy ? 2 : 1) * scale);
    RECT text = client;
    InflateRect(&text, -3 * scale, -2 * scale);
    UINT format = textFormat(style);
    if ((style & BS_CENTER) == 0)
        format |= DT_CENTER;  // push buttons centre their text unless told otherwise
    drawText(hwnd, dc, s, text, format, pushed ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
}

// The check box's square, `side` pixels, vertically centred in the client area.
RECT boxRect(const RECT& client, DWORD style, int side) {
    const int top = client.top + (client.bottom - client.top - side) / 2;
    const int left = (style & BS_LEFTTEXT) ? client.right - side : client.left;
    return RECT{left, top, left + side, top + side};
}

void paintCheck(HWND hwnd, HDC dc, const ButtonState& s, const RECT& client, DWORD style) {
    const int scale = screenScale();
    HBRUSH background = parentBrush(hwnd, dc, WM_CTLCOLORSTATIC);
    FillRect(dc, &client, background);
    const int side = 13 * scale;
    const RECT box = boxRect(client, style, side);
    fillColor(dc, box, s.pushed ? COLOR_BTNFACE : COLOR_WINDOW);
    frameColor(dc, box, COLOR_WINDOWFRAME, scale);
    if (s.check == BST_CHECKED) {
        HPEN pen = CreatePen(PS_SOLID, 2 * scale, GetSysColor(COLOR_WINDOWTEXT));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        const POINT mark[] = {{box.left + 3 * scale, box.top + 6 * scale},
                              {box.left + 5 * scale, box.top + 9 * scale},
                              {box.left + 10 * scale, box.top + 3 * scale}};
        Polyline(dc, mark, 3);
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    } else if (s.check == BST_INDETERMINATE) {
        RECT inner = box;
        InflateRect(&inner, -3 * scale, -3 * scale);
        fillColor(dc, inner, COLOR_BTNSHADOW);
    }
    RECT text = client;
    if (style & BS_LEFTTEXT) {
        text.right = box.left - 4 * scale;
    } else {
        text.left = box.right + 4 * scale;
    }
    drawText(hwnd, dc, s, text, textFormat(style), COLOR_BTNTEXT);
}

void paintGroup(HWND hwnd, HDC dc, const ButtonState& s, const RECT& client) {
    const int scale = screenScale();
    HBRUSH background = parentBrush(hwnd, dc, WM_CTLCOLORSTATIC);
    FillRect(dc, &client, background);
    const int half = lineHeight(s.font) / 2;
    RECT frame = client;
    frame.top += half;
    frameColor(dc, frame, COLOR_BTNSHADOW, scale);
    const std::u16string text = windowText(hwnd);
    if (text.empty())
        return;
    HGDIOBJ old = SelectObject(dc, fontOr(s.font));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    RECT label{client.left + 6 * scale, client.top, client.left + 10 * scale + extent.cx,
               client.top + 2 * half + 1};
    FillRect(dc, &label, background);
    InflateRect(&label, -2 * scale, 0);
    drawText(hwnd, dc, s, label, DT_SINGLELINE | DT_VCENTER, COLOR_BTNTEXT);
}

void paint(HWND hwnd, const ButtonState& s) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (dc == nullptr)
        return;
    RECT client{};
    GetClientRect(hwnd, &client);
    const DWORD style = styleOf(hwnd);
    switch (kindOf(style)) {
        case Kind::Push:
            paintPush(hwnd, dc, s, client, style);
            break;
        case Kind::Check:
            paintCheck(hwnd, dc, s, client, style);
            break;
        case Kind::Group:
            paintGroup(hwnd, dc, s, client);
            break;
    }
    EndPaint(hwnd, &ps);
}

void setPushed(HWND hwnd, ButtonState& s, bool pushed) {
    if (s.pushed == pushed)
        return;
    s.pushed = pushed;
    InvalidateRect(hwnd, nullptr, FALSE);
}

// What a completed press does: automatic check boxes change state, then the parent is told.
void click(HWND hwnd, ButtonState& s) {
    switch (styleOf(hwnd) & BS_TYPEMASK) {
        case BS_AUTOCHECKBOX:
            s.check = s.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
            InvalidateRect(hwnd, nullptr, FALSE);
            break;
        case BS_AUTO3STATE:
            s.check = (s.check + 1) % 3;
            InvalidateRect(hwnd, nullptr, FALSE);
            break;
        default:
            break;
    }
    notifyParent(hwnd, BN_CLICKED);
}

}  // namespace

LRESULT CALLBACK buttonWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ButtonState* s = manageState<ButtonState>(hwnd, message);
    if (s == nullptr)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const DWORD style = styleOf(hwnd);
    switch (message) {
        case WM_PAINT:
            paint(hwnd, *s);
            return 0;
        case WM_GETDLGCODE:
            if (kindOf(style) == Kind::Group)
                return DLGC_STATIC;
            if (kindOf(style) == Kind::Check)
                return DLGC_BUTTON;
            return DLGC_BUTTON | (isDefault(style) ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (kindOf(style) == Kind::Group)
                return 0;
            SetFocus(hwnd);
            SetCapture(hwnd);
            s->tracking = true;
            setPushed(hwnd, *s, true);
            return 0;
        case WM_MOUSEMOVE:
            if (s->tracking)
                setPushed(hwnd, *s, contains(hwnd, lParam));
            return 0;
        case WM_LBUTTONUP:
            if (s->tracking) {
                const bool inside = contains(hwnd, lParam);
                ReleaseCapture();
                s->tracking = false;
                setPushed(hwnd, *s, false);
                if (inside)
                    click(hwnd, *s);
            }
            return 0;
        case WM_CAPTURECHANGED:
            s->tracking = false;
            setPushed(hwnd, *s, false);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_SPACE && kindOf(style) != Kind::Group)
                setPushed(hwnd, *s, true);
            return 0;
        case WM_KEYUP:
            if (wParam == VK_SPACE && s->pushed) {
                setPushed(hwnd, *s, false);
                click(hwnd, *s);
            }
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            s->focused = message == WM_SETFOCUS;
            InvalidateRect(hwnd, nullptr, FALSE);
            if (style & BS_NOTIFY)
                notifyParent(hwnd, message == WM_SETFOCUS ? BN_SETFOCUS : BN_KILLFOCUS);
            return 0;
        case BM_GETCHECK:
            return s->check;
        case BM_SETCHECK: {
            const UINT wanted = static_cast<UINT>(wParam) > BST_INDETERMINATE
                                    ? BST_UNCHECKED
                                    : static_cast<UINT>(wParam);
            if (kindOf(style) == Kind::Check && wanted != s->check) {
                s->check = wanted;
                InvalidateRect(hwnd, nullptr, FALSE);
            }
            return 0;
        }
        case BM_GETSTATE:
            return s->check | (s->pushed ? BST_PUSHED : 0) | (s->focused ? BST_FOCUS : 0);
        case BM_SETSTATE:
            setPushed(hwnd, *s, wParam != 0);
            return 0;
        case BM_SETSTYLE:
            SetWindowLongW(hwnd, GWL_STYLE,
                           static_cast<LONG>((style & ~static_cast<DWORD>(0xFFFF)) |
                                             (static_cast<DWORD>(wParam) & 0xFFFF)));
            if (LOWORD(lParam))
                InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case BM_CLICK:
            if (kindOf(style) != Kind::Group)
                click(hwnd, *s);
            return 0;
        default:
            return defaultControlProc(hwnd, s->font, message, wParam, lParam);
    }
}

}  // namespace platform::user
