// kvemu --headless as a script drives it on a fresh device folder: the shell and Notes at start,
// hardware keys typed into Notes, bad lines, expectations, the log and the device folder kept
// between runs.
#include <gmock/gmock.h>

#include "KvemuRun.h"

namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using Scripts = KvemuTest;

TEST_F(Scripts, BadLineStopsTheScriptWithItsNumberAndStatusTwo) {
    KvemuResult result = run("print-sip\n# a comment\nbogus 1 2\nprint-sip\n");
    EXPECT_EQ(result.status, 2);
    EXPECT_THAT(result.errors, HasSubstr("line 3: unknown command 'bogus'"));
    // The lines before it ran, the ones after did not.
    ASSERT_EQ(result.lines().size(), 1u);
    EXPECT_THAT(result.lines()[0], StartsWith("sip "));

    result = run("tap 240 10\n");
    EXPECT_EQ(result.status, 2);
    EXPECT_THAT(result.errors, HasSubstr("line 1: the point 240 10 is outside the screen"));
    result = run("run nosuch.exe\n");
    EXPECT_EQ(result.status, 2);
    EXPECT_THAT(result.errors, HasSubstr("line 1: cannot start nosuch.exe"));
    result = run("tap-control 1001\ntap-control 4242\n");
    EXPECT_EQ(result.status, 2);
    EXPECT_THAT(result.errors, HasSubstr("line 2: the foreground window has no control 4242"));
}

TEST_F(Scripts, DeviceStartsWithTheShellNotesInFrontAndTheKeyboardBelow) {
    KvemuResult result = run("print-windows\nprint-controls\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    const auto lines = result.lines();
    auto row = [&](const std::string& className) {
        for (const auto& line : lines) {
            if (line.find("\t" + className + "\t") != std::string::npos)
                return line;
        }
        return std::string();
    };
    EXPECT_THAT(row("NotesWindow"), HasSubstr("\tnotes.exe\tNotesWindow\t1\tNotes"));
    EXPECT_THAT(row("DesktopExplorerWindow"),
                HasSubstr("\texplorer.exe\tDesktopExplorerWindow\t1\tToday"));
    EXPECT_THAT(row("SipWndClass"), HasSubstr("\texplorer.exe\tSipWndClass\t1\t"));
    EXPECT_THAT(row("HHTaskBar"), HasSubstr("\texplorer.exe\t"));
    EXPECT_THAT(row("KvMenuBar"), HasSubstr("\texplorer.exe\t"));
    // Notes' text view fills the work area between the title bar and the keyboard above the
    // menu bar.
    EXPECT_THAT(result.out, HasSubstr("1001\tFarsiEditCtrl\t1\t0 26 240 214\t\n"));
}

TEST_F(Scripts, HardwareKeysTypeIntoNotesAndExpectTextComparesExactly) {
    KvemuResult result =
        run("key H\nkey i\nkey VK_RETURN\nkey \xD8\xB3\nkey a\nkey VK_BACK\nprint-text\n"
            "expect-text Hi\\r\\n\xD8\xB3\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(result.lines().at(0), "Hi\\r\\n\xD8\xB3");

    result = run("key x\nexpect-text y\nprint-text\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.errors, HasSubstr("line 2: expected text: y"));
    // Each run starts Notes afresh.
    EXPECT_THAT(result.errors, HasSubstr("actual text: x\n"));
    EXPECT_TRUE(result.out.empty());
}

TEST_F(Scripts, KeysByNameTypeTheirCharactersWithTheShiftAndCapsLockState) {
    KvemuResult result =
        run("key VK_A\nkey VK_SPACE\nkeydown VK_SHIFT\nkey VK_B\nkey VK_2\nkeyup VK_SHIFT\n"
            "key VK_C\nkey VK_CAPITAL\nkey VK_D\nkey VK_CAPITAL\nkey VK_E\nprint-text\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_EQ(result.lines().at(0), "a B@cDe");
    EXPECT_EQ(run("keydown b\n").status, 2);
}

TEST_F(Scripts, LogTellsProcessesAndInputPanelCallsOnceEach) {
    KvemuResult result = run("print-log\nsip off\nsip on\nprint-log\nprint-log\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    EXPECT_THAT(result.out, HasSubstr(" sip Select 0x00000000\n"));
    EXPECT_THAT(result.out, HasSubstr(" sip GetInfo "));
    EXPECT_THAT(result.out, HasSubstr(" process notes.exe\n"));
    const std::string second = result.out.substr(result.out.find(" process notes.exe"));
    EXPECT_THAT(second, HasSubstr(" sip Hiding\n"));
    EXPECT_THAT(second, HasSubstr(" sip Showing\n"));
    EXPECT_EQ(second.find("sip Select"), std::string::npos);

    // A second Notes hands over to the running one and ends at once.
    result = run("run notes.exe\nprint-log\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    const std::string afterStart = result.out.substr(result.out.find(" process notes.exe\n") + 1);
    EXPECT_THAT(afterStart, HasSubstr(" process notes.exe\n"));
    EXPECT_THAT(afterStart, HasSubstr(" exit notes.exe, code 0\n"));
}

TEST_F(Scripts, StartShowsTheTodayScreenWhoseShortcutBringsNotesBack) {
    // Start sits at the menu bar's left end; the Today screen lists Notes third (after Calendar
    // and Contacts), its rows 22 pixels high from 64 pixels below the work area's top.
    KvemuResult result = run("key n\ntap 20 307\nprint-text\ntap 30 145\nprint-text\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    const auto lines = result.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Today");
    EXPECT_EQ(lines[1], "n");
}

TEST_F(Scripts, SipOffHidesThePanelAndOnShowsIt) {
    KvemuResult result = run("sip off\nprint-sip\nsip on\nprint-sip\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    const auto lines = result.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_THAT(lines[0], testing::EndsWith(" visible 0"));
    EXPECT_THAT(lines[1], testing::EndsWith(" visible 1"));

    // The menu bar's input panel button does the same.
    result = run("tap 220 307\nprint-sip\ntap 220 307\nprint-sip\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    ASSERT_EQ(result.lines().size(), 2u);
    EXPECT_THAT(result.lines()[0], testing::EndsWith(" visible 0"));
    EXPECT_THAT(result.lines()[1], testing::EndsWith(" visible 1"));
}

TEST_F(Scripts, DeviceFolderKeepsItsStateUntilReset) {
    ASSERT_EQ(run("key k\n").status, 0);
    // Notes starts afresh each run, but the folder, its registry and its log stay.
    EXPECT_TRUE(std::filesystem::exists(device() / "registry.reg"));
    EXPECT_TRUE(std::filesystem::exists(device() / "root/Windows/Kelvo.dll"));
    EXPECT_TRUE(std::filesystem::exists(device() / "root/Windows/Start Menu/Programs/Notes.lnk"));
    std::filesystem::remove(device() / "root/Windows/Start Menu/Programs/Notes.lnk");
    ASSERT_EQ(run("print-text\n").status, 0);
    EXPECT_FALSE(std::filesystem::exists(device() / "root/Windows/Start Menu/Programs/Notes.lnk"));
    ASSERT_EQ(run("print-text\n", "--reset").status, 0);
    EXPECT_TRUE(std::filesystem::exists(device() / "root/Windows/Start Menu/Programs/Notes.lnk"));
    EXPECT_THAT(slurp(device() / "events.log"), HasSubstr(" process notes.exe"));
}

TEST_F(Scripts, ScreenshotsAreWrittenWhereTheScriptSays) {
    const auto shot = file("today.png");
    KvemuResult result = run("shot " + shot.string() + "\n");
    ASSERT_EQ(result.status, 0) << result.errors;
    const std::string png = slurp(shot);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    result = run("shot " + file("no/such/folder/a.png").string() + "\n");
    EXPECT_EQ(result.status, 2);
    EXPECT_THAT(result.errors, HasSubstr("cannot write the screenshot"));
}

TEST_F(Scripts, UnusableDeviceFoldersAreReportedAndLeftAsTheyWere) {
    ASSERT_EQ(run("print-text\n").status, 0);
    // A registry file broken by hand: kvemu names the line and does not overwrite it.
    const std::string broken =
        "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\x]\r\n"
        "\"a\"=dword:nothex\r\n";
    std::ofstream(device() / "registry.reg", std::ios::binary) << broken;
    KvemuResult result = run("print-text\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.errors, HasSubstr("registry"));
    EXPECT_THAT(result.errors, HasSubstr("line 4"));
    EXPECT_EQ(slurp(device() / "registry.reg"), broken);

    // A device folder that cannot be made.
    std::ofstream(file("plain-file")) << "x";
    result = run("print-text\n", "--device '" + file("plain-file").string() + "/device'");
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.errors, HasSubstr("cannot use the device folder"));
}

TEST_F(Scripts, BadCommandLinesExitWithTwo) {
    EXPECT_EQ(run("", "--screen 12").status, 2);
    EXPECT_EQ(run("", "--bogus").status, 2);
    KvemuResult result = run("print-sip\n", "--screen 320x240");
    ASSERT_EQ(result.status, 0) << result.errors;
}

}  // namespace
