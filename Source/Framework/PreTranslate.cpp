// The framework's part in message loops: each message a loop retrieves is first offered to the
// framework objects of its window and of that window's parents, innermost first, through
// CWnd::PreTranslateMessage (a control's accelerators see its keys before a dialog does). The
// hook is on a thread while this module has windows attached there, so a library that unloads
// leaves none behind.
#include "PreTranslate.h"

#include "Wnd.h"

namespace {

// Windows of this module attached on this thread.
thread_local int t_windows = 0;
// What names this module's hook to the platform.
const char kHookOwner = 0;

bool walkPreTranslateTree(MSG& msg) {
    for (HWND hwnd = msg.hwnd; hwnd != nullptr; hwnd = ::GetParent(hwnd)) {
        if (CWnd* wnd = CWnd::FromHandlePermanent(hwnd)) {
            if (wnd->PreTranslateMessage(&msg))
                return true;
        }
        if (!(::GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD))
            break;  // a top-level window ends the walk, not its owner
    }
    return false;
}

}  // namespace

void afxWindowAttached() {
    ++t_windows;
    platform::addPreTranslateHook(&kHookOwner, walkPreTranslateTree);
}

void afxWindowDetached() {
    if (t_windows > 0 && --t_windows == 0)
        platform::removePreTranslateHook(&kHookOwner);
}
