// Feeds arbitrary bytes to the clipboard as another program's text would reach it: the first
// byte picks CF_TEXT or CF_UNICODETEXT, the rest is the block, terminated or not, of any
// length. Reading the other format converts it; the result must be terminated inside its block.
#include <winbase_memory.h>
#include <winuser.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    UINT format = (data[0] & 1) ? CF_UNICODETEXT : CF_TEXT;
    UINT other = format == CF_TEXT ? CF_UNICODETEXT : CF_TEXT;
    HLOCAL block = LocalAlloc(LMEM_MOVEABLE, size - 1);
    check(block != nullptr);
    if (size > 1) {
        std::memcpy(LocalLock(block), data + 1, size - 1);
        LocalUnlock(block);
    }
    check(OpenClipboard(nullptr));
    check(EmptyClipboard());
    check(SetClipboardData(format, block) == block);
    check(IsClipboardFormatAvailable(other));
    HANDLE converted = GetClipboardData(other);
    check(converted != nullptr);
    SIZE_T bytes = LocalSize(converted);
    const auto* p = static_cast<const uint8_t*>(LocalLock(converted));
    if (other == CF_TEXT) {
        check(bytes >= 1 && std::memchr(p, 0, bytes) != nullptr);
    } else {
        check(bytes >= 2 && bytes % 2 == 0);
        const auto* text = reinterpret_cast<const char16_t*>(p);
        bool terminated = false;
        for (SIZE_T i = 0; i < bytes / 2 && !terminated; ++i)
            terminated = text[i] == 0;
        check(terminated);
    }
    LocalUnlock(converted);
    check(GetClipboardData(format) == block);
    check(EmptyClipboard());  // frees both blocks
    check(CloseClipboard());
    return 0;
}
