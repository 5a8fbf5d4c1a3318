// The clipboard and the memory blocks it holds: one opener at a time, ownership by
// EmptyClipboard, data that the clipboard owns once set, and text in both formats.
#include <cstring>

#include "UserTest.h"
#include "winbase_memory.h"

using namespace usertest;

namespace {

HLOCAL unicodeBlock(std::u16string_view text) {
    HLOCAL h = LocalAlloc(LMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
    auto* p = static_cast<char16_t*>(LocalLock(h));
    std::copy(text.begin(), text.end(), p);
    p[text.size()] = 0;
    LocalUnlock(h);
    return h;
}

}  // namespace

TEST_F(UserTest, ClipboardHasOneOpenerAndOwnsTheDataSetOnIt) {
    HWND a = makeWindow(WS_POPUP, 0, 0, 10, 10);
    HWND b = makeWindow(WS_POPUP, 0, 0, 10, 10);
    ASSERT_TRUE(OpenClipboard(a));
    EXPECT_TRUE(OpenClipboard(a));  // the opener may open again
    EXPECT_FALSE(OpenClipboard(b));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    std::atomic<int> otherThread{-1};
    Worker([&] { otherThread = OpenClipboard(nullptr); }).join();
    EXPECT_EQ(otherThread.load(), FALSE);
    EXPECT_TRUE(CloseClipboard());
    EXPECT_FALSE(CloseClipboard());

    ASSERT_TRUE(OpenClipboard(b));
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(GetClipboardOwner(), b);
    HLOCAL text = unicodeBlock(u"\u0633\u0644\u0627\u0645 hi");
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, text), text);
    EXPECT_TRUE(CloseClipboard());

    // The setter can no longer free the block: the clipboard owns it and it stays intact.
    EXPECT_EQ(LocalFree(text), text);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), nullptr);  // not open
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
    ASSERT_TRUE(OpenClipboard(a));
    HANDLE got = GetClipboardData(CF_UNICODETEXT);
    ASSERT_EQ(got, text);
    EXPECT_EQ(std::u16string(static_cast<const char16_t*>(LocalLock(got))),
              u"\u0633\u0644\u0627\u0645 hi");
    LocalUnlock(got);
    HANDLE narrow = GetClipboardData(CF_TEXT);
    ASSERT_NE(narrow, nullptr);
    EXPECT_STREQ(static_cast<const char*>(LocalLock(narrow)), "???? hi");
    LocalUnlock(narrow);

    // Emptying frees what the clipboard held; a dead or foreign block is refused.
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_EQ(GetClipboardOwner(), a);
    EXPECT_EQ(LocalSize(text), 0u);  // freed with the clipboard's contents
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, text), nullptr);
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, reinterpret_cast<HANDLE>(0x4321)), nullptr);
    // The opener's end closes the clipboard for others.
    DestroyWindow(a);
    EXPECT_TRUE(OpenClipboard(b));
    CloseClipboard();
}

TEST_F(UserTest, LocalBlocksAreValidatedLockedAndResized) {
    HLOCAL fixed = LocalAlloc(LPTR, 16);
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(LocalLock(fixed),
              static_cast<void*>(fixed));  // a fixed block's handle is its address
    EXPECT_EQ(LocalSize(fixed), 16u);
    auto* bytes = static_cast<unsigned char*>(LocalLock(fixed));
    EXPECT_EQ(std::count(bytes, bytes + 16, 0), 16);
    // Growing a fixed block moves it only when allowed.
    EXPECT_EQ(LocalReAlloc(fixed, 64, LMEM_ZEROINIT), nullptr);
    std::memset(bytes, 0xAB, 16);
    HLOCAL moved = LocalReAlloc(fixed, 64, LMEM_MOVEABLE | LMEM_ZEROINIT);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(LocalSize(moved), 64u);
    auto* grown = static_cast<unsigned char*>(LocalLock(moved));
    EXPECT_EQ(grown[15], 0xAB);
    EXPECT_EQ(grown[16], 0);
    EXPECT_EQ(LocalFree(moved), nullptr);
    EXPECT_EQ(LocalFree(moved), moved);  // already gone
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    HLOCAL moveable = LocalAlloc(LHND, 8);
    ASSERT_NE(moveable, nullptr);
    EXPECT_EQ(LocalFlags(moveable), 0u);
    void* p = LocalLock(moveable);
    EXPECT_NE(p, static_cast<void*>(moveable));
    LocalLock(moveable);
    EXPECT_EQ(LocalFlags(moveable), 2u);
    EXPECT_EQ(LocalReAlloc(moveable, 100, 0), nullptr);  // locked blocks do not move
    EXPECT_TRUE(LocalUnlock(moveable));
    EXPECT_FALSE(LocalUnlock(moveable));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
    EXPECT_FALSE(LocalUnlock(moveable));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
    EXPECT_EQ(LocalReAlloc(moveable, 100, 0), moveable);
    EXPECT_EQ(LocalSize(moveable), 100u);
    EXPECT_EQ(LocalHandle(LocalLock(moveable)), moveable);
    LocalUnlock(moveable);

    for (HLOCAL bad : {reinterpret_cast<HLOCAL>(0x12345), reinterpret_cast<HLOCAL>(&p)}) {
        EXPECT_EQ(LocalLock(bad), nullptr);
        EXPECT_EQ(LocalSize(bad), 0u);
        EXPECT_EQ(LocalFlags(bad), static_cast<UINT>(LMEM_INVALID_HANDLE));
        SetLastError(0);
        EXPECT_FALSE(LocalUnlock(bad));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        EXPECT_EQ(LocalFree(bad), bad);
        EXPECT_EQ(LocalReAlloc(bad, 4, LMEM_MOVEABLE), nullptr);
    }
    EXPECT_EQ(LocalAlloc(LMEM_FIXED, SIZE_T{1} << 40), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(LocalAlloc(0x10000, 4), nullptr);
    HGLOBAL g = GlobalAlloc(GHND, 3);
    EXPECT_EQ(GlobalSize(g), 3u);
    EXPECT_EQ(GlobalFree(g), nullptr);
    EXPECT_EQ(LocalFree(moveable), nullptr);
}
