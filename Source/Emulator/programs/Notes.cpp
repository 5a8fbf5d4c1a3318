// Notes' program: its entry point, and the top-level window that fills the work area (moving
// with it when the shell or a rotation changes it) and hands the focus to its edit control: a
// multi-line CFarsiEdit with the vertical scroll bar, Enter making paragraphs, each paragraph
// aligned by its own direction.
#include "programs/Notes.h"

#include <afxwin.h>
#include <device/Programs.h>
#include <windows.h>

#include <algorithm>
#include <memory>

#include "farsiedit/CFarsiEdit.h"
#include "programs/ProgramIcons.h"

namespace {

constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | FES_MULTILINE | FES_WANTRETURN | FES_VSCROLL |
                             FES_BYDIRECTION | FES_RIGHT;
// The text's font: 9 points.
constexpr int kFontPixelsAt96Dpi = 12;

// What the top-level window holds: itself bound to the framework (the edit control is created
// as a child of a framework window) and the edit control.
struct NotesWindow {
    CWnd frame;
    CFarsiEdit edit;
};

NotesWindow* notesOf(HWND frame) {
    return reinterpret_cast<NotesWindow*>(GetWindowLongPtrW(frame, GWLP_USERDATA));
}

HWND editOf(HWND frame) {
    return GetDlgItem(frame, kNotesEditId);
}

int fontHeight() {
    int dpi = 96;
    if (HDC screen = GetDC(nullptr)) {
        dpi = std::max(GetDeviceCaps(screen, LOGPIXELSY), 96);
        ReleaseDC(nullptr, screen);
    }
    return -(kFontPixelsAt96Dpi * dpi / 96);
}

bool createEdit(HWND frame, const CREATESTRUCTW& create) {
    auto notes = std::make_unique<NotesWindow>();
    notes->frame.Attach(frame);
    if (!notes->edit.Create(kEditStyle, RECT{0, 0, create.cx, create.cy}, &notes->frame,
                            kNotesEditId)) {
        notes->frame.Detach();
        return false;
    }
    notes->edit.SetFont(fontHeight(), FALSE, FALSE, FALSE);
    SetWindowLongPtrW(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(notes.release()));
    return true;
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
        case WM_CREATE:
            return createEdit(hwnd, *reinterpret_cast<const CREATESTRUCTW*>(lParam)) ? 0 : -1;
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
        case WM_NCDESTROY: {
            // The edit control's window is gone by now; its object goes with the frame's.
            std::unique_ptr<NotesWindow> notes(notesOf(hwnd));
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            if (notes)
                notes->frame.Detach();
            return DefWindowProcW(hwnd, msg, wParam, lParam);
        }
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
    if (!registerNotesWindowClass(instance))
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
