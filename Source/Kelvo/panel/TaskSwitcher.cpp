// The task list and the task keys' actions.
#include "panel/TaskSwitcher.h"

#include "panel/MyPanel.h"
#include "panel/SpecialKeys.h"

int taskCount = 0;

namespace {

// A window whose style has this bit is not an application's (the shell sets it on its own).
constexpr LONG kNotATaskStyle = 0x00010000;
// Panel programs that keep their documents in a list window: a later window of the same
// process replaces the list in its slot.
constexpr const WCHAR* kDocumentListClass = u"DocList";
// How long closing one task waits for its process to end; the pause after closing all.
constexpr DWORD kCloseWaitMs = 1000;
constexpr DWORD kCloseAllPauseMs = 1000;

DWORD processOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

bool hasDocumentList(HWND window) {
    HWND child = GetWindow(window, GW_CHILD);
    WCHAR className[kTaskTitleRoom + 1] = {};
    return child != nullptr && GetClassNameW(child, className, kTaskTitleRoom + 1) > 0 &&
           lstrcmpW(className, kDocumentListClass) == 0;
}

void closeProcessWindows(DWORD process) {
    EnumWindows(CloseProcessWindowsProc, static_cast<LPARAM>(process));
}

// The list is rebuilt and the whole face painted again to show it.
void refreshAndRepaint(CMyPanel& panel) {
    RefreshTaskList(panel);
    if (panel.GetSafeHwnd() != nullptr)
        panel.Invalidate(TRUE);
}

}  // namespace

void RefreshTaskList(CMyPanel& panel) {
    panel.taskWnd.fill(nullptr);
    taskCount = 0;
    EnumWindows(TaskEnumProc, reinterpret_cast<LPARAM>(&panel));
}

BOOL CALLBACK TaskEnumProc(HWND window, LPARAM lParam) {
    CMyPanel& panel = *reinterpret_cast<CMyPanel*>(lParam);
    if (taskCount >= static_cast<int>(panel.taskWnd.size()))
        return FALSE;
    if ((GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) ||
        (GetWindowLongW(window, GWL_STYLE) & kNotATaskStyle) || !IsWindowVisible(window))
        return TRUE;
    WCHAR title[kTaskTitleRoom + 1] = {};
    if (GetWindowTextW(window, title, kTaskTitleRoom + 1) == 0)
        return TRUE;
    const DWORD process = processOf(window);
    for (int slot = 0; slot < taskCount; ++slot) {
        HWND listed = panel.taskWnd[slot];
        if (processOf(listed) != process)
            continue;
        if (hasDocumentList(listed)) {
            panel.taskWnd[slot] = window;
            return TRUE;
        }
        WCHAR listedTitle[kTaskTitleRoom + 1] = {};
        GetWindowTextW(listed, listedTitle, kTaskTitleRoom + 1);
        if (lstrcmpW(listedTitle, title) == 0)
            return TRUE;
    }
    panel.taskWnd[taskCount++] = window;
    return TRUE;
}

BOOL CALLBACK CloseProcessWindowsProc(HWND window, LPARAM processId) {
    if (processOf(window) == static_cast<DWORD>(processId))
        PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

void OnTaskKey(CMyPanel& panel) {
    if (panel.pressedKey == nullptr)
        return;
    const WORD slot = panel.pressedKey->param;
    const BYTE action = panel.pressedKey->vk;
    switch (action) {
        case kTaskCloseAll:
            for (HWND window : panel.taskWnd) {
                if (window == nullptr)
                    break;
                if (IsWindow(window))
                    closeProcessWindows(processOf(window));
            }
            // The old list stays until the next refresh; the pause lets the programs go.
            Sleep(kCloseAllPauseMs);
            return;
        case kTaskDesktop:
            ShowDesktop();
            return;
        case kTaskRefresh:
            refreshAndRepaint(panel);
            return;
        default:
            break;
    }
    if (slot >= panel.taskWnd.size())
        return;
    HWND window = panel.taskWnd[slot];
    if (window == nullptr) {
        MessageBeep(MB_ICONASTERISK);
        return;
    }
    if (!IsWindow(window)) {
        refreshAndRepaint(panel);
        return;
    }
    if (action == kTaskActivate) {
        SetForegroundWindow(window);
        return;
    }
    const DWORD process = processOf(window);
    HANDLE opened = OpenProcess(0, FALSE, process);
    closeProcessWindows(process);
    if (opened == nullptr)
        return;
    WaitForSingleObject(opened, kCloseWaitMs);
    CloseHandle(opened);
    refreshAndRepaint(panel);
}
