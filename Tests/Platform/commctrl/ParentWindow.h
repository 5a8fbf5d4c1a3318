// A parent window for common control tests that records the notifications its controls send
// (WM_NOTIFY codes, WM_HSCROLL and WM_VSCROLL codes with positions) and may refuse a tab
// change; with the stylus helpers of the test thread.
#pragma once

#include <device/Input.h>
#include <windows.h>

#include <vector>

#include "DeviceTest.h"

struct Notice {
    UINT message;
    UINT code;
    int position;  // WM_HSCROLL / WM_VSCROLL: the high word of wParam
    bool operator==(const Notice&) const = default;
};

class ParentWindow {
public:
    ParentWindow();
    ~ParentWindow();
    ParentWindow(const ParentWindow&) = delete;
    ParentWindow& operator=(const ParentWindow&) = delete;

    HWND hwnd() const { return m_hwnd; }
    HWND child(LPCWSTR className, DWORD style, int x, int y, int width, int height, int id = 1);

    std::vector<Notice> notices;
    bool refuseTabChange = false;

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd = nullptr;
};

// Dispatches every message waiting for the test thread.
void pumpMessages();
// The stylus down, moved and up at screen points, each dispatched.
void stylusDrag(POINT from, POINT to);
void stylusTap(int x, int y);
