// Notes' program: its entry point, and the top-level window that fills the work area (moving
// with it when the shell or a rotation changes it) and hands the focus to the text view.
#include "programs/Notes.h"

#include <device/Programs.h>
#include <windows.h>

#include "programs/NotesEditWindow.h"
#include "programs/ProgramIcons.h"

namespace {

HWND editOf(HWND frame) {
    return GetDlgItem(frame, kNotesEditId);
}

RECT workArea() {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

void fitToWorkArea(HWND frame) {
    const RECT area = workArea();
    MoveWindow(frame, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

LRESULT CALLBACK notesWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE: {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            HWND edit = CreateWindowExW(0, kNotesEditClass, u"", WS_CHILD | WS_VISIBLE, 0, 0,
                                        create->cx, create->cy, hwnd,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kNotesEditId)),
                                        create->hInstance, nullptr);
            return edit ? 0 : -1;
        }
        case WM_SIZE:
            MoveWindow(editOf(hwnd), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE)
                SetFocus(editOf(hwnd));
            return 0;
        case WM_SETFOCUS:
            SetFocus(editOf(hwnd));
            return 0;
        case WM_SETTINGCHANGE:
            // A rotation or a new work area from the shell: the window follows it.
            fitToWorkArea(hwnd);
            return 0;
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

bool registerNotesWindowClass(HINSTANCE instance) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = notesWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = kNotesWindowClass;
    return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

int notesMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    // One Notes on the device: starting it again brings the running one to the front.
    if (HWND running = FindWindowW(kNotesWindowClass, nullptr)) {
        SetForegroundWindow(running);
        return 0;
    }
    if (!registerNotesEditClass(instance) || !registerNotesWindowClass(instance))
        return 1;
    const RECT area = workArea();
    HWND frame = CreateWindowExW(0, kNotesWindowClass, kNotesTitle, WS_VISIBLE | WS_CLIPCHILDREN,
                                 area.left, area.top, area.right - area.left,
                                 area.bottom - area.top, nullptr, nullptr, instance, nullptr);
    if (!frame)
        return 1;
    SetForegroundWindow(frame);
    SetFocus(editOf(frame));
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (platform::preTranslateMessage(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace

void registerNotesProgram() {
    device::registerProgram(u"notes.exe", notesMain, kNotesIcon);
}
