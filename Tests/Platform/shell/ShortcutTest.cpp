// Shortcut files: the text written for a target, what is read back, and what is refused, through
// the reader itself and through SHCreateShortcut / SHGetShortcutTarget.
#include <DeviceTest.h>
#include <shellapi.h>
#include <winbase.h>

#include "shell/ShortcutFile.h"

namespace {

using platform::kMaxShortcutBytes;
using platform::parseShortcut;
using platform::shortcutText;
using Shortcuts = DeviceTest;

TEST(ShortcutText, IsTheTargetLengthHashAndTarget) {
    EXPECT_EQ(shortcutText(u"\\Windows\\notes.exe"), "18#\\Windows\\notes.exe");
    EXPECT_EQ(parseShortcut("18#\\Windows\\notes.exe"), std::u16string(u"\\Windows\\notes.exe"));
    EXPECT_EQ(parseShortcut("18#\\Windows\\notes.exe\r\n"),
              std::u16string(u"\\Windows\\notes.exe"));
    // The length counts characters, not bytes.
    EXPECT_EQ(parseShortcut("2#\xD8\xB3\xD8\xB3"), std::u16string(u"\u0633\u0633"));
}

TEST(ShortcutText, MalformedFilesAreRefused) {
    EXPECT_FALSE(parseShortcut("").has_value());
    EXPECT_FALSE(parseShortcut("#\\Windows\\a.exe").has_value());
    EXPECT_FALSE(parseShortcut("12\\Windows\\a.exe").has_value());
    EXPECT_FALSE(parseShortcut("99#\\Windows\\a.exe").has_value());
    EXPECT_FALSE(parseShortcut("x4#abcd").has_value());
    EXPECT_FALSE(parseShortcut("123456#a").has_value());
    EXPECT_FALSE(parseShortcut("3#a\tb").has_value());
    EXPECT_FALSE(parseShortcut("1#\xC3").has_value());
    EXPECT_FALSE(parseShortcut("0#").has_value());
    EXPECT_FALSE(parseShortcut(std::string(kMaxShortcutBytes + 1, '1')).has_value());
}

TEST_F(Shortcuts, CreatedShortcutReadsBackAndReplacesAnOlderOne) {
    CreateDirectoryW(u"\\Programs", nullptr);
    ASSERT_TRUE(SHCreateShortcut(u"\\Programs\\Notes.lnk", u"\\Windows\\notes.exe"));
    ASSERT_TRUE(SHCreateShortcut(u"\\Programs\\Notes.lnk", u"\"\\Windows\\a b.exe\" -x"));
    WCHAR target[MAX_PATH] = {};
    ASSERT_TRUE(SHGetShortcutTarget(u"\\Programs\\Notes.lnk", target, MAX_PATH));
    EXPECT_EQ(std::u16string(target), u"\"\\Windows\\a b.exe\" -x");

    // Room for the target and its terminator, exactly.
    const int length = static_cast<int>(std::u16string(target).size());
    EXPECT_TRUE(SHGetShortcutTarget(u"\\Programs\\Notes.lnk", target, length + 1));
    EXPECT_FALSE(SHGetShortcutTarget(u"\\Programs\\Notes.lnk", target, length));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(target[0], 0);
}

TEST_F(Shortcuts, MissingBrokenAndUnwritableShortcutsFail) {
    WCHAR target[MAX_PATH] = {u'x'};
    EXPECT_FALSE(SHGetShortcutTarget(u"\\Nowhere.lnk", target, MAX_PATH));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(target[0], 0);
    writeDeviceFile(u"\\Broken.lnk", "not a shortcut");
    EXPECT_FALSE(SHGetShortcutTarget(u"\\Broken.lnk", target, MAX_PATH));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_FORMAT));
    EXPECT_FALSE(SHGetShortcutTarget(u"\\Broken.lnk", target, 0));

    EXPECT_FALSE(SHCreateShortcut(u"\\No Such Folder\\a.lnk", u"\\Windows\\a.exe"));
    EXPECT_FALSE(SHCreateShortcut(u"\\a.lnk", u""));
    EXPECT_EQ(GetFileAttributesW(u"\\a.lnk"), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
