// CWnd: attaching objects to windows, routing messages, and the thin calls on its window.
#include "Wnd.h"

#include <mutex>
#include <unordered_map>

#include "ModuleState.h"
#include "PreTranslate.h"

namespace {

// The objects attached to windows, for this module.
struct HandleMap {
    std::mutex mutex;
    std::unordered_map<HWND, CWnd*> windows;
};

HandleMap& handleMap() {
    static HandleMap map;
    return map;
}

// The message being handled on this thread, for Default().
struct CurrentMessage {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};
thread_local CurrentMessage t_current;

// The object AfxCreationHook attaches to the next window this thread creates.
thread_local CWnd* t_creating = nullptr;
thread_local HHOOK t_creationHook = nullptr;

}  // namespace

// Binds the window being created to its object as soon as the window exists, so that the
// object routes WM_NCCREATE and WM_CREATE too.
LRESULT CALLBACK afxCreationHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_creating != nullptr) {
        CWnd* creating = t_creating;
        t_creating = nullptr;
        creating->routeFromCreation(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(t_creationHook, code, wParam, lParam);
}

LRESULT AfxCallWndProc(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CurrentMessage saved = t_current;
    t_current = {message, wParam, lParam};
    LRESULT result = 0;
    if (message == WM_NCDESTROY) {
        // The window's last message: let its own procedure see it, then let go of it.
        HWND hWnd = wnd->m_hWnd;
        WNDPROC super = wnd->m_pfnSuper;
        result = super ? CallWindowProcW(super, hWnd, message, wParam, lParam)
                       : DefWindowProcW(hWnd, message, wParam, lParam);
        wnd->Detach();
        wnd->m_pfnSuper = nullptr;
        wnd->PostNcDestroy();
    } else {
        result = wnd->WindowProc(message, wParam, lParam);
    }
    t_current = saved;
    return result;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
    if (wnd == nullptr)
        return DefWindowProcW(hWnd, message, wParam, lParam);
    return AfxCallWndProc(wnd, message, wParam, lParam);
}

AfxCreationHook::AfxCreationHook(CWnd* wnd)
    : m_outerCreating(t_creating), m_outerHook(t_creationHook) {
    t_creating = wnd;
    t_creationHook = SetWindowsHookExW(WH_CBT, afxCreationHook, nullptr, GetCurrentThreadId());
}

AfxCreationHook::~AfxCreationHook() {
    UnhookWindowsHookEx(t_creationHook);
    t_creating = m_outerCreating;
    t_creationHook = m_outerHook;
}

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (m_hWnd != nullptr && m_pfnSuper != nullptr) {
        // An object that dies before its window leaves the window to its own procedure.
        HWND hWnd = m_hWnd;
        UnsubclassWindow();
        ::DestroyWindow(hWnd);
    } else if (m_hWnd != nullptr) {
        Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    auto& map = handleMap();
    std::lock_guard lock(map.mutex);
    auto found = map.windows.find(hWnd);
    return found == map.windows.end() ? nullptr : found->second;
}

void CWnd::routeFromCreation(HWND hWnd) {
    Attach(hWnd);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    PreSubclassWindow();
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id, LPVOID param) {
    if (m_hWnd != nullptr)
        return FALSE;
    HWND hWnd = nullptr;
    {
        AfxCreationHook hook(this);
        hWnd = CreateWindowExW(
            exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
            rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), AfxGetInstanceHandle(), param);
    }
    if (hWnd == nullptr) {
        // A failed creation has destroyed the window already.
        Detach();
        m_pfnSuper = nullptr;
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id) {
    return CreateEx(0, className, windowName, style, rect, parent, id);
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::Attach(HWND hWnd) {
    if (hWnd == nullptr || m_hWnd != nullptr)
        return FALSE;
    auto& map = handleMap();
    std::lock_guard lock(map.mutex);
    if (map.windows.count(hWnd))
        return FALSE;  // one object per window
    map.windows[hWnd] = this;
    m_hWnd = hWnd;
    afxWindowAttached();
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr) {
        {
            auto& map = handleMap();
            std::lock_guard lock(map.mutex);
            map.windows.erase(hWnd);
        }
        afxWindowDetached();
    }
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!IsWindow(hWnd) || !Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    HWND item = parent ? ::GetDlgItem(parent->m_hWnd, static_cast<int>(id)) : nullptr;
    return item != nullptr && SubclassWindow(item);
}

HWND CWnd::UnsubclassWindow() {
    if (m_hWnd != nullptr && m_pfnSuper != nullptr) {
        SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        m_pfnSuper = nullptr;
    }
    return Detach();
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) {
        result = DefWindowProc(message, wParam, lParam);
    }
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_COMMAND && OnCommand(wParam, lParam)) {
        *result = 0;
        return TRUE;
    }
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM, LPARAM) {
    return FALSE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr)
        return CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(t_current.message, t_current.wParam, t_current.lParam);
}

void CWnd::Invalidate(BOOL erase) const {
    ::InvalidateRect(m_hWnd, nullptr, erase);
}

void CWnd::InvalidateRect(const RECT* rect, BOOL erase) const {
    ::InvalidateRect(m_hWnd, rect, erase);
}

void CWnd::ValidateRect(const RECT* rect) const {
    ::ValidateRect(m_hWnd, rect);
}

void CWnd::UpdateWindow() const {
    ::UpdateWindow(m_hWnd);
}

void CWnd::GetClientRect(LPRECT rect) const {
    ::GetClientRect(m_hWnd, rect);
}

void CWnd::GetWindowRect(LPRECT rect) const {
    ::GetWindowRect(m_hWnd, rect);
}

void CWnd::ClientToScreen(LPPOINT point) const {
    ::ClientToScreen(m_hWnd, point);
}

void CWnd::ScreenToClient(LPPOINT point) const {
    ::ScreenToClient(m_hWnd, point);
}

BOOL CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) const {
    return ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

BOOL CWnd::MoveWindow(const RECT& rect, BOOL repaint) const {
    return MoveWindow(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) const {
    return ::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : nullptr, x, y, cx, cy, flags);
}

BOOL CWnd::ShowWindow(int command) const {
    return ::ShowWindow(m_hWnd, command);
}

BOOL CWnd::IsWindowVisible() const {
    return ::IsWindowVisible(m_hWnd);
}

BOOL CWnd::EnableWindow(BOOL enable) const {
    return ::EnableWindow(m_hWnd, enable);
}

CWnd* CWnd::GetParent() const {
    return FromHandlePermanent(::GetParent(m_hWnd));
}

CWnd* CWnd::GetDlgItem(int id) const {
    return FromHandlePermanent(::GetDlgItem(m_hWnd, id));
}

int CWnd::GetDlgCtrlID() const {
    return ::GetDlgCtrlID(m_hWnd);
}

void CWnd::SetDlgItemText(int id, LPCWSTR text) const {
    ::SetDlgItemTextW(m_hWnd, id, text);
}

UINT CWnd::GetDlgItemText(int id, LPWSTR text, int maxCount) const {
    return ::GetDlgItemTextW(m_hWnd, id, text, maxCount);
}

void CWnd::CheckDlgButton(int id, UINT check) const {
    ::CheckDlgButton(m_hWnd, id, check);
}

UINT CWnd::IsDlgButtonChecked(int id) const {
    return ::IsDlgButtonChecked(m_hWnd, id);
}

LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendDlgItemMessageW(m_hWnd, id, message, wParam, lParam);
}

HDC CWnd::GetDC() const {
    return ::GetDC(m_hWnd);
}

int CWnd::ReleaseDC(HDC hdc) const {
    return ::ReleaseDC(m_hWnd, hdc);
}

void CWnd::SetWindowText(LPCWSTR text) const {
    ::SetWindowTextW(m_hWnd, text);
}

int CWnd::GetWindowText(LPWSTR text, int maxCount) const {
    return ::GetWindowTextW(m_hWnd, text, maxCount);
}

void CWnd::GetWindowText(std::u16string& text) const {
    const int length = GetWindowTextLength();
    text.assign(static_cast<size_t>(length) + 1, u'\0');
    text.resize(static_cast<size_t>(GetWindowText(text.data(), length + 1)));
}

int CWnd::GetWindowTextLength() const {
    return ::GetWindowTextLengthW(m_hWnd);
}

DWORD CWnd::GetStyle() const {
    return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE));
}

DWORD CWnd::GetExStyle() const {
    return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
}

CWnd* CWnd::SetCapture() const {
    return FromHandlePermanent(::SetCapture(m_hWnd));
}

HWND CWnd::GetCapture() {
    return ::GetCapture();
}

CWnd* CWnd::SetFocus() const {
    return FromHandlePermanent(::SetFocus(m_hWnd));
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC timerProc) const {
    return ::SetTimer(m_hWnd, id, elapse, timerProc);
}

BOOL CWnd::KillTimer(UINT_PTR id) const {
    return ::KillTimer(m_hWnd, id);
}
