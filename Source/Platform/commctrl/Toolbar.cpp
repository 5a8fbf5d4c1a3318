// The toolbar ("ToolbarWindow32") as the window of a command bar: a bar the height of the
// device's menu bar, aligned along its parent's top edge (bottom edge with CCS_BOTTOM) across
// its whole width unless CCS_NOPARENTALIGN, again on TB_AUTOSIZE. Buttons are not supported:
// the bar holds none and TB_BUTTONCOUNT answers 0.
#include "commctrl.h"
#include "user/ControlSupport.h"
#include "user/SystemClasses.h"

namespace platform::commctrl {

namespace {

using namespace platform::controls;

int barHeight() {
    return GetSystemMetrics(SM_CYMENU) * screenScale();
}

void alignToParent(HWND hwnd) {
    const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    if (style & CCS_NOPARENTALIGN)
        return;
    HWND parent = GetParent(hwnd);
    RECT area{};
    if (parent == nullptr || !GetClientRect(parent, &area))
        return;
    const int height = barHeight();
    const int top = (style & CCS_BOTTOM) == CCS_BOTTOM ? area.bottom - height : 0;
    SetWindowPos(hwnd, nullptr, 0, top, area.right, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (dc == nullptr)
        return;
    RECT client{};
    GetClientRect(hwnd, &client);
    fillColor(dc, client, COLOR_BTNFACE);
    const int scale = screenScale();
    fillColor(dc, RECT{0, client.bottom - scale, client.right, client.bottom}, COLOR_BTNSHADOW);
    EndPaint(hwnd, &ps);
}

}  // namespace

LRESULT CALLBACK toolbarWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            alignToParent(hwnd);
            return 0;
        case WM_PAINT:
            paint(hwnd);
            return 0;
        case TB_AUTOSIZE:
            alignToParent(hwnd);
            return 0;
        case TB_BUTTONCOUNT:
            return 0;
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace platform::commctrl
