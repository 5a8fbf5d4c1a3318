// Making dialogs from templates. Dialog units are converted as the device does: x by a quarter
// of the dialog font's average character width (of the 52 Latin letters, rounded), y by an
// eighth of its height. A dialog that is not a child is placed in the work area (centred with
// DS_CENTER, at screen coordinates with DS_ABSALIGN).
#include <algorithm>

#include "user/Dialog.h"
#include "wchar16.h"

namespace platform::user {

namespace {

constexpr WCHAR kAlphabet[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

SIZE baseUnitsOf(HFONT font) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font);
    SIZE extent{};
    GetTextExtentPoint32W(screen, kAlphabet, 52, &extent);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return SIZE{std::max<LONG>(1, (extent.cx / 26 + 1) / 2), std::max<LONG>(1, metrics.tmHeight)};
}

// The template's font at its point size on this screen, else the system font.
HFONT makeDialogFont(const DialogTemplate& dialog, bool& owned) {
    owned = false;
    if ((dialog.style & DS_SETFONT) && !dialog.fontName.empty() && dialog.pointSize > 0) {
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        HFONT font =
            CreateFontW(-mulDiv(dialog.pointSize, dpi, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, dialog.fontName.c_str());
        if (font != nullptr) {
            owned = true;
            return font;
        }
    }
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

RECT toPixels(SIZE units, SHORT x, SHORT y, SHORT cx, SHORT cy) {
    const int left = mulDiv(x, units.cx, 4);
    const int top = mulDiv(y, units.cy, 8);
    return RECT{left, top, left + mulDiv(cx, units.cx, 4), top + mulDiv(cy, units.cy, 8)};
}

RECT workArea() {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

void placeTopLevel(RECT& rect, DWORD style) {
    if (style & DS_ABSALIGN)
        return;
    const RECT area = workArea();
    if (style & DS_CENTER) {
        const int width = rect.right - rect.left;
        const int height = rect.bottom - rect.top;
        const int left = area.left + (area.right - area.left - width) / 2;
        const int top = area.top + (area.bottom - area.top - height) / 2;
        rect = RECT{left, top, left + width, top + height};
        return;
    }
    OffsetRect(&rect, area.left, area.top);
}

bool isComboBox(const std::u16string& className) {
    return lstrcmpiW(className.c_str(), WC_COMBOBOX) == 0;
}

// Makes one control; false when it could not be made.
bool makeControl(HWND dialog, const DialogControl& control, SIZE units, HFONT font,
                 HINSTANCE instance) {
    const RECT r = toPixels(units, control.x, control.y, control.cx, control.cy);
    HWND item = CreateWindowExW(
        control.exStyle, control.className.c_str(), control.text.c_str(), control.style | WS_CHILD,
        r.left, r.top, r.right - r.left, r.bottom - r.top, dialog,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(control.id)), instance, nullptr);
    if (item == nullptr)
        return false;
    SendMessageW(item, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (isComboBox(control.className)) {
        for (const std::u16string& entry : control.items)
            SendMessageW(item, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    return true;
}

}  // namespace

int mulDiv(int a, int b, int c) {
    if (c == 0)
        return 0;
    int64_t product = static_cast<int64_t>(a) * b;
    int64_t divisor = c;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    const int64_t magnitude = ((product < 0 ? -product : product) + divisor / 2) / divisor;
    return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

HWND topLevelOf(HWND hwnd) {
    while (hwnd != nullptr && (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) {
        HWND parent = GetParent(hwnd);
        if (parent == nullptr)
            break;
        hwnd = parent;
    }
    return hwnd;
}

std::optional<DialogTemplate> loadDialogTemplate(HINSTANCE instance, LPCWSTR name) {
    HRSRC found = FindResourceW(instance, name, RT_DIALOG);
    const auto* bytes =
        found ? static_cast<const uint8_t*>(LockResource(LoadResource(instance, found))) : nullptr;
    auto dialog = parseDialogTemplate(bytes, found ? SizeofResource(instance, found) : 0);
    if (!dialog)
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return dialog;
}

HWND createDialog(const DialogTemplate& dialog, HINSTANCE instance, HWND parent, DLGPROC proc,
                  LPARAM initParam) {
    auto* data = new DialogData();
    data->font = makeDialogFont(dialog, data->ownsFont);
    data->baseUnits = baseUnitsOf(data->font);
    const HFONT font = data->font;
    const SIZE units = data->baseUnits;
    const DWORD style = dialog.style;
    RECT rect = toPixels(units, dialog.x, dialog.y, dialog.cx, dialog.cy);
    if (!(style & WS_CHILD))
        placeTopLevel(rect, style);
    const DWORD exStyle = dialog.exStyle | ((style & DS_CONTROL) ? WS_EX_CONTROLPARENT : 0);
    expectDialog(data, proc);
    HWND hwnd = CreateWindowExW(exStyle, WC_DIALOG, dialog.title.c_str(),
                                style & ~static_cast<DWORD>(WS_VISIBLE), rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                                instance, nullptr);
    if (DialogData* unclaimed = withdrawDialog()) {
        // Refused before its first message: the data never reached a window.
        if (unclaimed->ownsFont)
            DeleteObject(unclaimed->font);
        delete unclaimed;
    }
    if (hwnd == nullptr)
        return nullptr;
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    for (const DialogControl& control : dialog.controls) {
        if (!IsWindow(hwnd))
            return nullptr;
        if (!makeControl(hwnd, control, units, font, instance) && !(style & DS_NOFAILCREATE)) {
            DestroyWindow(hwnd);
            return nullptr;
        }
    }
    HWND first = GetNextDlgTabItem(hwnd, nullptr, FALSE);
    const LRESULT wantsFocus =
        SendMessageW(hwnd, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), initParam);
    if (!IsWindow(hwnd))
        return nullptr;
    if (wantsFocus && first != nullptr && IsWindow(first)) {
        // The focus goes there when the dialog is activated; a child dialog of the active
        // window takes it at once.
        if (DialogData* made = dialogData(hwnd))
            made->lastFocus = first;
        if ((style & WS_CHILD) && GetActiveWindow() == topLevelOf(hwnd))
            SetFocus(first);
    }
    if (style & WS_VISIBLE)
        ShowWindow(hwnd, (style & WS_CHILD) ? SW_SHOWNOACTIVATE : SW_SHOW);
    return hwnd;
}

}  // namespace platform::user

using namespace platform::user;

HWND CreateDialogParamW(HINSTANCE instance, LPCWSTR templateName, HWND parent, DLGPROC dialogProc,
                        LPARAM initParam) {
    const auto dialog = loadDialogTemplate(instance, templateName);
    return dialog ? createDialog(*dialog, instance, parent, dialogProc, initParam) : nullptr;
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
    const DialogData* data = dialogData(dialog);
    if (data == nullptr || rect == nullptr)
        return FALSE;
    rect->left = mulDiv(rect->left, data->baseUnits.cx, 4);
    rect->right = mulDiv(rect->right, data->baseUnits.cx, 4);
    rect->top = mulDiv(rect->top, data->baseUnits.cy, 8);
    rect->bottom = mulDiv(rect->bottom, data->baseUnits.cy, 8);
    return TRUE;
}

LONG GetDialogBaseUnits() {
    const SIZE units = baseUnitsOf(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    return MAKELONG(units.cx, units.cy);
}
