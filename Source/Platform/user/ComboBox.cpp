// The combo box control ("COMBOBOX") as a drop-down list: a field showing the selected item
// with a button that opens the list of items. The height the template gives the control is
// the field and its drop list together; the window itself keeps only the field's height.
// Selections made by the user (with the list or the arrow keys) are told to the parent with
// CBN_SELCHANGE; selections made by messages are not. Searches ignore letter case.
#include <algorithm>

#include "user/ComboBox.h"
#include "user/ControlSupport.h"
#include "user/SystemClasses.h"
#include "wchar16.h"

namespace platform::user {

namespace {

using namespace platform::controls;

constexpr size_t kMaxItemText = 65535;

int fieldHeight(const ComboState& s) {
    return lineHeight(s.font) + 6 * screenScale();
}

bool sameIgnoringCase(const std::u16string& a, const std::u16string& b) {
    return a.size() == b.size() && lstrcmpiW(a.c_str(), b.c_str()) == 0;
}

bool startsIgnoringCase(const std::u16string& text, const std::u16string& prefix) {
    return text.size() >= prefix.size() && sameIgnoringCase(text.substr(0, prefix.size()), prefix);
}

std::u16string textArgument(LPARAM lParam) {
    const auto* text = reinterpret_cast<LPCWSTR>(lParam);
    std::u16string copy;
    for (size_t i = 0; text != nullptr && text[i] != 0 && i < kMaxItemText; ++i)
        copy.push_back(text[i]);
    return copy;
}

// The first item from `start` + 1 on (wrapping around) that matches; CB_ERR when none.
int findItem(const ComboState& s, WPARAM start, const std::u16string& text, bool exact) {
    const int count = static_cast<int>(s.items.size());
    if (count == 0)
        return CB_ERR;
    const int after = static_cast<int>(static_cast<INT_PTR>(start));
    const int first = (after < 0 || after >= count) ? 0 : after + 1;
    for (int i = 0; i < count; ++i) {
        const int at = (first + i) % count;
        const std::u16string& item = s.items[static_cast<size_t>(at)].text;
        if (exact ? sameIgnoringCase(item, text) : startsIgnoringCase(item, text))
            return at;
    }
    return CB_ERR;
}

// The window keeps the selection's text as its own, so that anyone may read it.
void storeSelectionText(HWND combo, const ComboState& s) {
    const std::u16string text =
        s.selection >= 0 ? s.items[static_cast<size_t>(s.selection)].text : std::u16string();
    DefWindowProcW(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void select(HWND combo, ComboState& s, int item) {
    s.selection = item;
    storeSelectionText(combo, s);
    InvalidateRect(combo, nullptr, FALSE);
}

int insertItem(HWND combo, ComboState& s, int at, LPARAM lParam) {
    if (s.items.size() >= kMaxComboItems)
        return CB_ERRSPACE;
    ComboItem item{textArgument(lParam), 0};
    const int count = static_cast<int>(s.items.size());
    if (at < 0) {
        at = count;
        if (GetWindowLongW(combo, GWL_STYLE) & CBS_SORT) {
            at = static_cast<int>(std::find_if(s.items.begin(), s.items.end(),
                                               [&](const ComboItem& other) {
                                                   return lstrcmpiW(other.text.c_str(),
                                                                    item.text.c_str()) > 0;
                                               }) -
                                  s.items.begin());
        }
    } else if (at > count) {
        return CB_ERR;
    }
    s.items.insert(s.items.begin() + at, std::move(item));
    if (s.selection >= at)
        ++s.selection;
    if (s.list != nullptr)
        InvalidateRect(s.list, nullptr, FALSE);
    return at;
}

void paint(HWND combo, const ComboState& s) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(combo, &ps);
    if (dc == nullptr)
        return;
    const int scale = screenScale();
    RECT client{};
    GetClientRect(combo, &client);
    const bool enabled = IsWindowEnabled(combo) != FALSE;
    fillColor(dc, client, enabled ? COLOR_WINDOW : COLOR_BTNFACE);
    frameColor(dc, client, COLOR_WINDOWFRAME, scale);

    // The button: a square at the right end with a downward triangle.
    const int side = client.bottom - client.top;
    RECT button{client.right - side, client.top, client.right, client.bottom};
    fillColor(dc, button, s.list != nullptr ? COLOR_BTNSHADOW : COLOR_BTNFACE);
    frameColor(dc, button, COLOR_WINDOWFRAME, scale);
    const int midX = (button.left + button.right) / 2;
    const int midY = (button.top + button.bottom) / 2;
    const int arm = std::max(2, side / 5);
    const POINT arrow[] = {
        {midX - arm, midY - arm / 2}, {midX + arm, midY - arm / 2}, {midX, midY + arm / 2 + 1}};
    HBRUSH arrowBrush = GetSysColorBrush(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    HGDIOBJ oldBrush = SelectObject(dc, arrowBrush);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    Polygon(dc, arrow, 3);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);

    RECT text{client.left + scale, client.top + scale, button.left, client.bottom - scale};
    const bool highlighted = s.focused && s.list == nullptr && enabled;
    if (highlighted)
        fillColor(dc, text, COLOR_HIGHLIGHT);
    if (s.selection >= 0) {
        const std::u16string& shown = s.items[static_cast<size_t>(s.selection)].text;
        InflateRect(&text, -2 * scale, 0);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(!enabled      ? COLOR_GRAYTEXT
                                     : highlighted ? COLOR_HIGHLIGHTTEXT
                                                   : COLOR_WINDOWTEXT));
        HGDIOBJ oldFont = SelectObject(dc, fontOr(s.font));
        DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        SelectObject(dc, oldFont);
    }
    EndPaint(combo, &ps);
}

// The selection moved by the user from the field (arrow keys, typing).
void userSelect(HWND combo, ComboState& s, int item) {
    if (item < 0 || item >= static_cast<int>(s.items.size()) || item == s.selection)
        return;
    select(combo, s, item);
    notifyParent(combo, CBN_SELCHANGE);
}

void keyDown(HWND combo, ComboState& s, WPARAM key) {
    const int count = static_cast<int>(s.items.size());
    if (s.list != nullptr) {
        const int at = comboListHighlight(s.list);
        switch (key) {
            case VK_UP:
                setComboListHighlight(s.list, std::max(0, at - 1));
                return;
            case VK_DOWN:
                setComboListHighlight(s.list, std::min(count - 1, at + 1));
                return;
            case VK_RETURN:
            case VK_F4:
                closeComboList(combo, at);
                return;
            case VK_ESCAPE:
                closeComboList(combo, -1);
                return;
            default:
                return;
        }
    }
    switch (key) {
        case VK_UP:
            userSelect(combo, s, std::max(0, s.selection - 1));
            return;
        case VK_DOWN:
            userSelect(combo, s, std::min(count - 1, s.selection + 1));
            return;
        case VK_HOME:
            userSelect(combo, s, 0);
            return;
        case VK_END:
            userSelect(combo, s, count - 1);
            return;
        case VK_F4:
            openComboList(combo, false);
            return;
        default:
            return;
    }
}

// Typing a character selects the next item that starts with it.
void typed(HWND combo, ComboState& s, WCHAR ch) {
    if (ch < u' ')
        return;
    const int found = findItem(s, static_cast<WPARAM>(static_cast<INT_PTR>(s.selection)),
                               std::u16string(1, ch), false);
    if (found == CB_ERR)
        return;
    if (s.list != nullptr) {
        setComboListHighlight(s.list, found);
    } else {
        userSelect(combo, s, found);
    }
}

LRESULT copyItemText(const ComboState& s, WPARAM index, LPARAM buffer) {
    const auto at = static_cast<INT_PTR>(index);
    if (at < 0 || at >= static_cast<INT_PTR>(s.items.size()) || buffer == 0)
        return CB_ERR;
    const std::u16string& text = s.items[static_cast<size_t>(at)].text;
    auto* out = reinterpret_cast<LPWSTR>(buffer);
    std::copy(text.begin(), text.end(), out);
    out[text.size()] = 0;
    return static_cast<LRESULT>(text.size());
}

LRESULT itemMessage(HWND combo, ComboState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto index = static_cast<INT_PTR>(wParam);
    const bool valid = index >= 0 && index < static_cast<INT_PTR>(s.items.size());
    switch (message) {
        case CB_ADDSTRING:
            return insertItem(combo, s, -1, lParam);
        case CB_INSERTSTRING:
            return insertItem(combo, s,
                              index < 0
                                  ? static_cast<int>(s.items.size())
                                  : static_cast<int>(std::min<INT_PTR>(index, kMaxComboItems + 1)),
                              lParam);
        case CB_DELETESTRING:
            if (!valid)
                return CB_ERR;
            s.items.erase(s.items.begin() + index);
            if (s.selection == index) {
                select(combo, s, -1);
            } else if (s.selection > index) {
                --s.selection;
            }
            if (s.list != nullptr)
                InvalidateRect(s.list, nullptr, FALSE);
            return static_cast<LRESULT>(s.items.size());
        case CB_RESETCONTENT:
            if (s.list != nullptr)
                closeComboList(combo, -1);
            s.items.clear();
            select(combo, s, -1);
            return CB_OKAY;
        case CB_GETCOUNT:
            return static_cast<LRESULT>(s.items.size());
        case CB_GETCURSEL:
            return s.selection;
        case CB_SETCURSEL:
            select(combo, s, valid ? static_cast<int>(index) : -1);
            return valid ? index : CB_ERR;
        case CB_GETLBTEXT:
            return copyItemText(s, wParam, lParam);
        case CB_GETLBTEXTLEN:
            return valid ? static_cast<LRESULT>(s.items[static_cast<size_t>(index)].text.size())
                         : CB_ERR;
        case CB_FINDSTRING:
        case CB_FINDSTRINGEXACT:
            return findItem(s, wParam, textArgument(lParam), message == CB_FINDSTRINGEXACT);
        case CB_SELECTSTRING: {
            const int found = findItem(s, wParam, textArgument(lParam), false);
            if (found != CB_ERR)
                select(combo, s, found);
            return found;
        }
        case CB_GETITEMDATA:
            return valid ? s.items[static_cast<size_t>(index)].data : CB_ERR;
        case CB_SETITEMDATA:
            if (!valid)
                return CB_ERR;
            s.items[static_cast<size_t>(index)].data = lParam;
            return CB_OKAY;
        default:
            return CB_ERR;
    }
}

}  // namespace

ComboState* comboState(HWND combo) {
    return stateOf<ComboState>(combo);
}

int comboItemHeight(const ComboState& s) {
    return lineHeight(s.font) + 2 * screenScale();
}

LRESULT CALLBACK comboBoxWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        if (auto* gone = stateOf<ComboState>(hwnd); gone != nullptr && gone->list != nullptr)
            DestroyWindow(gone->list);
    }
    ComboState* s = manageState<ComboState>(hwnd, message);
    if (s == nullptr)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
        case WM_CREATE: {
            const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            s->listHeight = cs->cy;
            SetWindowPos(hwnd, nullptr, 0, 0, cs->cx, fieldHeight(*s),
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            storeSelectionText(hwnd, *s);
            return 0;
        }
        case WM_SETFONT: {
            s->font = reinterpret_cast<HFONT>(wParam);
            RECT rect{};
            GetWindowRect(hwnd, &rect);
            SetWindowPos(hwnd, nullptr, 0, 0, rect.right - rect.left, fieldHeight(*s),
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            if (LOWORD(lParam))
                InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        }
        case WM_PAINT:
            paint(hwnd, *s);
            return 0;
        case WM_ENABLE:
            if (!wParam && s->list != nullptr)
                closeComboList(hwnd, -1);
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_SETTEXT: {
            // A drop-down list shows only its items: the text selects the item it names.
            const int found = findItem(*s, static_cast<WPARAM>(-1), textArgument(lParam), true);
            if (found == CB_ERR)
                return CB_ERR;
            select(hwnd, *s, found);
            return TRUE;
        }
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS | (s->list != nullptr ? DLGC_WANTALLKEYS : 0);
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetFocus(hwnd);
            if (s->list != nullptr) {
                closeComboList(hwnd, -1);
            } else {
                openComboList(hwnd, true);
            }
            return 0;
        case WM_KEYDOWN:
            keyDown(hwnd, *s, wParam);
            return 0;
        case WM_CHAR:
            typed(hwnd, *s, static_cast<WCHAR>(wParam));
            return 0;
        case WM_SETFOCUS:
            s->focused = true;
            InvalidateRect(hwnd, nullptr, FALSE);
            notifyParent(hwnd, CBN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            s->focused = false;
            if (s->list != nullptr)
                closeComboList(hwnd, -1);
            InvalidateRect(hwnd, nullptr, FALSE);
            notifyParent(hwnd, CBN_KILLFOCUS);
            return 0;
        case CB_SHOWDROPDOWN:
            if (wParam && s->list == nullptr) {
                openComboList(hwnd, false);
            } else if (!wParam && s->list != nullptr) {
                closeComboList(hwnd, -1);
            }
            return TRUE;
        case CB_GETDROPPEDSTATE:
            return s->list != nullptr;
        case CB_GETDROPPEDCONTROLRECT: {
            auto* out = reinterpret_cast<RECT*>(lParam);
            if (out == nullptr)
                return CB_ERR;
            GetWindowRect(hwnd, out);
            out->bottom = out->top + std::max(s->listHeight, fieldHeight(*s));
            return CB_OKAY;
        }
        case CB_GETITEMHEIGHT:
            return static_cast<INT_PTR>(wParam) == -1 ? fieldHeight(*s) : comboItemHeight(*s);
        case CB_ADDSTRING:
        case CB_INSERTSTRING:
        case CB_DELETESTRING:
        case CB_RESETCONTENT:
        case CB_GETCOUNT:
        case CB_GETCURSEL:
        case CB_SETCURSEL:
        case CB_GETLBTEXT:
        case CB_GETLBTEXTLEN:
        case CB_FINDSTRING:
        case CB_FINDSTRINGEXACT:
        case CB_SELECTSTRING:
        case CB_GETITEMDATA:
        case CB_SETITEMDATA:
            return itemMessage(hwnd, *s, message, wParam, lParam);
        default:
            return defaultControlProc(hwnd, s->font, message, wParam, lParam);
    }
}

}  // namespace platform::user
