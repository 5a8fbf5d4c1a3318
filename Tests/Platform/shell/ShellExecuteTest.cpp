// ShellExecuteExW: shortcuts start their targets with their arguments, programs start, documents
// open with the program their extension names; every failure returns FALSE with its reason.
#include <shellapi.h>
#include <wchar16.h>
#include <winuser.h>

#include "ShellTestPrograms.h"
#include "shell/ShortcutFile.h"

namespace {

using Strings = std::vector<std::u16string>;
using ShellExecute = shelltest::ShellTest;

// ShellExecuteExW of `file` as KvHelper fills the record; the record stays for inspection.
struct Opening {
    SHELLEXECUTEINFO info{};
    BOOL result = FALSE;
    DWORD error = 0;

    explicit Opening(const WCHAR* file, const WCHAR* parameters = nullptr,
                     const WCHAR* verb = u"open", const WCHAR* directory = u"\\") {
        info.cbSize = sizeof(info);
        info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
        info.lpVerb = verb;
        info.lpFile = file;
        info.lpParameters = parameters;
        info.lpDirectory = directory;
        info.nShow = SW_SHOWNORMAL;
        result = ShellExecuteExW(&info);
        error = GetLastError();
        if (info.hProcess != nullptr)
            CloseHandle(info.hProcess);
    }
    INT_PTR code() const { return reinterpret_cast<INT_PTR>(info.hInstApp); }
};

TEST_F(ShellExecute, ShortcutStartsItsTargetWithItsArgumentsThenTheParameters) {
    CreateDirectoryW(u"\\Programs", nullptr);
    SHCreateShortcut(u"\\Programs\\Plain.lnk", u"\\Windows\\Recorder.exe");
    SHCreateShortcut(u"\\Programs\\Args.lnk", u"\"\\Windows\\Recorder.exe\" -a  b");
    SHCreateShortcut(u"\\Programs\\Chain.lnk", u"\\Programs\\Args.lnk");
    Opening plain(u"\\Programs\\Plain.lnk");
    EXPECT_TRUE(plain.result);
    EXPECT_GT(plain.code(), 32);
    EXPECT_NE(plain.info.hProcess, nullptr);
    EXPECT_TRUE(Opening(u"\\Programs\\Args.lnk").result);
    EXPECT_TRUE(Opening(u"\\programs\\ARGS.LNK", u"c").result);
    // A shortcut may name another shortcut.
    EXPECT_TRUE(Opening(u"\\Programs\\Chain.lnk").result);
    EXPECT_EQ(started(), (Strings{u"Recorder.exe", u"Recorder.exe -a  b", u"Recorder.exe -a  b c",
                                  u"Recorder.exe -a  b"}));
}

TEST_F(ShellExecute, ProgramsStartWithTheParametersAndRelativeNamesAreTakenInTheDirectory) {
    EXPECT_TRUE(Opening(u"\\Windows\\Recorder.exe", u"SETTINGS").result);
    EXPECT_TRUE(Opening(u"recorder.exe").result);
    // A null verb opens too.
    EXPECT_TRUE(Opening(u"Recorder.exe", u"x", nullptr, nullptr).result);
    EXPECT_EQ(started(), (Strings{u"Recorder.exe SETTINGS", u"Recorder.exe", u"Recorder.exe x"}));

    writeDeviceFile(u"\\Docs\\Links\\Go.lnk", platform::shortcutText(u"\\Windows\\Recorder.exe"));
    EXPECT_TRUE(Opening(u"Links\\Go.lnk", nullptr, u"open", u"\\Docs\\").result);
    EXPECT_TRUE(Opening(u"Go.lnk", nullptr, u"open", u"\\Docs\\Links").result);
    EXPECT_FALSE(Opening(u"Go.lnk").result);
}

TEST_F(ShellExecute, DocumentOpensWithTheProgramItsExtensionNames) {
    associateHtml();
    writeDeviceFile(u"\\Program Files\\Kelvo\\Skins\\Kelvo.htm", "<html></html>");
    writeDeviceFile(u"\\My Documents\\page.HTM", "<html></html>");
    EXPECT_TRUE(Opening(u"\\Program Files\\Kelvo\\Skins\\Kelvo.htm").result);
    EXPECT_TRUE(Opening(u"\\My Documents\\page.HTM", u"ignored").result);
    // A shortcut to a document whose path has blanks, unquoted.
    SHCreateShortcut(u"\\Help.lnk", u"\\Program Files\\Kelvo\\Skins\\Kelvo.htm");
    EXPECT_TRUE(Opening(u"\\Help.lnk").result);
    // A command without "%1" gets the document at its end.
    setClassText(u"txtfile\\Shell\\Open\\Command", u"\"\\Windows\\Viewer.exe\"");
    setClassText(u".txt", u"txtfile");
    writeDeviceFile(u"\\a.txt", "text");
    EXPECT_TRUE(Opening(u"\\a.txt").result);
    EXPECT_EQ(started(), (Strings{u"Viewer.exe file:\\Program Files\\Kelvo\\Skins\\Kelvo.htm",
                                  u"Viewer.exe file:\\My Documents\\page.HTM",
                                  u"Viewer.exe file:\\Program Files\\Kelvo\\Skins\\Kelvo.htm",
                                  u"Viewer.exe \\a.txt"}));
}

TEST_F(ShellExecute, FailuresReturnFalseWithTheirReasonAndStartNothing) {
    associateHtml();
    struct Case {
        const WCHAR* file;
        DWORD error;
        INT_PTR code;
    };
    writeDeviceFile(u"\\notes.txt", "no association");
    writeDeviceFile(u"\\README", "no extension");
    writeDeviceFile(u"\\Broken.lnk", "not a shortcut");
    SHCreateShortcut(u"\\Gone.lnk", u"\\Windows\\gone.exe");
    SHCreateShortcut(u"\\Loop.lnk", u"\\Loop.lnk");
    SHCreateShortcut(u"\\Dangling.lnk", u"\\gone.htm");
    CreateDirectoryW(u"\\Folder", nullptr);
    const Case cases[] = {
        {u"", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        {u"\\missing.htm", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        {u"\\Windows\\NoSuchProgram.exe", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        {u"\\Missing.lnk", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        {u"\\Gone.lnk", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        {u"\\Dangling.lnk", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        {u"\\notes.txt", ERROR_NO_ASSOCIATION, SE_ERR_NOASSOC},
        {u"\\README", ERROR_NO_ASSOCIATION, SE_ERR_NOASSOC},
        {u"\\Folder", ERROR_NO_ASSOCIATION, SE_ERR_NOASSOC},
        {u"\\Broken.lnk", ERROR_BAD_FORMAT, ERROR_BAD_FORMAT},
        {u"\\Loop.lnk", ERROR_BAD_FORMAT, ERROR_BAD_FORMAT},
        {u"SETTINGS ", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
    };
    for (const Case& c : cases) {
        Opening opening(c.file);
        EXPECT_FALSE(opening.result) << platform::toUtf8(c.file);
        EXPECT_EQ(opening.error, c.error) << platform::toUtf8(c.file);
        EXPECT_EQ(opening.code(), c.code) << platform::toUtf8(c.file);
        EXPECT_EQ(opening.info.hProcess, nullptr);
    }
    // Only "open" is a verb here.
    Opening edit(u"\\Windows\\Recorder.exe", nullptr, u"edit");
    EXPECT_FALSE(edit.result);
    EXPECT_EQ(edit.error, static_cast<DWORD>(ERROR_NO_ASSOCIATION));
    // A record of the wrong size is refused untouched.
    SHELLEXECUTEINFO wrongSize{};
    wrongSize.cbSize = 60;
    wrongSize.lpFile = u"\\Windows\\Recorder.exe";
    EXPECT_FALSE(ShellExecuteExW(&wrongSize));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(ShellExecuteExW(nullptr));
    EXPECT_TRUE(started().empty());
}

TEST_F(ShellExecute, WithoutNoCloseProcessTheHandleIsNotHandedOver) {
    SHELLEXECUTEINFO info{};
    info.cbSize = sizeof(info);
    info.lpFile = u"\\Windows\\Recorder.exe";
    info.hProcess = reinterpret_cast<HANDLE>(1);
    ASSERT_TRUE(ShellExecuteExW(&info));
    EXPECT_EQ(info.hProcess, reinterpret_cast<HANDLE>(1));
    EXPECT_EQ(started(), Strings{u"Recorder.exe"});
}

}  // namespace
