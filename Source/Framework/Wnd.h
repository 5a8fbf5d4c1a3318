// CWnd: the framework's window object. It owns no window by itself: it is attached to an HWND
// (created through it, or subclassed later) and routes the window's messages through its
// class's message map, then to the window's original procedure.
#pragma once

#include <windows.h>

#include <string>

#include "Types.h"

class CWnd {
public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The framework object attached to a window, or null for a window it does not manage.
    static CWnd* FromHandlePermanent(HWND hWnd);

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return GetSafeHwnd(); }

    // Creates the window; the object receives its messages from the very first (WM_CREATE
    // included) whatever procedure the window class names.
    virtual BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                          const RECT& rect, CWnd* parent, UINT id, LPVOID param = nullptr);
    BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT id);
    virtual BOOL DestroyWindow();

    // Attach/Detach only bind the object to a handle; SubclassWindow also routes the
    // window's messages to it.
    BOOL Attach(HWND hWnd);
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    // Messages.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // Called by the message loop before a message is translated; true means it was handled.
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Painting, geometry, visibility.
    void Invalidate(BOOL erase = TRUE) const;
    void InvalidateRect(const RECT* rect, BOOL erase = TRUE) const;
    void ValidateRect(const RECT* rect) const;
    void UpdateWindow() const;
    void GetClientRect(LPRECT rect) const;
    void GetWindowRect(LPRECT rect) const;
    void ClientToScreen(LPPOINT point) const;
    void ScreenToClient(LPPOINT point) const;
    BOOL MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) const;
    BOOL MoveWindow(const RECT& rect, BOOL repaint = TRUE) const;
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) const;
    BOOL ShowWindow(int command) const;
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL enable = TRUE) const;
    CWnd* GetParent() const;
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const;
    // A dialog's controls by id.
    void SetDlgItemText(int id, LPCWSTR text) const;
    UINT GetDlgItemText(int id, LPWSTR text, int maxCount) const;
    void CheckDlgButton(int id, UINT check) const;
    UINT IsDlgButtonChecked(int id) const;
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    HDC GetDC() const;
    int ReleaseDC(HDC hdc) const;
    void SetWindowText(LPCWSTR text) const;
    int GetWindowText(LPWSTR text, int maxCount) const;
    // The whole window text, however long.
    void GetWindowText(std::u16string& text) const;
    int GetWindowTextLength() const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;

    // Stylus, focus, timers.
    CWnd* SetCapture() const;
    static HWND GetCapture();
    CWnd* SetFocus() const;
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC timerProc = nullptr) const;
    BOOL KillTimer(UINT_PTR id) const;

    HWND m_hWnd = nullptr;

protected:
    // The routing of one message: the message maps (OnWndMsg), else default processing.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Looks the message up in the class's message map; false when no entry takes it.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // WM_COMMAND not taken by a map entry.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // The window's own procedure (the one it had before the framework subclassed it).
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled now, from inside a handler.
    LRESULT Default();
    // Called as the object is attached to a window it will route (before WM_CREATE when
    // the framework creates it).
    virtual void PreSubclassWindow() {}
    // Called after the window's last message (WM_NCDESTROY), once the object is detached.
    virtual void PostNcDestroy() {}

    WNDPROC m_pfnSuper = nullptr;

private:
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK afxCreationHook(int, WPARAM, LPARAM);
    friend LRESULT AfxCallWndProc(CWnd*, UINT, WPARAM, LPARAM);
    void routeFromCreation(HWND hWnd);
};

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Routes one message through an object already attached to its window, as AfxWndProc does
// (for a message that reached the window before the object was attached).
LRESULT AfxCallWndProc(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam);

// While one lives, the next window the thread creates is attached to `wnd` from its very first
// message on, whoever creates it (CreateEx, the platform's dialog or property sheet calls).
class AfxCreationHook {
public:
    explicit AfxCreationHook(CWnd* wnd);
    ~AfxCreationHook();
    AfxCreationHook(const AfxCreationHook&) = delete;
    AfxCreationHook& operator=(const AfxCreationHook&) = delete;

private:
    CWnd* m_outerCreating;
    HHOOK m_outerHook;
};
