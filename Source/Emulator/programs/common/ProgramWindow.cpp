// The device programs' main window and their WinMain loop.
#include "programs/common/ProgramWindow.h"

RECT visibleDesktop() {
    SIPINFO info{};
    info.cbSize = sizeof(info);
    if (SHSipInfo(SPI_GETSIPINFO, 0, &info, 0))
        return info.rcVisibleDesktop;
    // Without an input panel the whole work area shows.
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

LRESULT ProgramWindow::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SETTINGCHANGE:
            // The input panel shown, hidden or resized, a rotation or a new work area: the
            // window follows what is left visible.
            updateScale();
            SHHandleWMSettingChange(window(), wParam, lParam, &m_activateInfo);
            return 0;
        case WM_CLOSE:
            DestroyWindow(window());
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return ProgramView::handle(msg, wParam, lParam);
    }
}

int runProgram(HINSTANCE instance, const ProgramDescription& description,
               const std::function<std::unique_ptr<ProgramWindow>()>& make) {
    if (HWND running = FindWindowW(description.windowClass, nullptr)) {
        SetForegroundWindow(running);
        return 0;
    }
    if (!ProgramView::registerClass(instance, description.windowClass))
        return 1;
    std::unique_ptr<ProgramWindow> program = make();
    const RECT area = visibleDesktop();
    HWND frame =
        CreateWindowExW(0, description.windowClass, description.title, WS_VISIBLE | WS_CLIPCHILDREN,
                        area.left, area.top, area.right - area.left, area.bottom - area.top,
                        nullptr, nullptr, instance, program.get());
    if (!frame)
        return 1;
    SetForegroundWindow(frame);
    SetFocus(frame);
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        platform::handleMessage(msg);
    }
    return static_cast<int>(msg.wParam);
}
