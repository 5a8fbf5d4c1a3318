// The device programs' views: buffered painting and input dispatch.
#include "programs/common/ProgramView.h"

#include <algorithm>

#include "programs/common/GdiScope.h"

namespace {

ProgramView* viewOf(HWND hwnd) {
    return reinterpret_cast<ProgramView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

POINT pointOf(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

}  // namespace

int screenScale() {
    int dpi = 96;
    if (HDC screen = GetDC(nullptr)) {
        dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    return std::max(1, dpi / 96);
}

FontHandle makeProgramFont(int pixels, int scale, FontWeight weight, FontStyle style, FontLine line,
                           const WCHAR* face) {
    LOGFONTW font{};
    font.lfHeight = -pixels * scale;
    font.lfWeight = weight == FontWeight::Bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = style == FontStyle::Italic;
    font.lfUnderline = line == FontLine::Underline;
    for (int i = 0; face[i] != 0 && i < LF_FACESIZE - 1; ++i)
        font.lfFaceName[i] = face[i];
    return FontHandle(CreateFontIndirectW(&font));
}

void ProgramView::invalidate() const {
    if (m_window)
        InvalidateRect(m_window, nullptr, FALSE);
}

void ProgramView::updateScale() {
    m_scale = screenScale();
}

LRESULT ProgramView::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(m_window, msg, wParam, lParam);
}

void ProgramView::paintBuffered() {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(m_window, &ps);
    if (!dc)
        return;
    MemoryDc memory(CreateCompatibleDC(dc));
    BitmapHandle bitmap(memory && m_width > 0 && m_height > 0
                            ? CreateCompatibleBitmap(dc, m_width, m_height)
                            : nullptr);
    if (bitmap) {
        Selection selected(memory.get(), bitmap.get());
        paint(memory.get(), m_width, m_height);
        BitBlt(dc, 0, 0, m_width, m_height, memory.get(), 0, 0, SRCCOPY);
    } else {
        // Without memory for a bitmap the page is drawn straight into the window.
        paint(dc, m_width, m_height);
    }
    EndPaint(m_window, &ps);
}

LRESULT ProgramView::dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SIZE:
            m_width = LOWORD(lParam);
            m_height = HIWORD(lParam);
            resized(m_width, m_height);
            invalidate();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // painting covers the whole window
        case WM_PAINT:
            paintBuffered();
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(m_window);
            SetCapture(m_window);
            m_stylusDown = true;
            stylusDown(pointOf(lParam));
            return 0;
        case WM_MOUSEMOVE:
            if (m_stylusDown)
                stylusMove(pointOf(lParam));
            return 0;
        case WM_LBUTTONUP:
            if (!m_stylusDown)
                return 0;
            m_stylusDown = false;
            ReleaseCapture();
            stylusUp(pointOf(lParam));
            return 0;
        case WM_CAPTURECHANGED:
            // The stroke was taken away (another window captured the stylus): it ends unfinished.
            m_stylusDown = false;
            return 0;
        case WM_KEYDOWN:
            keyDown(static_cast<UINT>(wParam));
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTALLKEYS;
        case WM_TIMER:
            timer(wParam);
            return 0;
        default:
            return handle(msg, wParam, lParam);
    }
}

LRESULT CALLBACK programViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* view = static_cast<ProgramView*>(create->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
        if (view) {
            view->m_window = hwnd;
            view->updateScale();
        }
    }
    ProgramView* view = viewOf(hwnd);
    if (msg == WM_NCDESTROY)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (view == nullptr)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY)
        view->m_window = nullptr;
    if (msg == WM_CREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        view->m_instance = create->hInstance;
        view->m_width = create->cx;
        view->m_height = create->cy;
        view->created();
        return 0;
    }
    return view->dispatch(msg, wParam, lParam);
}

bool ProgramView::registerClass(HINSTANCE instance, const WCHAR* className) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = programViewProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
