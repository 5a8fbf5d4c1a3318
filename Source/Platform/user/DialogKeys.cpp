// A dialog's keyboard: Tab and Shift+Tab move the focus along the tab stops (the controls of
// child dialogs, such as a property sheet's page, included), Return presses the default button
// and Escape Cancel, unless the focused control asks for those keys itself (WM_GETDLGCODE).
#include <algorithm>
#include <vector>

#include "user/Dialog.h"

namespace platform::user {

namespace {

bool isContainer(HWND hwnd) {
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE));
    return (exStyle & WS_EX_CONTROLPARENT) || dialogData(hwnd) != nullptr;
}

// The visible, enabled tab stops of a dialog, in the order of its controls.
std::vector<HWND> tabStops(HWND dialog) {
    // Controls open below their older siblings, so the z-order from the top is their order.
    std::vector<HWND> stops;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const auto style = static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE));
        if (!(style & WS_VISIBLE) || (style & WS_DISABLED))
            continue;
        if (isContainer(child)) {
            std::vector<HWND> inner = tabStops(child);
            stops.insert(stops.end(), inner.begin(), inner.end());
        } else if (style & WS_TABSTOP) {
            stops.push_back(child);
        }
    }
    return stops;
}

void pressButton(HWND dialog, WORD id) {
    HWND button = GetDlgItem(dialog, id);
    if (button != nullptr && !IsWindowEnabled(button))
        return;
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

}  // namespace

}  // namespace platform::user

using namespace platform::user;

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    const std::vector<HWND> stops = tabStops(dialog);
    if (stops.empty())
        return control;
    auto at = std::find(stops.begin(), stops.end(), control);
    if (at == stops.end())
        return previous ? stops.back() : stops.front();
    const auto index = static_cast<size_t>(at - stops.begin());
    const size_t count = stops.size();
    return stops[previous ? (index + count - 1) % count : (index + 1) % count];
}

BOOL IsDialogMessageW(HWND dialog, LPMSG msg) {
    if (msg == nullptr || dialog == nullptr || !IsWindow(dialog))
        return FALSE;
    if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd))
        return FALSE;
    if (msg->message != WM_KEYDOWN && msg->message != WM_CHAR)
        return FALSE;
    const WPARAM key = msg->wParam;
    const bool keyDown = msg->message == WM_KEYDOWN;
    const bool navigation = keyDown ? (key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE)
                                    : (key == u'\t' || key == u'\r' || key == 0x1B);
    if (!navigation)
        return FALSE;
    const auto code = static_cast<UINT>(
        SendMessageW(msg->hwnd, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(msg)));
    if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE))
        return FALSE;
    const bool tab = keyDown ? key == VK_TAB : key == u'\t';
    if (tab && (code & DLGC_WANTTAB))
        return FALSE;
    if (!keyDown)
        return TRUE;  // the character of a key handled at its WM_KEYDOWN
    if (key == VK_TAB) {
        const bool back = GetKeyState(VK_SHIFT) < 0;
        HWND next = GetNextDlgTabItem(dialog, GetFocus(), back ? TRUE : FALSE);
        if (next != nullptr)
            SetFocus(next);
    } else if (key == VK_RETURN) {
        const auto found = static_cast<DWORD>(SendMessageW(dialog, DM_GETDEFID, 0, 0));
        pressButton(dialog, HIWORD(found) == DC_HASDEFID ? LOWORD(found) : IDOK);
    } else {
        pressButton(dialog, IDCANCEL);
    }
    return TRUE;
}
