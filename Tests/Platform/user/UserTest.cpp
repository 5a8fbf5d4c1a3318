// The recording window procedure and the pumps shared by the window manager's tests.
#include "UserTest.h"

namespace usertest {

Recorder& recorder() {
    static Recorder r;
    return r;
}

LRESULT CALLBACK recordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    recorder().add(Seen{hwnd, msg, wParam, lParam, GetCurrentThreadId()});
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void registerRecordingClass(LPCWSTR name, UINT style, HBRUSH background) {
    WNDCLASSW wc{};
    wc.style = style;
    wc.lpfnWndProc = recordingProc;
    wc.lpszClassName = name;
    wc.hbrBackground = background;
    RegisterClassW(&wc);
}

HWND makeWindow(DWORD style, int x, int y, int w, int h, HWND parent, DWORD exStyle, int id) {
    return CreateWindowExW(exStyle, u"Rec", u"", style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

bool eventually(const std::function<bool()>& done) {
    for (int i = 0; i < 10000; ++i) {
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

void pump() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

std::vector<MSG> drain() {
    std::vector<MSG> out;
    MSG m;
    while (out.size() < 1000 && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        out.push_back(m);
        // A WM_PAINT stays until the window is validated.
        if (m.message == WM_PAINT)
            ValidateRect(m.hwnd, nullptr);
    }
    return out;
}

}  // namespace usertest
