// Window hooks: WH_CBT hooks of a thread (or of every thread) see HCBT_CREATEWND before a
// window's first message, and may refuse the window, and HCBT_DESTROYWND before WM_DESTROY.
// The newest hook is called first; each passes on with CallNextHookEx, which (as on Windows)
// knows from the hook being called which one comes next, whatever handle it is given.
#include <algorithm>

#include "kernel/DeviceReset.h"
#include "user/Internal.h"
#include "user/UserState.h"

namespace platform::user {
namespace {

struct Hook {
    HHOOK handle = nullptr;
    int id = 0;
    HOOKPROC proc = nullptr;
    DWORD thread = 0;  // 0: every thread
};

struct HookTable {
    std::vector<Hook> hooks;  // newest first
    uintptr_t next = 0x40010;
};

HookTable& hooks() {
    static auto* t = new HookTable;
    return *t;
}

// A fresh device has no hooks.
const bool resetRegistered = addResetStep(ResetStage::Windows, [] {
    Lock lock = lockState();
    hooks().hooks.clear();
});

// The hook the calling thread is in now, so that CallNextHookEx goes on from it.
thread_local HHOOK t_current = nullptr;

// Calls `proc` as hook `which`, with the lock released.
LRESULT callAs(Lock& lock, HHOOK which, HOOKPROC proc, int code, WPARAM wParam, LPARAM lParam) {
    HHOOK outer = t_current;
    t_current = which;
    lock.unlock();
    LRESULT r = proc(code, wParam, lParam);
    lock.lock();
    t_current = outer;
    return r;
}

// The first hook after `after` (or the first of all) for this thread; lock held.
HOOKPROC nextHook(HHOOK after, DWORD thread, HHOOK& which) {
    auto& list = hooks().hooks;
    auto it = list.begin();
    if (after) {
        it = std::find_if(list.begin(), list.end(),
                          [&](const Hook& h) { return h.handle == after; });
        if (it == list.end())
            return nullptr;
        ++it;
    }
    for (; it != list.end(); ++it) {
        if (it->id == WH_CBT && (it->thread == 0 || it->thread == thread)) {
            which = it->handle;
            return it->proc;
        }
    }
    return nullptr;
}

}  // namespace

LRESULT callCbtHooks(Lock& lock, int code, WPARAM wParam, LPARAM lParam) {
    HHOOK which = nullptr;
    HOOKPROC proc = nextHook(nullptr, currentThread(), which);
    if (!proc)
        return 0;
    return callAs(lock, which, proc, code, wParam, lParam);
}

}  // namespace platform::user

using namespace platform::user;

HHOOK SetWindowsHookExW(int id, HOOKPROC proc, HINSTANCE, DWORD thread) {
    if (id != WH_CBT || !proc) {
        setError(id != WH_CBT ? ERROR_NOT_SUPPORTED : ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Lock lock = lockState();
    HookTable& t = hooks();
    auto handle = reinterpret_cast<HHOOK>(t.next);
    t.next += 4;
    t.hooks.insert(t.hooks.begin(), Hook{handle, id, proc, thread});
    return handle;
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
    Lock lock = lockState();
    auto& list = hooks().hooks;
    auto it =
        std::find_if(list.begin(), list.end(), [&](const Hook& h) { return h.handle == hook; });
    if (it == list.end()) {
        setError(ERROR_INVALID_HOOK_HANDLE);
        return FALSE;
    }
    list.erase(it);
    return TRUE;
}

LRESULT CallNextHookEx(HHOOK, int code, WPARAM wParam, LPARAM lParam) {
    Lock lock = lockState();
    if (!t_current)
        return 0;  // not called from a hook
    HHOOK which = nullptr;
    HOOKPROC proc = nextHook(t_current, currentThread(), which);
    if (!proc)
        return 0;
    return callAs(lock, which, proc, code, wParam, lParam);
}
