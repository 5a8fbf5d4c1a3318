// A window of a built-in device program, as a C++ object: it paints through a memory bitmap so
// that the screen never shows a half-drawn page, and hands the stylus (captured from press to
// release), keys and timers to the program's own class. ProgramWindow makes one the program's
// main window; a program may put others inside it.
#pragma once

#include <windows.h>

class ProgramView {
public:
    ProgramView() = default;
    virtual ~ProgramView() = default;
    ProgramView(const ProgramView&) = delete;
    ProgramView& operator=(const ProgramView&) = delete;

    HWND window() const { return m_window; }
    HINSTANCE instance() const { return m_instance; }
    // Pixels per 1/96 inch: 1 on a 96-dpi screen, 2 on a 192-dpi one.
    int scale() const { return m_scale; }

    // Registers a window class whose windows are views: the view object comes as the
    // creation parameter of CreateWindowExW. False when the class cannot be registered.
    static bool registerClass(HINSTANCE instance, const WCHAR* className);

protected:
    // Draws the whole client area (width x height) into `dc`.
    virtual void paint(HDC dc, int width, int height) = 0;
    virtual void created() {}
    virtual void resized(int /*width*/, int /*height*/) {}
    virtual void stylusDown(POINT /*point*/) {}
    virtual void stylusMove(POINT /*point*/) {}
    virtual void stylusUp(POINT /*point*/) {}
    virtual void keyDown(UINT /*vk*/) {}
    virtual void timer(UINT_PTR /*id*/) {}
    // The messages a view does not handle; the default passes them to DefWindowProcW.
    virtual LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);

    void invalidate() const;
    void updateScale();
    int clientWidth() const { return m_width; }
    int clientHeight() const { return m_height; }

private:
    friend LRESULT CALLBACK programViewProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    void paintBuffered();

    HWND m_window = nullptr;
    HINSTANCE m_instance = nullptr;
    int m_scale = 1;
    int m_width = 0;
    int m_height = 0;
    bool m_stylusDown = false;
};

// The scale of the screen's dots per inch against 96 (at least 1).
int screenScale();
