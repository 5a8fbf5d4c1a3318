// Property sheets. The sheet is a dialog filling the work area: a strip along its top edge (the
// height of a command bar, which a program may lay there) with OK and Cancel at its right end,
// the pages below, and the tab control along the bottom edge, as on the device. A page's dialog
// is made from its template the first time it is shown, as a child of the sheet, and keeps its
// state while other pages are shown. Pages hear of the sheet through WM_NOTIFY: PSN_SETACTIVE
// when shown, PSN_KILLACTIVE before another is shown or OK applies (a page may refuse),
// PSN_APPLY on OK and PSN_RESET on Cancel, each only for pages that were made.
#include <algorithm>
#include <string>
#include <vector>

#include "commctrl.h"
#include "user/ControlSupport.h"
#include "user/Dialog.h"
#include "wchar16.h"

namespace platform::commctrl {

namespace {

using platform::user::DialogData;
using platform::user::dialogData;

constexpr UINT kMaxPages = 64;
constexpr INT_PTR kSheetConfirmed = 1;
constexpr INT_PTR kSheetCancelled = 0;

struct Sheet {
    std::vector<PROPSHEETPAGEW> pages;  // the sheet's copies: WM_INITDIALOG points at them
    std::vector<std::u16string> titles;
    std::vector<HWND> windows;  // each page's dialog, null until first shown
    int current = -1;
    UINT startPage = 0;
    HWND tab = nullptr;
    PFNPROPSHEETCALLBACK callback = nullptr;
    bool released = false;
};

Sheet* sheetOf(HWND hwnd) {
    return reinterpret_cast<Sheet*>(GetWindowLongPtrW(hwnd, DWLP_USER));
}

INT_PTR answer(HWND sheet, LRESULT result) {
    SetWindowLongPtrW(sheet, DWLP_MSGRESULT, result);
    return TRUE;
}

LRESULT notifyPage(HWND sheet, HWND page, UINT code) {
    if (page == nullptr)
        return 0;
    PSHNOTIFY notice{{sheet, 0, code}, 0};
    return SendMessageW(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notice));
}

RECT workArea() {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

int stripHeight() {
    return GetSystemMetrics(SM_CYMENU) * controls::screenScale();
}

int tabRowHeight(HWND sheet) {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(sheet, WM_GETFONT, 0, 0));
    return controls::lineHeight(font) + 8 * controls::screenScale();
}

// Where pages go: between the top strip and the row of tabs.
RECT pageArea(HWND sheet) {
    RECT client{};
    GetClientRect(sheet, &client);
    return RECT{0, stripHeight(), client.right,
                std::max<LONG>(stripHeight(), client.bottom - tabRowHeight(sheet))};
}

int buttonWidth(HWND sheet, HWND button) {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(sheet, WM_GETFONT, 0, 0));
    const std::u16string text = controls::windowText(button);
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, controls::fontOr(font));
    SIZE extent{};
    GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    const int scale = controls::screenScale();
    return std::max<int>(extent.cx + 16 * scale, 44 * scale);
}

void layout(HWND sheet, const Sheet& s) {
    RECT client{};
    GetClientRect(sheet, &client);
    const int scale = controls::screenScale();
    const int strip = stripHeight();
    int right = client.right - 2 * scale;
    for (int id : {IDCANCEL, IDOK}) {
        HWND button = GetDlgItem(sheet, id);
        if (button == nullptr)
            continue;
        const int width = buttonWidth(sheet, button);
        MoveWindow(button, right - width, 2 * scale, width, strip - 4 * scale, TRUE);
        right -= width + 3 * scale;
    }
    const int row = tabRowHeight(sheet);
    if (s.tab != nullptr)
        MoveWindow(s.tab, 0, client.bottom - row, client.right, row, TRUE);
    const RECT area = pageArea(sheet);
    for (HWND page : s.windows) {
        if (page != nullptr)
            MoveWindow(page, area.left, area.top, area.right - area.left, area.bottom - area.top,
                       TRUE);
    }
    // A command bar the program laid along the top follows the sheet's width.
    for (HWND child = GetWindow(sheet, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        WCHAR name[32] = {};
        GetClassNameW(child, name, 32);
        if (lstrcmpiW(name, TOOLBARCLASSNAMEW) == 0)
            SendMessageW(child, TB_AUTOSIZE, 0, 0);
    }
}

void fitToWorkArea(HWND sheet) {
    const RECT area = workArea();
    MoveWindow(sheet, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

// A page's dialog, made as a child of the sheet from the page's template.
HWND makePage(HWND sheet, Sheet& s, size_t index) {
    PROPSHEETPAGEW& page = s.pages[index];
    if ((page.dwFlags & PSP_USECALLBACK) && page.pfnCallback != nullptr &&
        page.pfnCallback(nullptr, PSPCB_CREATE, &page) == 0) {
        return nullptr;
    }
    auto dialog = platform::user::loadDialogTemplate(page.hInstance, page.pszTemplate);
    if (!dialog)
        return nullptr;
    dialog->style = (dialog->style & ~static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU |
                                                         WS_VISIBLE | DS_CENTER)) |
                    WS_CHILD | DS_CONTROL;
    dialog->x = 0;
    dialog->y = 0;
    HWND made = platform::user::createDialog(*dialog, page.hInstance, sheet, page.pfnDlgProc,
                                             reinterpret_cast<LPARAM>(&page));
    if (made != nullptr) {
        const RECT area = pageArea(sheet);
        MoveWindow(made, area.left, area.top, area.right - area.left, area.bottom - area.top,
                   FALSE);
    }
    return made;
}

// The page shown now lets go (false when it refuses).
bool leaveCurrent(HWND sheet, const Sheet& s) {
    if (s.current < 0)
        return true;
    return notifyPage(sheet, s.windows[static_cast<size_t>(s.current)], PSN_KILLACTIVE) == 0;
}

// Shows page `index`, making it the first time; false when it cannot be made.
bool showPage(HWND sheet, Sheet& s, int index) {
    if (index < 0 || index >= static_cast<int>(s.pages.size()))
        return false;
    if (index == s.current)
        return true;
    const auto at = static_cast<size_t>(index);
    if (s.windows[at] == nullptr)
        s.windows[at] = makePage(sheet, s, at);
    HWND page = s.windows[at];
    if (page == nullptr) {
        SendMessageW(s.tab, TCM_SETCURSEL, static_cast<WPARAM>(std::max(0, s.current)), 0);
        return false;
    }
    notifyPage(sheet, page, PSN_SETACTIVE);
    const int previous = s.current;
    s.current = index;
    SendMessageW(s.tab, TCM_SETCURSEL, at, 0);
    ShowWindow(page, SW_SHOWNA);
    if (previous >= 0 && s.windows[static_cast<size_t>(previous)] != nullptr)
        ShowWindow(s.windows[static_cast<size_t>(previous)], SW_HIDE);
    HWND first = GetNextDlgTabItem(page, nullptr, FALSE);
    if (DialogData* data = dialogData(sheet))
        data->lastFocus = first;
    if (first != nullptr && GetActiveWindow() == sheet)
        SetFocus(first);
    return true;
}

void pressOk(HWND sheet, Sheet& s) {
    if (!leaveCurrent(sheet, s))
        return;
    for (size_t i = 0; i < s.windows.size(); ++i) {
        const LRESULT result = notifyPage(sheet, s.windows[i], PSN_APPLY);
        if (result == PSNRET_INVALID || result == PSNRET_INVALID_NOCHANGEPAGE) {
            if (result == PSNRET_INVALID)
                showPage(sheet, s, static_cast<int>(i));
            return;
        }
    }
    EndDialog(sheet, kSheetConfirmed);
}

void pressCancel(HWND sheet, Sheet& s) {
    if (s.current >= 0 &&
        notifyPage(sheet, s.windows[static_cast<size_t>(s.current)], PSN_QUERYCANCEL) != 0)
        return;
    for (HWND page : s.windows)
        notifyPage(sheet, page, PSN_RESET);
    EndDialog(sheet, kSheetCancelled);
}

void releasePages(Sheet& s) {
    if (s.released)
        return;
    s.released = true;
    for (PROPSHEETPAGEW& page : s.pages) {
        if ((page.dwFlags & PSP_USECALLBACK) && page.pfnCallback != nullptr)
            page.pfnCallback(nullptr, PSPCB_RELEASE, &page);
    }
}

void initialize(HWND sheet, Sheet& s) {
    SetWindowLongPtrW(sheet, DWLP_USER, reinterpret_cast<LONG_PTR>(&s));
    s.tab = GetDlgItem(sheet, IDC_PROPSHEET_TABCONTROL);
    for (size_t i = 0; i < s.titles.size(); ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = s.titles[i].data();
        SendMessageW(s.tab, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    fitToWorkArea(sheet);
    layout(sheet, s);
    if (s.callback != nullptr)
        s.callback(sheet, PSCB_INITIALIZED, 0);
    const int start =
        std::min<int>(static_cast<int>(s.startPage), static_cast<int>(s.pages.size()) - 1);
    if (!showPage(sheet, s, std::max(0, start))) {
        // The page asked for cannot be made: the first one that can is shown.
        for (int i = 0; i < static_cast<int>(s.pages.size()) && s.current < 0; ++i)
            showPage(sheet, s, i);
    }
    // Without a single page there is no sheet to show.
    if (s.current < 0)
        EndDialog(sheet, -1);
}

INT_PTR CALLBACK sheetProc(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        initialize(sheet, *reinterpret_cast<Sheet*>(lParam));
        return FALSE;  // the focus is the shown page's
    }
    Sheet* s = sheetOf(sheet);
    if (s == nullptr)
        return FALSE;
    switch (message) {
        case WM_SIZE:
            layout(sheet, *s);
            return FALSE;
        case WM_SETTINGCHANGE:
            // A rotation or a new work area: the sheet follows it.
            fitToWorkArea(sheet);
            return FALSE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) {
                pressOk(sheet, *s);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == BN_CLICKED) {
                pressCancel(sheet, *s);
                return TRUE;
            }
            return FALSE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header == nullptr || header->hwndFrom != s->tab)
                return FALSE;
            if (header->code == TCN_SELCHANGING)
                return answer(sheet, leaveCurrent(sheet, *s) ? FALSE : TRUE);
            if (header->code == TCN_SELCHANGE) {
                showPage(sheet, *s, static_cast<int>(SendMessageW(s->tab, TCM_GETCURSEL, 0, 0)));
                return TRUE;
            }
            return FALSE;
        }
        case PSM_SETCURSEL: {
            const int index = static_cast<int>(wParam);
            if (index == s->current)
                return answer(sheet, TRUE);
            const bool shown = leaveCurrent(sheet, *s) && showPage(sheet, *s, index);
            return answer(sheet, shown ? TRUE : FALSE);
        }
        case PSM_GETCURRENTPAGEHWND:
            return answer(sheet, reinterpret_cast<LRESULT>(
                                     s->current >= 0 ? s->windows[static_cast<size_t>(s->current)]
                                                     : nullptr));
        case PSM_GETTABCONTROL:
            return answer(sheet, reinterpret_cast<LRESULT>(s->tab));
        case PSM_PRESSBUTTON:
            if (wParam == PSBTN_OK)
                pressOk(sheet, *s);
            if (wParam == PSBTN_CANCEL)
                pressCancel(sheet, *s);
            return answer(sheet, 0);
        case WM_DESTROY:
            releasePages(*s);
            return FALSE;
        default:
            return FALSE;
    }
}

platform::DialogTemplate sheetTemplate(const PROPSHEETHEADERW& header) {
    platform::DialogTemplate sheet;
    sheet.style = WS_POPUP | WS_CLIPCHILDREN | DS_SETFONT;
    sheet.pointSize = 8;
    sheet.fontName = u"MS Shell Dlg";
    for (size_t i = 0; header.pszCaption != nullptr && header.pszCaption[i] != 0 && i < 256; ++i)
        sheet.title.push_back(header.pszCaption[i]);
    platform::DialogControl tab;
    tab.className = WC_TABCONTROLW;
    tab.id = IDC_PROPSHEET_TABCONTROL;
    tab.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TCS_BOTTOM;
    platform::DialogControl ok;
    ok.className = WC_BUTTON;
    ok.id = IDOK;
    ok.text = u"OK";
    ok.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
    platform::DialogControl cancel = ok;
    cancel.id = IDCANCEL;
    cancel.text = u"Cancel";
    cancel.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    sheet.controls = {tab, ok, cancel};
    return sheet;
}

// A page's tab text: its own title, else its template's caption.
std::u16string titleOf(const PROPSHEETPAGEW& page) {
    std::u16string title;
    if ((page.dwFlags & PSP_USETITLE) && page.pszTitle != nullptr) {
        for (size_t i = 0; page.pszTitle[i] != 0 && i < 256; ++i)
            title.push_back(page.pszTitle[i]);
        return title;
    }
    if (auto dialog = platform::user::loadDialogTemplate(page.hInstance, page.pszTemplate))
        title = dialog->title;
    return title;
}

}  // namespace

}  // namespace platform::commctrl

using namespace platform::commctrl;

INT_PTR PropertySheetW(LPCPROPSHEETHEADERW header) {
    if (header == nullptr || header->dwSize != sizeof(PROPSHEETHEADERW) ||
        !(header->dwFlags & PSH_PROPSHEETPAGE) || header->nPages == 0 ||
        header->nPages > kMaxPages || header->ppsp == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    Sheet sheet;
    for (UINT i = 0; i < header->nPages; ++i) {
        if (header->ppsp[i].dwSize != sizeof(PROPSHEETPAGEW)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return -1;
        }
        sheet.pages.push_back(header->ppsp[i]);
        sheet.titles.push_back(titleOf(header->ppsp[i]));
    }
    sheet.windows.assign(sheet.pages.size(), nullptr);
    sheet.startPage = header->nStartPage;
    if (header->dwFlags & PSH_USECALLBACK)
        sheet.callback = header->pfnCallback;
    HWND owner = platform::user::topLevelOf(header->hwndParent);
    HWND hwnd = platform::user::createDialog(sheetTemplate(*header), header->hInstance, owner,
                                             sheetProc, reinterpret_cast<LPARAM>(&sheet));
    if (hwnd == nullptr) {
        releasePages(sheet);
        return -1;
    }
    const INT_PTR result = platform::user::runModal(hwnd, owner, kSheetCancelled);
    releasePages(sheet);
    return result;
}
