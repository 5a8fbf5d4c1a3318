// The Today screen.
#include "shell/TodayScreen.h"

#include <shellapi.h>
#include <wchar16.h>

#include "device/DeviceNames.h"
#include "shell/ShellWindow.h"

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

bool TodayScreen::create(const RECT& workArea) {
    m_font = makeShellFont(12, FontWeight::Normal);
    m_bold = makeShellFont(13, FontWeight::Bold);
    reload();
    return createShellWindow(*this, kTodayClass, WS_EX_TOOLWINDOW, u"Today", workArea);
}

void TodayScreen::move(const RECT& workArea) {
    MoveWindow(workArea);
}

void TodayScreen::reload() {
    m_owner = ownerName();
    m_shortcuts = shortcutsIn(kProgramsFolder, kMaxShortcuts);
    if (m_hWnd != nullptr)
        Invalidate();
}

RECT TodayScreen::shortcutRect(size_t index) const {
    RECT client{};
    GetClientRect(&client);
    const int top = kShortcutsTop + static_cast<int>(index) * kShortcutHeight;
    return RECT{kMargin, top, client.right - kMargin, top + kShortcutHeight};
}

void TodayScreen::OnPaint() {
    CPaintDC dc(this);
    const RECT client = beginShellPaint(dc, *this, kBackground, kText, m_bold.get());

    SYSTEMTIME now{};
    GetLocalTime(&now);
    const std::u16string date = longDateText(now);
    RECT line{kMargin, kDateTop, client.right - kMargin, kDateTop + 20};
    dc.DrawText(date.c_str(), static_cast<int>(date.size()), &line,
                DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    dc.SelectObject(m_font.get());
    const std::u16string owner = m_owner.empty() ? u"Owner: (not set)" : u"Owner: " + m_owner;
    line = {kMargin, kOwnerTop, client.right - kMargin, kOwnerTop + 20};
    dc.DrawText(owner.c_str(), static_cast<int>(owner.size()), &line,
                DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);

    dc.SetTextColor(kLink);
    for (size_t i = 0; i < m_shortcuts.size(); ++i) {
        RECT r = shortcutRect(i);
        const std::u16string& name = m_shortcuts[i].name;
        dc.DrawText(name.c_str(), static_cast<int>(name.size()), &r,
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}

void TodayScreen::OnLButtonUp(UINT, CPoint point) {
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
