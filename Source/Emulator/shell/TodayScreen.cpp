// The Today screen.
#include "shell/TodayScreen.h"

#include <shellapi.h>
#include <wchar16.h>

#include "device/DeviceNames.h"

namespace {

constexpr const WCHAR* kTodayClass = u"DesktopExplorerWindow";
constexpr size_t kMaxShortcuts = 8;
constexpr int kMargin = 8;
constexpr int kDateTop = 8;
constexpr int kOwnerTop = 30;
constexpr int kShortcutsTop = 64;
constexpr int kShortcutHeight = 22;
constexpr COLORREF kBackground = RGB(235, 240, 250);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kLink = RGB(0, 40, 140);

}  // namespace

std::u16string ownerName() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kOwnerKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return u"";
    WCHAR block[kOwnerBlockSize / 2] = {};
    DWORD size = sizeof(block);
    LONG status =
        RegQueryValueExW(key, u"Owner", nullptr, nullptr, reinterpret_cast<BYTE*>(block), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return u"";
    // The name ends at its terminator, and at the latest where the company begins.
    const size_t limit = std::min<size_t>(size / 2, kOwnerCompanyOffset / 2);
    size_t length = 0;
    while (length < limit && block[length] != 0)
        ++length;
    return std::u16string(block, length);
}

std::vector<TodayShortcut> shortcutsIn(std::u16string_view folder, size_t limit) {
    std::vector<TodayShortcut> found;
    const std::u16string base(folder);
    WIN32_FIND_DATAW data{};
    HANDLE search = FindFirstFileW((base + u"\\*.lnk").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return found;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const std::u16string file(data.cFileName);
        const std::u16string path = base + u"\\" + file;
        WCHAR target[MAX_PATH] = {};
        if (!SHGetShortcutTarget(path.c_str(), target, MAX_PATH))
            continue;
        found.push_back({file.substr(0, file.size() - 4), path, target});
    } while (found.size() < limit && FindNextFileW(search, &data));
    FindClose(search);
    return found;
}

TodayScreen::~TodayScreen() {
    if (m_window != nullptr)
        DestroyWindow(m_window);
}

bool TodayScreen::create(const RECT& workArea) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kTodayClass;
    RegisterClassW(&wc);
    m_font = makeShellFont(12, FontWeight::Normal);
    m_bold = makeShellFont(13, FontWeight::Bold);
    reload();
    m_window = CreateWindowExW(WS_EX_TOOLWINDOW, kTodayClass, u"Today", WS_POPUP | WS_VISIBLE,
                               workArea.left, workArea.top, workArea.right - workArea.left,
                               workArea.bottom - workArea.top, nullptr, nullptr,
                               GetModuleHandleW(nullptr), this);
    return m_window != nullptr;
}

void TodayScreen::move(const RECT& workArea) {
    MoveWindow(m_window, workArea.left, workArea.top, workArea.right - workArea.left,
               workArea.bottom - workArea.top, TRUE);
}

void TodayScreen::reload() {
    m_owner = ownerName();
    m_shortcuts = shortcutsIn(kProgramsFolder, kMaxShortcuts);
    if (m_window != nullptr)
        InvalidateRect(m_window, nullptr, TRUE);
}

RECT TodayScreen::shortcutRect(size_t index) const {
    RECT client{};
    GetClientRect(m_window, &client);
    const int top = kShortcutsTop + static_cast<int>(index) * kShortcutHeight;
    return RECT{kMargin, top, client.right - kMargin, top + kShortcutHeight};
}

void TodayScreen::paint() {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(m_window, &ps);
    RECT client{};
    GetClientRect(m_window, &client);
    HBRUSH background = CreateSolidBrush(kBackground);
    FillRect(dc, &client, background);
    DeleteObject(background);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kText);

    SYSTEMTIME now{};
    GetLocalTime(&now);
    const std::u16string date = longDateText(now);
    HGDIOBJ old = SelectObject(dc, m_bold.get());
    RECT line{kMargin, kDateTop, client.right - kMargin, kDateTop + 20};
    DrawTextW(dc, date.c_str(), static_cast<int>(date.size()), &line,
              DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, m_font.get());
    const std::u16string owner = m_owner.empty() ? u"Owner: (not set)" : u"Owner: " + m_owner;
    line = {kMargin, kOwnerTop, client.right - kMargin, kOwnerTop + 20};
    DrawTextW(dc, owner.c_str(), static_cast<int>(owner.size()), &line,
              DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);

    SetTextColor(dc, kLink);
    for (size_t i = 0; i < m_shortcuts.size(); ++i) {
        RECT r = shortcutRect(i);
        const std::u16string& name = m_shortcuts[i].name;
        DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &r,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    SelectObject(dc, old);
    EndPaint(m_window, &ps);
}

void TodayScreen::tapped(POINT point) {
    for (size_t i = 0; i < m_shortcuts.size(); ++i) {
        RECT r = shortcutRect(i);
        if (!PtInRect(&r, point))
            continue;
        SHELLEXECUTEINFO open{};
        open.cbSize = sizeof(open);
        open.fMask = SEE_MASK_FLAG_NO_UI;
        open.lpVerb = u"open";
        open.lpFile = m_shortcuts[i].path.c_str();
        open.nShow = SW_SHOWNORMAL;
        if (!ShellExecuteEx(&open))
            MessageBeep(MB_ICONASTERISK);
        return;
    }
}

LRESULT CALLBACK TodayScreen::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TodayScreen*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (message) {
        case WM_PAINT:
            if (self != nullptr) {
                self->m_window = hwnd;
                self->paint();
                return 0;
            }
            break;
        case WM_LBUTTONUP:
            if (self != nullptr)
                self->tapped(
                    POINT{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))});
            return 0;
        case WM_NCDESTROY:
            if (self != nullptr)
                self->m_window = nullptr;
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
