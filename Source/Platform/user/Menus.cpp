// Menu building: creating and destroying menus, adding, inserting and removing items, and
// their enabled and checked states, addressed by position or by command (searched through
// submenus as on Windows).
#include <algorithm>
#include <map>

#include "kernel/DeviceReset.h"
#include "user/ClassTable.h"
#include "user/MenuTable.h"
#include "winbase.h"

namespace platform::user {
namespace {

struct MenuTable {
    std::map<uintptr_t, Menu> menus;
    uintptr_t next = 0x20010;
};

MenuTable& menus() {
    static auto* t = new MenuTable;
    return *t;
}

// A fresh device has no menus.
const bool resetRegistered = addResetStep(ResetStage::Windows, [] {
    Lock lock = lockState();
    menus().menus.clear();
});

HMENU createMenu(bool popup) {
    Lock lock = lockState();
    MenuTable& t = menus();
    uintptr_t value = t.next;
    t.next += 4;
    t.menus[value].popup = popup;
    return reinterpret_cast<HMENU>(value);
}

Menu* menuOrFail(HMENU menu) {
    Menu* m = findMenu(menu);
    if (!m)
        setError(ERROR_INVALID_MENU_HANDLE);
    return m;
}

// The item named by position or command; with MF_BYCOMMAND the search goes into submenus.
MenuItem* findItem(Menu& m, UINT which, UINT flags, Menu** holder = nullptr,
                   size_t* index = nullptr) {
    if (flags & MF_BYPOSITION) {
        if (which >= m.items.size())
            return nullptr;
        if (holder)
            *holder = &m;
        if (index)
            *index = which;
        return &m.items[which];
    }
    for (size_t i = 0; i < m.items.size(); ++i) {
        MenuItem& item = m.items[i];
        if (!(item.flags & MF_POPUP) && item.id == which) {
            if (holder)
                *holder = &m;
            if (index)
                *index = i;
            return &item;
        }
    }
    for (MenuItem& item : m.items) {
        if (!(item.flags & MF_POPUP))
            continue;
        Menu* sub = findMenu(item.submenu);
        if (!sub || sub == &m)
            continue;
        if (MenuItem* found = findItem(*sub, which, flags, holder, index))
            return found;
    }
    return nullptr;
}

bool makeItem(UINT flags, UINT_PTR id, LPCWSTR text, MenuItem& item) {
    if (flags & (MF_BITMAP | MF_OWNERDRAW)) {
        setError(ERROR_NOT_SUPPORTED);
        return false;
    }
    item.flags = flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP |
                          MF_MENUBREAK | MF_MENUBARBREAK | MF_DEFAULT);
    if (flags & MF_POPUP) {
        item.submenu = reinterpret_cast<HMENU>(id);
        if (!findMenu(item.submenu)) {
            setError(ERROR_INVALID_MENU_HANDLE);
            return false;
        }
    } else {
        item.id = id;
    }
    if (!(flags & MF_SEPARATOR))
        item.text = copyText(text, kMaxMenuText);
    return true;
}

void destroyMenuTree(HMENU menu, int depth) {
    MenuTable& t = menus();
    auto it = t.menus.find(reinterpret_cast<uintptr_t>(menu));
    if (it == t.menus.end())
        return;
    std::vector<HMENU> subs;
    for (const MenuItem& item : it->second.items) {
        if (item.flags & MF_POPUP)
            subs.push_back(item.submenu);
    }
    t.menus.erase(it);
    // Menus nest only a few levels; the bound keeps a cycle from recursing without end.
    if (depth < 16) {
        for (HMENU s : subs)
            destroyMenuTree(s, depth + 1);
    }
}

}  // namespace

Menu* findMenu(HMENU menu) {
    MenuTable& t = menus();
    auto it = t.menus.find(reinterpret_cast<uintptr_t>(menu));
    return it == t.menus.end() ? nullptr : &it->second;
}

}  // namespace platform::user

using namespace platform::user;

HMENU CreateMenu() {
    return createMenu(false);
}
HMENU CreatePopupMenu() {
    return createMenu(true);
}

BOOL DestroyMenu(HMENU menu) {
    Lock lock = lockState();
    if (!menuOrFail(menu))
        return FALSE;
    destroyMenuTree(menu, 0);
    return TRUE;
}

BOOL IsMenu(HMENU menu) {
    Lock lock = lockState();
    return findMenu(menu) ? TRUE : FALSE;
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR id, LPCWSTR text) {
    return InsertMenuW(menu, 0xFFFFFFFF, flags | MF_BYPOSITION, id, text);
}

BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCWSTR text) {
    Lock lock = lockState();
    Menu* m = menuOrFail(menu);
    if (!m)
        return FALSE;
    MenuItem item;
    if (!makeItem(flags, id, text, item))
        return FALSE;
    if (item.submenu == menu) {
        setError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Menu* holder = m;
    size_t index = m->items.size();
    if (flags & MF_BYPOSITION) {
        index = std::min<size_t>(position, m->items.size());
    } else if (!findItem(*m, position, MF_BYCOMMAND, &holder, &index)) {
        setError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (holder->items.size() >= kMaxMenuItems) {
        setError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    holder->items.insert(holder->items.begin() + static_cast<ptrdiff_t>(index), item);
    return TRUE;
}

namespace {

BOOL removeItem(HMENU menu, UINT which, UINT flags, bool destroySubmenu) {
    Lock lock = lockState();
    Menu* m = menuOrFail(menu);
    if (!m)
        return FALSE;
    Menu* holder = nullptr;
    size_t index = 0;
    MenuItem* item = findItem(*m, which, flags, &holder, &index);
    if (!item) {
        setError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    HMENU sub = (item->flags & MF_POPUP) ? item->submenu : nullptr;
    holder->items.erase(holder->items.begin() + static_cast<ptrdiff_t>(index));
    if (destroySubmenu && sub)
        destroyMenuTree(sub, 0);
    return TRUE;
}

}  // namespace

BOOL RemoveMenu(HMENU menu, UINT which, UINT flags) {
    return removeItem(menu, which, flags, false);
}
BOOL DeleteMenu(HMENU menu, UINT which, UINT flags) {
    return removeItem(menu, which, flags, true);
}

BOOL EnableMenuItem(HMENU menu, UINT which, UINT enable) {
    Lock lock = lockState();
    Menu* m = menuOrFail(menu);
    if (!m)
        return -1;
    MenuItem* item = findItem(*m, which, enable);
    if (!item)
        return -1;
    UINT old = item->flags & (MF_GRAYED | MF_DISABLED);
    item->flags = (item->flags & ~static_cast<UINT>(MF_GRAYED | MF_DISABLED)) |
                  (enable & (MF_GRAYED | MF_DISABLED));
    return static_cast<BOOL>(old);
}

DWORD CheckMenuItem(HMENU menu, UINT which, UINT check) {
    Lock lock = lockState();
    Menu* m = menuOrFail(menu);
    if (!m)
        return 0xFFFFFFFF;
    MenuItem* item = findItem(*m, which, check);
    if (!item)
        return 0xFFFFFFFF;
    DWORD old = item->flags & MF_CHECKED;
    item->flags = (item->flags & ~static_cast<UINT>(MF_CHECKED)) | (check & MF_CHECKED);
    return old;
}

int GetMenuItemCount(HMENU menu) {
    Lock lock = lockState();
    Menu* m = menuOrFail(menu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    Lock lock = lockState();
    Menu* m = menuOrFail(menu);
    if (!m || position < 0 || static_cast<size_t>(position) >= m->items.size())
        return 0xFFFFFFFF;
    const MenuItem& item = m->items[static_cast<size_t>(position)];
    return (item.flags & MF_POPUP) ? 0xFFFFFFFF : static_cast<UINT>(item.id);
}

UINT GetMenuState(HMENU menu, UINT which, UINT flags) {
    Lock lock = lockState();
    Menu* m = menuOrFail(menu);
    if (!m)
        return 0xFFFFFFFF;
    MenuItem* item = findItem(*m, which, flags);
    if (!item)
        return 0xFFFFFFFF;
    if (item->flags & MF_POPUP) {
        Menu* sub = findMenu(item->submenu);
        UINT count = sub ? static_cast<UINT>(sub->items.size()) : 0;
        return (count << 8) | (item->flags & 0xFF);
    }
    return item->flags;
}

HMENU GetSubMenu(HMENU menu, int position) {
    Lock lock = lockState();
    Menu* m = menuOrFail(menu);
    if (!m || position < 0 || static_cast<size_t>(position) >= m->items.size())
        return nullptr;
    const MenuItem& item = m->items[static_cast<size_t>(position)];
    return (item.flags & MF_POPUP) ? item.submenu : nullptr;
}
