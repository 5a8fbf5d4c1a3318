// Running a piece of work on the thread that owns a window: the shell's and the input panel
// host's windows take it as a private message, so that other threads (the front end, the
// script runner, other programs) reach the shell only on its own thread.
#pragma once

#include <windows.h>

#include <functional>

inline constexpr UINT WM_THREAD_CALL = WM_APP + 0x50;

// Calls `work` at once on the window's thread, else sends it there and waits until done.
inline void runOnWindowThread(HWND window, const std::function<void()>& work) {
    if (window == nullptr || GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
        work();
        return;
    }
    SendMessageW(window, WM_THREAD_CALL, 0, reinterpret_cast<LPARAM>(&work));
}

// For window procedures: true when the message was a thread call, now done.
inline bool handleThreadCall(UINT message, LPARAM lParam) {
    if (message != WM_THREAD_CALL)
        return false;
    (*reinterpret_cast<const std::function<void()>*>(lParam))();
    return true;
}
