// Window classes: registered per module instance and process, found by name (case-insensitive)
// or by atom; a class cannot be unregistered while windows of it exist.
#include <algorithm>

#include "user/ClassTable.h"
#include "user/SystemClasses.h"
#include "user/UserState.h"
#include "winbase.h"

namespace platform::user {

namespace {

char16_t foldCase(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}

bool sameName(const std::u16string& a, LPCWSTR b) {
    size_t i = 0;
    for (; b[i] != 0; ++i) {
        if (i >= a.size() || foldCase(a[i]) != foldCase(b[i]))
            return false;
    }
    return i == a.size();
}

}  // namespace

bool classMatches(const WindowClass& c, LPCWSTR name) {
    if (IS_INTRESOURCE(name))
        return c.atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name));
    return sameName(c.name, name);
}

std::u16string copyText(LPCWSTR text, size_t limit) {
    std::u16string out;
    if (!text)
        return out;
    for (size_t i = 0; i < limit && text[i] != 0; ++i)
        out.push_back(text[i]);
    return out;
}

std::shared_ptr<WindowClass> findClass(LPCWSTR name, HINSTANCE instance) {
    if (!name)
        return nullptr;
    UserState& s = state();
    DWORD process = GetCurrentProcessId();
    std::shared_ptr<WindowClass> sameProcess;
    std::shared_ptr<WindowClass> global;
    for (auto& c : s.classes) {
        if (!classMatches(*c, name))
            continue;
        if (c->process == process && c->instance == instance)
            return c;
        if (c->process == process && !sameProcess)
            sameProcess = c;
        if ((c->style & CS_GLOBALCLASS) && !global)
            global = c;
    }
    if (sameProcess)
        return sameProcess;
    return global ? global : findSystemClass(name);
}

}  // namespace platform::user

using namespace platform::user;

ATOM RegisterClassW(const WNDCLASSW* wc) {
    if (!wc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName) || !wc->lpszClassName[0] ||
        wc->cbClsExtra < 0 || wc->cbWndExtra < 0 || wc->cbClsExtra > kMaxExtraBytes ||
        wc->cbWndExtra > kMaxExtraBytes) {
        setError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Lock lock = lockState();
    UserState& s = state();
    DWORD process = GetCurrentProcessId();
    for (auto& c : s.classes) {
        if (c->process == process && c->instance == wc->hInstance &&
            classMatches(*c, wc->lpszClassName)) {
            setError(ERROR_CLASS_ALREADY_EXISTS);
            return 0;
        }
    }
    if (s.nextAtom == 0xFFFF) {
        setError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    auto c = std::make_shared<WindowClass>();
    c->atom = s.nextAtom++;
    c->name = copyText(wc->lpszClassName, kMaxClassName);
    c->style = wc->style;
    c->proc = wc->lpfnWndProc;
    c->classExtra = wc->cbClsExtra;
    c->windowExtra = wc->cbWndExtra;
    c->instance = wc->hInstance;
    c->icon = wc->hIcon;
    c->cursor = wc->hCursor;
    c->background = wc->hbrBackground;
    if (IS_INTRESOURCE(wc->lpszMenuName)) {
        c->menuNameId = wc->lpszMenuName;
    } else {
        c->menuName = copyText(wc->lpszMenuName, kMaxClassName);
    }
    c->process = process;
    c->extra.assign(static_cast<size_t>(wc->cbClsExtra), 0);
    s.classes.push_back(c);
    return c->atom;
}

BOOL UnregisterClassW(LPCWSTR name, HINSTANCE instance) {
    Lock lock = lockState();
    UserState& s = state();
    if (!name) {
        setError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    DWORD process = GetCurrentProcessId();
    for (auto it = s.classes.begin(); it != s.classes.end(); ++it) {
        WindowClass& c = **it;
        if (c.process != process || c.instance != instance || !classMatches(c, name))
            continue;
        if (c.windowCount > 0) {
            setError(ERROR_CLASS_HAS_WINDOWS);
            return FALSE;
        }
        s.classes.erase(it);
        return TRUE;
    }
    setError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
}

BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR name, LPWNDCLASSW out) {
    Lock lock = lockState();
    if (!out) {
        setError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    UserState& s = state();
    DWORD process = GetCurrentProcessId();
    std::shared_ptr<WindowClass> found;
    for (auto& c : s.classes) {
        if (!name || !classMatches(*c, name))
            continue;
        if (c->process == process && c->instance == instance) {
            found = c;
            break;
        }
        if ((c->style & CS_GLOBALCLASS) && !found)
            found = c;
    }
    if (!found && name)
        found = findSystemClass(name);
    if (!found) {
        setError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    out->style = found->style;
    out->lpfnWndProc = found->proc;
    out->cbClsExtra = found->classExtra;
    out->cbWndExtra = found->windowExtra;
    out->hInstance = found->instance;
    out->hIcon = found->icon;
    out->hCursor = found->cursor;
    out->hbrBackground = found->background;
    // The names point into the class record, which lives as long as the class is registered.
    out->lpszMenuName = found->menuNameId
                            ? found->menuNameId
                            : (found->menuName.empty() ? nullptr : found->menuName.c_str());
    out->lpszClassName = found->name.c_str();
    return TRUE;
}

int GetClassNameW(HWND hwnd, LPWSTR buffer, int max) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return 0;
    if (!buffer || max <= 0) {
        setError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    const std::u16string& name = w->cls->name;
    size_t n = std::min(name.size(), static_cast<size_t>(max - 1));
    std::copy_n(name.begin(), n, buffer);
    buffer[n] = 0;
    return static_cast<int>(n);
}

DWORD GetClassLongW(HWND hwnd, int index) {
    Lock lock = lockState();
    Window* w = findWindowOrFail(hwnd);
    if (!w)
        return 0;
    WindowClass& c = *w->cls;
    if (index >= 0) {
        if (static_cast<size_t>(index) + sizeof(DWORD) > c.extra.size()) {
            setError(ERROR_INVALID_INDEX);
            return 0;
        }
        DWORD v = 0;
        std::copy_n(c.extra.begin() + index, sizeof(DWORD), reinterpret_cast<BYTE*>(&v));
        return v;
    }
    switch (index) {
        case GCL_STYLE:
            return c.style;
        case GCL_CBWNDEXTRA:
            return static_cast<DWORD>(c.windowExtra);
        case GCL_CBCLSEXTRA:
            return static_cast<DWORD>(c.classExtra);
        case GCW_ATOM:
            return c.atom;
        default:
            setError(ERROR_INVALID_INDEX);
            return 0;
    }
}
