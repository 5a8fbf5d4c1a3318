// The task switcher face: which top-level windows are the running applications (in the
// system's order, one slot per application unless its windows have different titles), and
// the task keys that close one or all of them, bring one to the front, show the desktop or
// refresh the list.
#pragma once

#include <windows.h>

class CMyPanel;

// A task key's action (its vk); any value above kTaskRefresh closes, as kTaskClose does.
inline constexpr BYTE kTaskClose = 0;
inline constexpr BYTE kTaskActivate = 1;
inline constexpr BYTE kTaskCloseAll = 2;
inline constexpr BYTE kTaskDesktop = 3;
inline constexpr BYTE kTaskRefresh = 4;

// Window titles and class names are read with room for this many characters.
inline constexpr int kTaskTitleRoom = 49;

// The filled slots of the panel's taskWnd during and after an enumeration.
extern int taskCount;

// Clears the 20 slots and lists the windows again (EnumWindows with TaskEnumProc).
void RefreshTaskList(CMyPanel& panel);
// The EnumWindows callback: lists `window` in the panel (lParam) unless a filter leaves it out
// or its process already has a slot. FALSE once all 20 slots are filled.
BOOL CALLBACK TaskEnumProc(HWND window, LPARAM panel);
// The action of the panel's pressedKey, a KF_TASKS key.
void OnTaskKey(CMyPanel& panel);
// The EnumWindows callback that asks every top-level window of process lParam to close.
BOOL CALLBACK CloseProcessWindowsProc(HWND window, LPARAM processId);
