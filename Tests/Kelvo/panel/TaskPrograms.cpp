// The task switcher tests' windowed program.
#include "TaskPrograms.h"

#include <device/Programs.h>
#include <device/Scheduler.h>
#include <gtest/gtest.h>
#include <wchar16.h>

#include <atomic>
#include <mutex>
#include <string>

namespace tasktest {

namespace {

constexpr const WCHAR* kWindowClass = u"TaskTestWindow";
constexpr const WCHAR* kDocListClass = u"DocList";

std::atomic<bool> g_stubbornHoldOut{true};
std::mutex g_openedMutex;
std::vector<DWORD> g_started;                    // process ids
std::vector<std::vector<HWND>> g_openedWindows;  // by start, filled by each program

thread_local int t_openWindows = 0;
thread_local bool t_stubborn = false;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            if (t_stubborn && g_stubbornHoldOut)
                return 0;
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            if (GetParent(window) == nullptr && --t_openWindows == 0)
                PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

std::vector<std::u16string> split(const std::u16string& text, char16_t separator) {
    std::vector<std::u16string> parts;
    size_t start = 0;
    for (size_t end; (end = text.find(separator, start)) != std::u16string::npos; start = end + 1)
        parts.push_back(text.substr(start, end - start));
    parts.push_back(text.substr(start));
    return parts;
}

int windowsMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int) {
    // Window classes belong to the process that registers them.
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.lpszClassName = kWindowClass;
    RegisterClassW(&wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = kDocListClass;
    RegisterClassW(&wc);
    std::u16string description = commandLine;
    t_stubborn = !description.empty() && description[0] == u'!';
    if (t_stubborn)
        description.erase(0, 1);
    const size_t start = static_cast<size_t>(_wtoi(split(description, u'#')[0].c_str()));
    description = description.substr(description.find(u'#') + 1);
    std::vector<HWND> opened;
    for (const std::u16string& window : split(description, u';')) {
        const auto parts = split(window, u'/');
        const std::u16string marks = parts.size() > 1 ? parts[1] : u"";
        auto has = [&](char16_t mark) { return marks.find(mark) != std::u16string::npos; };
        const DWORD exStyle = has(u't') ? WS_EX_TOOLWINDOW : 0;
        const DWORD style = WS_POPUP | (has(u'h') ? 0 : WS_VISIBLE) | (has(u's') ? 0x00010000 : 0);
        HWND created = CreateWindowExW(exStyle, kWindowClass, parts[0].c_str(), style, 0, 0, 60, 60,
                                       nullptr, nullptr, nullptr, nullptr);
        if (created == nullptr)
            continue;
        ++t_openWindows;
        if (has(u'd')) {
            CreateWindowExW(0, kDocListClass, u"", WS_CHILD | WS_VISIBLE, 0, 0, 60, 60, created,
                            nullptr, nullptr, nullptr);
        }
        opened.push_back(created);
    }
    {
        std::lock_guard lock(g_openedMutex);
        g_openedWindows[start] = opened;
    }
    MSG msg{};
    while (t_openWindows > 0 && GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}

}  // namespace

void registerTaskPrograms() {
    g_stubbornHoldOut = true;
    device::registerProgram(u"Windows.exe", windowsMain);
}

std::vector<HWND> openWindows(const std::u16string& description) {
    size_t start = 0;
    {
        std::lock_guard lock(g_openedMutex);
        start = g_openedWindows.size();
        g_openedWindows.emplace_back();
    }
    const bool stubborn = !description.empty() && description[0] == u'!';
    // The program is told which start it is, to report its windows under it.
    const std::u16string line = (stubborn ? u"!" : u"") +
                                platform::fromUtf8(std::to_string(start)) + u"#" +
                                description.substr(stubborn ? 1 : 0);
    std::vector<WCHAR> commandLine(line.begin(), line.end());
    commandLine.push_back(0);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(u"Windows.exe", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, nullptr, &info)) {
        ADD_FAILURE() << "Windows.exe did not start";
        return {};
    }
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    EXPECT_TRUE(device::waitForOtherThreadsIdle(10000));
    std::lock_guard lock(g_openedMutex);
    return g_openedWindows[start];
}

void closeTaskPrograms() {
    g_stubbornHoldOut = false;
    std::vector<std::vector<HWND>> opened;
    {
        std::lock_guard lock(g_openedMutex);
        opened.swap(g_openedWindows);
    }
    for (const auto& windows : opened) {
        for (HWND window : windows)
            PostMessageW(window, WM_CLOSE, 0, 0);
    }
    EXPECT_TRUE(device::waitForAllProcesses(10000));
}

}  // namespace tasktest
