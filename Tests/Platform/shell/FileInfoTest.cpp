// SHGetFileInfoW: the icon of the program that opens a file (a built-in program's own icon, a
// program library's first icon group), at the small or large size of the screen; the display
// name and attributes; files and flags it cannot describe.
#include <device/FileSystem.h>
#include <device/Screen.h>
#include <shellapi.h>
#include <wingdi.h>
#include <winicon.h>

#include <filesystem>

#include "PixelCanvas.h"
#include "ShellTestPrograms.h"

namespace {

using FileInfo = shelltest::ShellTest;
using testsupport::iconSize;

// The icon of `path` as the launcher asks for it; null when there is none.
HICON smallIcon(const WCHAR* path) {
    SHFILEINFO info{};
    const DWORD_PTR result =
        SHGetFileInfoW(path, 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON);
    EXPECT_EQ(result != 0, info.hIcon != nullptr);
    return info.hIcon;
}

TEST_F(FileInfo, ShortcutShowsTheSmallIconOfItsTargetProgram) {
    SHCreateShortcut(u"\\Recorder.lnk", u"\"\\Windows\\Recorder.exe\" -x");
    HICON icon = smallIcon(u"\\Recorder.lnk");
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(iconSize(icon).cx, 16);
    testsupport::PixelCanvas canvas(20, 20, 0x404040u);
    DrawIconEx(canvas.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(canvas.at(3, 3), 0xFFFFFFu);
    EXPECT_EQ(canvas.at(12, 3), 0xFF0000u);
    DestroyIcon(icon);

    // The program itself, though no file holds it, and a large icon.
    icon = smallIcon(u"\\Windows\\Recorder.exe");
    ASSERT_NE(icon, nullptr);
    DestroyIcon(icon);
    SHFILEINFO info{};
    ASSERT_NE(SHGetFileInfoW(u"\\Recorder.lnk", 0, &info, sizeof(info), SHGFI_ICON), 0u);
    EXPECT_EQ(iconSize(info.hIcon).cx, 32);
    DestroyIcon(info.hIcon);
    // Nothing is started to find an icon.
    EXPECT_TRUE(started().empty());
}

TEST_F(FileInfo, SmallIconsGrowOnHighResolutionScreens) {
    ASSERT_TRUE(device::setScreenSize(480, 640));
    SHCreateShortcut(u"\\Recorder.lnk", u"\\Windows\\Recorder.exe");
    HICON icon = smallIcon(u"\\Recorder.lnk");
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(iconSize(icon).cx, 32);
    DestroyIcon(icon);
    ASSERT_TRUE(device::setScreenSize(240, 320));
}

TEST_F(FileInfo, ProgramLibraryShowsItsFirstIconGroupAndDocumentsTheirProgramsIcon) {
    std::error_code error;
    std::filesystem::create_directories(hostPath(u"\\Windows"), error);
    ASSERT_TRUE(std::filesystem::copy_file(ICON_LIBRARY, hostPath(u"\\Windows\\Tools.dll"), error));
    device::registerProgramLibrary(u"Tools.exe", u"\\Windows\\Tools.dll");
    SHCreateShortcut(u"\\Tools.lnk", u"\\Windows\\Tools.exe");
    HICON icon = smallIcon(u"\\Tools.lnk");
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(iconSize(icon).cx, 16);
    DestroyIcon(icon);

    setClassText(u".doc", u"docfile");
    setClassText(u"docfile\\Shell\\Open\\Command", u"Tools.exe %1");
    writeDeviceFile(u"\\letter.doc", "text");
    icon = smallIcon(u"\\letter.doc");
    EXPECT_NE(icon, nullptr);
    DestroyIcon(icon);
}

TEST_F(FileInfo, WithoutAnIconOrAFileThereIsNothingToShow) {
    associateHtml();  // Viewer.exe has no icon
    writeDeviceFile(u"\\page.htm", "<html></html>");
    EXPECT_EQ(smallIcon(u"\\page.htm"), nullptr);
    SHCreateShortcut(u"\\Gone.lnk", u"\\Windows\\gone.exe");
    EXPECT_EQ(smallIcon(u"\\Gone.lnk"), nullptr);
    EXPECT_EQ(smallIcon(u"\\Missing.lnk"), nullptr);
    writeDeviceFile(u"\\Broken.lnk", "broken");
    EXPECT_EQ(smallIcon(u"\\Broken.lnk"), nullptr);
    SHFILEINFO info{};
    EXPECT_EQ(SHGetFileInfoW(u"\\page.htm", 0, &info, sizeof(info) - 1, SHGFI_ICON), 0u);
    EXPECT_EQ(SHGetFileInfoW(u"\\page.htm", 0, &info, sizeof(info), SHGFI_TYPENAME), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(FileInfo, DisplayNameAndAttributes) {
    CreateDirectoryW(u"\\Programs", nullptr);
    SHCreateShortcut(u"\\Programs\\Word Pad.lnk", u"\\Windows\\Recorder.exe");
    SHFILEINFO info{};
    ASSERT_NE(SHGetFileInfoW(u"\\Programs\\Word Pad.lnk", 0, &info, sizeof(info),
                             SHGFI_DISPLAYNAME | SHGFI_ATTRIBUTES),
              0u);
    EXPECT_EQ(std::u16string(info.szDisplayName), u"Word Pad");
    EXPECT_EQ(info.dwAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(info.hIcon, nullptr);
    ASSERT_NE(
        SHGetFileInfoW(u"\\Programs", 0, &info, sizeof(info), SHGFI_DISPLAYNAME | SHGFI_ATTRIBUTES),
        0u);
    EXPECT_EQ(std::u16string(info.szDisplayName), u"Programs");
    EXPECT_EQ(info.dwAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    // Attributes given by the caller are taken for a file that need not exist.
    ASSERT_NE(SHGetFileInfoW(u"\\Later.lnk", FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                             SHGFI_USEFILEATTRIBUTES | SHGFI_DISPLAYNAME),
              0u);
    EXPECT_EQ(std::u16string(info.szDisplayName), u"Later");
    EXPECT_EQ(SHGetFileInfoW(u"\\Later.lnk", 0, &info, sizeof(info), SHGFI_DISPLAYNAME), 0u);
}

}  // namespace
