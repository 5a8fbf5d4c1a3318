// The device clipboard: one opener at a time (a window, or a thread when opened without one),
// an owner set by EmptyClipboard, and data blocks that the clipboard owns once set, so the
// program that set them can no longer free them. CF_TEXT and CF_UNICODETEXT are each made
// from the other when only one was set.
#include <cstring>
#include <map>

#include "kernel/DeviceReset.h"
#include "kernel/LocalMemory.h"
#include "user/UserState.h"
#include "winbase.h"
#include "winbase_memory.h"

namespace platform::user {
namespace {

struct ClipboardState {
    bool open = false;
    HWND opener = nullptr;
    DWORD openerThread = 0;
    HWND owner = nullptr;
    std::map<UINT, HANDLE> data;
    std::map<UINT, bool> made;  // formats converted from the other text format
};

ClipboardState& clip() {
    static auto* c = new ClipboardState;
    return *c;
}

bool openedByCaller() {
    const ClipboardState& c = clip();
    return c.open && c.openerThread == currentThread();
}

void freeAll(ClipboardState& c) {
    for (auto& [format, h] : c.data)
        platform::freeBlock(h);
    c.data.clear();
    c.made.clear();
}

// A fresh device's clipboard is closed, unowned and empty.
const bool resetRegistered = addResetStep(ResetStage::Windows, [] {
    Lock lock = lockState();
    ClipboardState& c = clip();
    freeAll(c);
    c.open = false;
    c.opener = nullptr;
    c.openerThread = 0;
    c.owner = nullptr;
});

// Copies a block's bytes (the clipboard owns it, so its contents are stable under the lock).
std::vector<BYTE> readBlock(HANDLE h) {
    std::vector<BYTE> out;
    SIZE_T size = LocalSize(h);
    auto* p = static_cast<const BYTE*>(LocalLock(h));
    if (!p)
        return out;
    out.assign(p, p + size);
    LocalUnlock(h);
    return out;
}

HANDLE makeBlock(const void* bytes, size_t size) {
    HLOCAL h = LocalAlloc(LMEM_MOVEABLE, size);
    if (!h)
        return nullptr;
    void* p = LocalLock(h);
    std::memcpy(p, bytes, size);
    LocalUnlock(h);
    platform::setBlockOwner(h, platform::BlockOwner::System);
    return h;
}

// The other text format, made on request: UTF-16 to 8-bit (characters beyond Latin-1 become
// '?'), or 8-bit (Latin-1) to UTF-16. Both stop at the first terminator or the block's end.
HANDLE convertText(HANDLE from, UINT to) {
    std::vector<BYTE> bytes = readBlock(from);
    if (to == CF_TEXT) {
        std::string text;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            char16_t c = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
            if (c == 0)
                break;
            text.push_back(c < 0x100 ? static_cast<char>(c) : '?');
        }
        text.push_back('\0');
        return makeBlock(text.data(), text.size());
    }
    std::u16string text;
    for (BYTE b : bytes) {
        if (b == 0)
            break;
        text.push_back(static_cast<char16_t>(b));
    }
    text.push_back(u'\0');
    return makeBlock(text.data(), text.size() * sizeof(char16_t));
}

}  // namespace

void clipboardWindowGone(HWND hwnd) {
    ClipboardState& c = clip();
    if (c.open && c.opener == hwnd) {
        c.open = false;
        c.opener = nullptr;
        c.openerThread = 0;
    }
    if (c.owner == hwnd)
        c.owner = nullptr;
}

}  // namespace platform::user

using namespace platform::user;

BOOL OpenClipboard(HWND hwnd) {
    Lock lock = lockState();
    if (hwnd && !findWindowOrFail(hwnd))
        return FALSE;
    ClipboardState& c = clip();
    if (c.open && !(c.openerThread == currentThread() && c.opener == hwnd)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    c.open = true;
    c.opener = hwnd;
    c.openerThread = currentThread();
    return TRUE;
}

BOOL CloseClipboard() {
    Lock lock = lockState();
    ClipboardState& c = clip();
    if (!openedByCaller()) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return FALSE;
    }
    c.open = false;
    c.opener = nullptr;
    c.openerThread = 0;
    return TRUE;
}

BOOL EmptyClipboard() {
    Lock lock = lockState();
    ClipboardState& c = clip();
    if (!openedByCaller()) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return FALSE;
    }
    freeAll(c);
    c.owner = c.opener;
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
    Lock lock = lockState();
    ClipboardState& c = clip();
    if (!openedByCaller()) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return nullptr;
    }
    // Data rendered on request is not offered on this device: every format comes with its block.
    if (format == 0 || !data || !platform::isLiveBlock(data)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto it = c.data.find(format);
    if (it != c.data.end() && it->second != data)
        platform::freeBlock(it->second);
    // A counterpart converted from the previous text is stale now.
    UINT other = format == CF_TEXT ? CF_UNICODETEXT : format == CF_UNICODETEXT ? CF_TEXT : 0;
    if (other && c.made[other]) {
        platform::freeBlock(c.data[other]);
        c.data.erase(other);
        c.made.erase(other);
    }
    platform::setBlockOwner(data, platform::BlockOwner::System);
    c.data[format] = data;
    c.made.erase(format);
    return data;
}

HANDLE GetClipboardData(UINT format) {
    Lock lock = lockState();
    ClipboardState& c = clip();
    if (!openedByCaller()) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return nullptr;
    }
    auto it = c.data.find(format);
    if (it != c.data.end())
        return it->second;
    UINT other = format == CF_TEXT ? CF_UNICODETEXT : format == CF_UNICODETEXT ? CF_TEXT : 0;
    auto src = other ? c.data.find(other) : c.data.end();
    if (src == c.data.end())
        return nullptr;
    HANDLE made = convertText(src->second, format);
    if (made) {
        c.data[format] = made;
        c.made[format] = true;
    }
    return made;
}

BOOL IsClipboardFormatAvailable(UINT format) {
    Lock lock = lockState();
    const ClipboardState& c = clip();
    if (c.data.count(format))
        return TRUE;
    if (format == CF_TEXT)
        return c.data.count(CF_UNICODETEXT) ? TRUE : FALSE;
    if (format == CF_UNICODETEXT)
        return c.data.count(CF_TEXT) ? TRUE : FALSE;
    return FALSE;
}

HWND GetClipboardOwner() {
    Lock lock = lockState();
    return clip().owner;
}

int CountClipboardFormats() {
    Lock lock = lockState();
    return static_cast<int>(clip().data.size());
}
