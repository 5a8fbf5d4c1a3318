// The static control ("STATIC"): a text (wrapped at words unless SS_LEFTNOWORDWRAP), an icon
// (SS_ICON) or a bitmap (SS_BITMAP), on the background the parent chooses with
// WM_CTLCOLORSTATIC. A picture named by the window text ("#2005" or a name) is loaded from the
// creating module and belongs to the control; a picture given with STM_SETIMAGE or STM_SETICON
// stays the caller's. The control sizes itself to its picture unless SS_CENTERIMAGE asks for
// the picture to be centred in the control's own size.
#include <algorithm>

#include "user/ControlSupport.h"
#include "user/SystemClasses.h"

namespace platform::user {

namespace {

using namespace platform::controls;

struct StaticState {
    HFONT font = nullptr;
    HANDLE image = nullptr;  // HICON for SS_ICON, HBITMAP for SS_BITMAP
    bool ownsImage = false;  // loaded from the module by the control itself
};

DWORD styleOf(HWND hwnd) {
    return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
}

DWORD typeOf(DWORD style) {
    return style & SS_TYPEMASK;
}

bool isPicture(DWORD style) {
    return typeOf(style) == SS_ICON || typeOf(style) == SS_BITMAP;
}

void releaseImage(StaticState& s, DWORD type) {
    if (s.image != nullptr && s.ownsImage) {
        if (type == SS_ICON) {
            DestroyIcon(static_cast<HICON>(s.image));
        } else {
            DeleteObject(s.image);
        }
    }
    s.image = nullptr;
    s.ownsImage = false;
}

SIZE imageSize(HANDLE image, DWORD type) {
    SIZE size{0, 0};
    if (image == nullptr)
        return size;
    if (type == SS_BITMAP) {
        BITMAP info{};
        if (GetObjectW(image, sizeof(info), &info) != 0)
            size = SIZE{info.bmWidth, info.bmHeight};
        return size;
    }
    ICONINFO icon{};
    if (GetIconInfo(static_cast<HICON>(image), &icon)) {
        BITMAP info{};
        if (GetObjectW(icon.hbmColor, sizeof(info), &info) != 0)
            size = SIZE{info.bmWidth, info.bmHeight};
        DeleteObject(icon.hbmColor);
        DeleteObject(icon.hbmMask);
    }
    return size;
}

// Takes a new picture and returns the one it had, which goes back to the caller even when
// the control had loaded it (as on the device). The control takes the picture's size.
HANDLE setImage(HWND hwnd, StaticState& s, HANDLE image, bool owned) {
    const DWORD style = styleOf(hwnd);
    HANDLE previous = s.image;
    s.image = image;
    s.ownsImage = owned;
    if (image != nullptr && !(style & SS_CENTERIMAGE)) {
        const SIZE size = imageSize(image, typeOf(style));
        SetWindowPos(hwnd, nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(hwnd, nullptr, TRUE);
    return previous;
}

// An icon or bitmap named by the creation text, from the creating module. Icons come at the
// device's icon size, which already grows with the screen's density, made no larger than the
// place the control was given, so that a dialog's icon keeps off its neighbours.
void loadNamedImage(HWND hwnd, StaticState& s, const CREATESTRUCTW& cs) {
    if (cs.lpszName == nullptr || cs.lpszName[0] == 0)
        return;
    const DWORD type = typeOf(static_cast<DWORD>(cs.style));
    HANDLE image = nullptr;
    if (type == SS_ICON) {
        const int place = std::max(cs.cx, cs.cy);
        const int side =
            place > 0 ? std::min(GetSystemMetrics(SM_CXICON), place) : GetSystemMetrics(SM_CXICON);
        image = LoadImageW(cs.hInstance, cs.lpszName, IMAGE_ICON, side, side, 0);
    } else {
        image = LoadImageW(cs.hInstance, cs.lpszName, IMAGE_BITMAP, 0, 0, 0);
    }
    if (image != nullptr)
        setImage(hwnd, s, image, true);
}

UINT textFormat(DWORD style) {
    UINT format = DT_EXPANDTABS;
    switch (typeOf(style)) {
        case SS_CENTER:
            format |= DT_CENTER | DT_WORDBREAK;
            break;
        case SS_RIGHT:
            format |= DT_RIGHT | DT_WORDBREAK;
            break;
        case SS_LEFTNOWORDWRAP:
            break;
        default:
            format |= DT_WORDBREAK;
            break;
    }
    if (style & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    if (style & SS_CENTERIMAGE)
        format = (format & ~static_cast<UINT>(DT_WORDBREAK)) | DT_SINGLELINE | DT_VCENTER;
    return format;
}

void paint(HWND hwnd, const StaticState& s) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (dc == nullptr)
        return;
    RECT client{};
    GetClientRect(hwnd, &client);
    const DWORD style = styleOf(hwnd);
    HBRUSH background = parentBrush(hwnd, dc, WM_CTLCOLORSTATIC);
    FillRect(dc, &client, background);
    if (isPicture(style)) {
        const SIZE size = imageSize(s.image, typeOf(style));
        int x = 0;
        int y = 0;
        if (style & SS_CENTERIMAGE) {
            x = (client.right - size.cx) / 2;
            y = (client.bottom - size.cy) / 2;
        }
        if (s.image != nullptr && typeOf(style) == SS_ICON) {
            DrawIconEx(dc, x, y, static_cast<HICON>(s.image), 0, 0, 0, nullptr, DI_NORMAL);
        } else if (s.image != nullptr) {
            HDC source = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(source, s.image);
            BitBlt(dc, x, y, size.cx, size.cy, source, 0, 0, SRCCOPY);
            SelectObject(source, old);
            DeleteDC(source);
        }
    } else {
        const std::u16string text = windowText(hwnd);
        HGDIOBJ old = SelectObject(dc, fontOr(s.font));
        SetBkMode(dc, TRANSPARENT);
        if (!IsWindowEnabled(hwnd))
            SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client, textFormat(style));
        SelectObject(dc, old);
    }
    EndPaint(hwnd, &ps);
}

}  // namespace

LRESULT CALLBACK staticWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        if (auto* gone = stateOf<StaticState>(hwnd))
            releaseImage(*gone, typeOf(styleOf(hwnd)));
    }
    StaticState* s = manageState<StaticState>(hwnd, message);
    if (s == nullptr)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const DWORD style = styleOf(hwnd);
    switch (message) {
        case WM_CREATE:
            if (isPicture(style))
                loadNamedImage(hwnd, *s, *reinterpret_cast<const CREATESTRUCTW*>(lParam));
            return 0;
        case WM_PAINT:
            paint(hwnd, *s);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_STATIC;
        case WM_LBUTTONUP:
            if (style & SS_NOTIFY)
                notifyParent(hwnd, STN_CLICKED);
            return 0;
        case STM_SETIMAGE: {
            const bool fits = (wParam == IMAGE_ICON && typeOf(style) == SS_ICON) ||
                              (wParam == IMAGE_BITMAP && typeOf(style) == SS_BITMAP);
            if (!fits)
                return 0;
            return reinterpret_cast<LRESULT>(
                setImage(hwnd, *s, reinterpret_cast<HANDLE>(lParam), false));
        }
        case STM_SETICON:
            if (typeOf(style) != SS_ICON)
                return 0;
            return reinterpret_cast<LRESULT>(
                setImage(hwnd, *s, reinterpret_cast<HANDLE>(wParam), false));
        case STM_GETIMAGE:
            if ((wParam == IMAGE_ICON && typeOf(style) == SS_ICON) ||
                (wParam == IMAGE_BITMAP && typeOf(style) == SS_BITMAP))
                return reinterpret_cast<LRESULT>(s->image);
            return 0;
        case STM_GETICON:
            return typeOf(style) == SS_ICON ? reinterpret_cast<LRESULT>(s->image) : 0;
        default:
            return defaultControlProc(hwnd, s->font, message, wParam, lParam);
    }
}

}  // namespace platform::user
