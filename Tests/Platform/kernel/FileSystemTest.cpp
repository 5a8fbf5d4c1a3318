// The device file system: resolving device paths inside the root, files, folders and searches.
#include <device/FileSystem.h>
#include <sys/stat.h>
#include <winbase.h>

#include <fstream>
#include <set>

#include "DeviceTest.h"

namespace {

using FileSystem = DeviceTest;

TEST_F(FileSystem, DevicePathsResolveCaseInsensitivelyWithLooseSeparators) {
    writeDeviceFile(u"\\Program Files\\Kelvo\\Skins\\Kelvo.ksk", "skin");
    auto expected = m_root / "Program Files" / "Kelvo" / "Skins" / "Kelvo.ksk";
    EXPECT_EQ(device::resolveDevicePath(u"\\program files\\KELVO\\skins\\kelvo.KSK"), expected);
    EXPECT_EQ(device::resolveDevicePath(u"\\Program Files\\Kelvo\\Skins\\\\Kelvo.ksk"), expected);
    EXPECT_EQ(device::resolveDevicePath(u"Program Files/Kelvo/Skins/Kelvo.ksk"), expected);
    // A name that matches nothing yet keeps its spelling, below the folders that do match.
    EXPECT_EQ(device::resolveDevicePath(u"\\PROGRAM FILES\\New.txt"),
              m_root / "Program Files" / "New.txt");
}

TEST_F(FileSystem, PathsNeverLeaveTheDeviceRoot) {
    EXPECT_FALSE(device::resolveDevicePath(u"\\Windows\\..\\..\\etc\\passwd").has_value());
    EXPECT_FALSE(device::resolveDevicePath(u"..").has_value());
    // A host-absolute path is just a device path below the root.
    EXPECT_EQ(device::resolveDevicePath(u"/etc/passwd"), m_root / "etc" / "passwd");
    // A link inside the device that points outside is refused, and a search skips it.
    std::filesystem::create_directories(m_root / "Windows");
    std::filesystem::create_directory_symlink("/etc", m_root / "Windows" / "out");
    EXPECT_FALSE(device::resolveDevicePath(u"\\Windows\\out\\passwd").has_value());
    EXPECT_FALSE(device::resolveDevicePath(u"\\windows\\OUT").has_value());
    EXPECT_EQ(
        CreateFileW(u"\\Windows\\out\\passwd", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
        INVALID_HANDLE_VALUE);
    WIN32_FIND_DATAW data;
    EXPECT_EQ(FindFirstFileW(u"\\Windows\\*", &data), INVALID_HANDLE_VALUE);
}

TEST_F(FileSystem, FilesWriteSeekAndReadBack) {
    ASSERT_TRUE(CreateDirectoryW(u"\\Temp", nullptr));
    EXPECT_FALSE(CreateDirectoryW(u"\\temp", nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    HANDLE file = CreateFileW(u"\\Temp\\a.bin", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, "hello world", 11, &written, nullptr));
    EXPECT_EQ(written, 11u);
    EXPECT_EQ(GetFileSize(file, nullptr), 11u);
    EXPECT_EQ(SetFilePointer(file, 6, nullptr, FILE_BEGIN), 6u);
    char buffer[16] = {};
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(file, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(read, 5u);
    EXPECT_STREQ(buffer, "world");
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_FALSE(CloseHandle(file));
    EXPECT_FALSE(ReadFile(file, buffer, 1, &read, nullptr));

    EXPECT_EQ(CreateFileW(u"\\temp\\A.BIN", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileAttributesW(u"\\TEMP\\a.bin"), static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesW(u"\\Temp"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));

    FILE* stream = _wfopen(u"\\temp\\a.bin", u"rb");
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(std::fgetc(stream), 'h');
    std::fclose(stream);
    EXPECT_EQ(_wfopen(u"\\temp\\a.bin", u"r; rm -rf"), nullptr);

    EXPECT_TRUE(DeleteFileW(u"\\Temp\\A.bin"));
    EXPECT_EQ(GetFileAttributesW(u"\\Temp\\a.bin"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(_wfopen(u"\\Temp\\a.bin", u"rb"), nullptr);
}

TEST_F(FileSystem, OnlyRegularFilesOpenAndAtOnce) {
    // A FIFO would block an open until something writes to it; a folder is no file either.
    writeDeviceFile(u"\\Temp\\plain.txt", "ab");
    ASSERT_EQ(::mkfifo(hostPath(u"\\Temp\\pipe").c_str(), 0600), 0);
    for (const DWORD access : {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE}) {
        EXPECT_EQ(CreateFileW(u"\\Temp\\pipe", access, 0, nullptr, OPEN_EXISTING, 0, nullptr),
                  INVALID_HANDLE_VALUE);
        EXPECT_EQ(CreateFileW(u"\\Temp", access, 0, nullptr, OPEN_EXISTING, 0, nullptr),
                  INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    }
    for (const WCHAR* mode : {u"rb", u"r+b", u"wb", u"ab"}) {
        EXPECT_EQ(_wfopen(u"\\Temp\\pipe", mode), nullptr);
        EXPECT_EQ(_wfopen(u"\\Temp", mode), nullptr);
    }
    EXPECT_EQ(_wfopen(u"\\Temp\\plain.txt", u"b"), nullptr);

    // The stream modes keep their meaning on a regular file.
    FILE* stream = _wfopen(u"\\Temp\\plain.txt", u"ab");
    ASSERT_NE(stream, nullptr);
    std::fputc('c', stream);
    std::fclose(stream);
    stream = _wfopen(u"\\Temp\\plain.txt", u"r+b");
    ASSERT_NE(stream, nullptr);
    std::fputc('A', stream);
    std::fclose(stream);
    stream = _wfopen(u"\\Temp\\plain.txt", u"rb");
    ASSERT_NE(stream, nullptr);
    char text[4] = {};
    EXPECT_EQ(std::fread(text, 1, 3, stream), 3u);
    std::fclose(stream);
    EXPECT_STREQ(text, "Abc");
    EXPECT_EQ(_wfopen(u"\\Temp\\plain.txt", u"wxb"), nullptr);
    stream = _wfopen(u"\\Temp\\plain.txt", u"wb");
    ASSERT_NE(stream, nullptr);
    std::fclose(stream);
    EXPECT_EQ(std::filesystem::file_size(hostPath(u"\\Temp\\plain.txt")), 0u);
}

TEST_F(FileSystem, SearchMatchesStarAndQuestionMarkCaseInsensitively) {
    writeDeviceFile(u"\\Windows\\Start Menu\\Programs\\Notes.lnk", "22#\\Windows\\notes.exe");
    writeDeviceFile(u"\\Windows\\Start Menu\\Programs\\Calc.LNK", "x");
    writeDeviceFile(u"\\Windows\\Start Menu\\Programs\\readme.txt", "x");
    std::filesystem::create_directories(m_root / "Windows" / "Start Menu" / "Programs" / "Games");

    auto find = [](const char16_t* pattern) {
        std::set<std::u16string> names;
        WIN32_FIND_DATAW data;
        HANDLE search = FindFirstFileW(pattern, &data);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            names.insert(data.cFileName);
        } while (FindNextFileW(search, &data));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
        EXPECT_TRUE(FindClose(search));
        return names;
    };
    // Callers build patterns as folder + "\" + "\*.lnk": the doubled backslash is harmless.
    EXPECT_EQ(find(u"\\Windows\\Start Menu\\Programs\\\\*.lnk"),
              (std::set<std::u16string>{u"Calc.LNK", u"Notes.lnk"}));
    EXPECT_EQ(find(u"\\windows\\start menu\\programs\\?otes.*"),
              (std::set<std::u16string>{u"Notes.lnk"}));
    EXPECT_EQ(find(u"\\Windows\\Start Menu\\Programs\\*"),
              (std::set<std::u16string>{u"Calc.LNK", u"Games", u"Notes.lnk", u"readme.txt"}));
    EXPECT_TRUE(find(u"\\Windows\\Start Menu\\Programs\\*.exe").empty());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    WIN32_FIND_DATAW data;
    HANDLE search = FindFirstFileW(u"\\Windows\\Start Menu\\Programs\\Games", &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    FindClose(search);
}

}  // namespace
