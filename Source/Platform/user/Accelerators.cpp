// Accelerator tables: a key down (FVIRTKEY entries, with exactly the Shift, Control and Alt
// state they name) or a character (other entries) that matches sends WM_COMMAND with the
// entry's command and HIWORD 1 to the window.
#include <map>
#include <vector>

#include "kernel/DeviceReset.h"
#include "user/UserState.h"

namespace platform::user {
namespace {

constexpr int kMaxAccelerators = 4096;

struct AccelTable {
    std::map<uintptr_t, std::vector<ACCEL>> tables;
    uintptr_t next = 0x30010;
};

AccelTable& accels() {
    static auto* t = new AccelTable;
    return *t;
}

// A fresh device has no accelerator tables.
const bool resetRegistered = addResetStep(ResetStage::Windows, [] {
    Lock lock = lockState();
    accels().tables.clear();
});

bool down(const ThreadQueue& s, int vk, int left, int right) {
    return s.keyDown[vk] || s.keyDown[left] || s.keyDown[right];
}

}  // namespace
}  // namespace platform::user

using namespace platform::user;

HACCEL CreateAcceleratorTableW(LPACCEL entries, int count) {
    if (!entries || count <= 0 || count > kMaxAccelerators) {
        setError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Lock lock = lockState();
    AccelTable& t = accels();
    uintptr_t value = t.next;
    t.next += 4;
    t.tables[value].assign(entries, entries + count);
    return reinterpret_cast<HACCEL>(value);
}

BOOL DestroyAcceleratorTable(HACCEL accel) {
    Lock lock = lockState();
    if (accels().tables.erase(reinterpret_cast<uintptr_t>(accel)) == 0) {
        setError(ERROR_INVALID_ACCEL_HANDLE);
        return FALSE;
    }
    return TRUE;
}

int CopyAcceleratorTableW(HACCEL accel, LPACCEL out, int count) {
    Lock lock = lockState();
    auto it = accels().tables.find(reinterpret_cast<uintptr_t>(accel));
    if (it == accels().tables.end()) {
        setError(ERROR_INVALID_ACCEL_HANDLE);
        return 0;
    }
    const auto& entries = it->second;
    if (!out)
        return static_cast<int>(entries.size());
    int n = std::min(count, static_cast<int>(entries.size()));
    for (int i = 0; i < n; ++i)
        out[i] = entries[static_cast<size_t>(i)];
    return n;
}

int TranslateAcceleratorW(HWND hwnd, HACCEL accel, LPMSG msg) {
    if (!msg)
        return 0;
    bool key = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
    bool chr = msg->message == WM_CHAR || msg->message == WM_SYSCHAR;
    if (!key && !chr)
        return 0;
    WORD command = 0;
    {
        Lock lock = lockState();
        if (!findWindowOrFail(hwnd))
            return 0;
        auto it = accels().tables.find(reinterpret_cast<uintptr_t>(accel));
        if (it == accels().tables.end()) {
            setError(ERROR_INVALID_ACCEL_HANDLE);
            return 0;
        }
        const ThreadQueue& s = currentQueue();
        BYTE mods = 0;
        if (down(s, VK_SHIFT, VK_LSHIFT, VK_RSHIFT))
            mods |= FSHIFT;
        if (down(s, VK_CONTROL, VK_LCONTROL, VK_RCONTROL))
            mods |= FCONTROL;
        if (down(s, VK_MENU, VK_LMENU, VK_RMENU))
            mods |= FALT;
        bool found = false;
        for (const ACCEL& a : it->second) {
            if (a.fVirt & FVIRTKEY) {
                if (!key || a.key != (msg->wParam & 0xFFFF))
                    continue;
                if ((a.fVirt & (FSHIFT | FCONTROL | FALT)) != mods)
                    continue;
            } else {
                // A character entry: the character itself; only Alt is part of the match.
                if (!chr || a.key != (msg->wParam & 0xFFFF))
                    continue;
                if (((a.fVirt & FALT) != 0) != ((mods & FALT) != 0))
                    continue;
            }
            command = a.cmd;
            found = true;
            break;
        }
        if (!found)
            return 0;
    }
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(command, 1), 0);
    return 1;
}
