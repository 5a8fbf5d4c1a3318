// SHGetSpecialFolderPath: the English folder names, a device's own names from the registry,
// creating a missing folder, and the folders it does not know.
#include <DeviceTest.h>
#include <shlobj.h>
#include <winbase.h>
#include <winreg.h>

namespace {

using SpecialFolders = DeviceTest;

void nameShellFolder(const WCHAR* value, const std::u16string& path) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"System\\Explorer\\Shell Folders", 0, nullptr, 0,
                              0, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>((path.size() + 1) * sizeof(WCHAR)));
    RegCloseKey(key);
}

TEST_F(SpecialFolders, ProgramsFolderIsTheEnglishOneUnlessTheDeviceNamesItsOwn) {
    WCHAR path[MAX_PATH] = {u'x'};
    EXPECT_FALSE(SHGetSpecialFolderPath(nullptr, path, CSIDL_PROGRAMS, FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(path[0], 0);
    ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_PROGRAMS, TRUE));
    EXPECT_EQ(std::u16string(path), u"\\Windows\\Start Menu\\Programs");
    EXPECT_EQ(GetFileAttributesW(path), FILE_ATTRIBUTE_DIRECTORY);
    ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_STARTMENU, FALSE));
    EXPECT_EQ(std::u16string(path), u"\\Windows\\Start Menu");

    // A German device; a trailing separator in the registry is not part of the name.
    nameShellFolder(u"Programs", u"\\Windows\\Startmen\u00FC\\Programme\\");
    ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_PROGRAMS, TRUE));
    EXPECT_EQ(std::u16string(path), u"\\Windows\\Startmen\u00FC\\Programme");
    EXPECT_EQ(GetFileAttributesW(u"\\Windows\\Startmen\u00FC\\Programme"),
              FILE_ATTRIBUTE_DIRECTORY);
    // A name that is not a device path is not used.
    nameShellFolder(u"Programs", u"Programme");
    ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_PROGRAMS, FALSE));
    EXPECT_EQ(std::u16string(path), u"\\Windows\\Start Menu\\Programs");
}

TEST_F(SpecialFolders, UnknownFolderIdentifiersFail) {
    WCHAR path[MAX_PATH] = {u'x'};
    EXPECT_FALSE(SHGetSpecialFolderPath(nullptr, path, 0x0003, TRUE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(path[0], 0);
    EXPECT_FALSE(SHGetSpecialFolderPath(nullptr, nullptr, CSIDL_PROGRAMS, TRUE));
    ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_PERSONAL, TRUE));
    EXPECT_EQ(std::u16string(path), u"\\My Documents");
}

}  // namespace
