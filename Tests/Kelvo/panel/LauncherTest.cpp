// The launcher face: the Programs folder's shortcuts and the games folder chosen by the
// Programs folder's name, their icons, the 30 and 15 limits, and the keys that start them
// through KvHelper.
#include <shlobj.h>
#include <wchar16.h>
#include <winreg.h>

#include "LaunchFixture.h"
#include "PaintSupport.h"
#include "panel/Launcher.h"

using namespace skintest;

namespace {

using Paths = std::vector<std::u16string>;
using Launcher = LaunchTest;

constexpr const char16_t* kPrograms = u"\\Windows\\Start Menu\\Programs\\";

template <size_t N>
Paths filled(const std::array<std::u16string, N>& paths) {
    Paths result;
    for (const auto& path : paths) {
        if (!path.empty())
            result.push_back(path);
    }
    return result;
}

void nameProgramsFolder(const std::u16string& path) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"System\\Explorer\\Shell Folders", 0, nullptr, 0,
                              0, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, u"Programs", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>((path.size() + 1) * sizeof(WCHAR)));
    RegCloseKey(key);
}

std::u16string numbered(const std::u16string& prefix, int n) {
    WCHAR name[16] = {};
    swprintf(name, 16, u"%02d.lnk", n);
    return prefix + name;
}

// Layout 0: a key to the launcher face (layout 1). The launcher face: programs 0, 1, 29 and 30,
// games 0, 14 and 15.
Layout launcherFace() {
    Layout layout;
    layout.flags = LF_LAUNCHER;
    layout.picture = bmpPicture(240, 80, 0xE0E0E0);
    auto launch = [](BYTE list, WORD index, RECT r) { return Key{KF_LAUNCH, index, list, r}; };
    layout.rows = {
        {launch(kLaunchProgram, 0, rect(0, 0, 40, 40)),
         launch(kLaunchProgram, 1, rect(40, 0, 80, 40)),
         launch(kLaunchProgram, 29, rect(80, 0, 120, 40)),
         launch(kLaunchProgram, 30, rect(120, 0, 160, 40))},
        {launch(kLaunchGame, 0, rect(0, 40, 40, 80)), launch(kLaunchGame, 14, rect(40, 40, 80, 80)),
         launch(kLaunchGame, 15, rect(80, 40, 120, 80))},
    };
    return layout;
}

Layout gotoLauncher() {
    Layout layout;
    layout.picture = bmpPicture(240, 80, 0xC0C0C0);
    layout.rows = {{Key{KF_GOTO, 1, 0, rect(0, 0, 240, 80)}}};
    return layout;
}

TEST_F(Launcher, EnglishProgramsFolderAndItsGamesFolder) {
    shortcut(std::u16string(kPrograms) + u"Notes.lnk", u"\\Windows\\Plain.exe");
    shortcut(std::u16string(kPrograms) + u"icon.lnk", u"\\Windows\\Puzzle.exe");
    shortcut(std::u16string(kPrograms) + u"Tools\\Deep.lnk", u"\\Windows\\Puzzle.exe");
    shortcut(std::u16string(kPrograms) + u"Games\\Puzzle.lnk", u"\\Windows\\Puzzle.exe");
    shortcut(std::u16string(kPrograms) + u"Games\\ICON.LNK", u"\\Windows\\Puzzle.exe");
    shortcut(std::u16string(kPrograms) + u"Games\\Memory.lnk", u"\\Windows\\Plain.exe");
    writeDeviceFile(std::u16string(kPrograms) + u"Readme.txt", "not a shortcut");
    writePortraitSkin({launcherFace()});
    createPanel();
    RefreshLauncher(*panel);
    // "icon.lnk" is a program like any other; among the games it is the folder's picture.
    EXPECT_EQ(filled(panel->programPaths), (Paths{std::u16string(kPrograms) + u"Notes.lnk",
                                                  std::u16string(kPrograms) + u"icon.lnk"}));
    EXPECT_EQ(filled(panel->gamePaths), (Paths{std::u16string(kPrograms) + u"Games\\Memory.lnk",
                                               std::u16string(kPrograms) + u"Games\\Puzzle.lnk"}));
    // Each entry has the small icon of its target program, if that program has one.
    EXPECT_EQ(panel->programIcons[0], nullptr);
    EXPECT_NE(panel->programIcons[1], nullptr);
    EXPECT_EQ(panel->gameIcons[0], nullptr);
    EXPECT_NE(panel->gameIcons[1], nullptr);
    EXPECT_EQ(panel->programIcons[2], nullptr);
}

TEST_F(Launcher, GermanProgramsFolderTakesItsGamesFromSpiele) {
    const std::u16string programme = u"\\Windows\\Startmen\u00FC\\Programme";
    nameProgramsFolder(programme);
    shortcut(programme + u"\\Rechner.lnk", u"\\Windows\\Plain.exe");
    shortcut(programme + u"\\Spiele\\Schach.lnk", u"\\Windows\\Puzzle.exe");
    shortcut(programme + u"\\Games\\Chess.lnk", u"\\Windows\\Puzzle.exe");
    writePortraitSkin({launcherFace()});
    createPanel();
    RefreshLauncher(*panel);
    EXPECT_EQ(filled(panel->programPaths), Paths{programme + u"\\Rechner.lnk"});
    EXPECT_EQ(filled(panel->gamePaths), Paths{programme + u"\\Spiele\\Schach.lnk"});
    // The folder's name is compared without regard to case.
    nameProgramsFolder(u"\\WINDOWS\\STARTMEN\u00DC\\PROGRAMME");
    RefreshLauncher(*panel);
    EXPECT_EQ(filled(panel->gamePaths),
              Paths{u"\\WINDOWS\\STARTMEN\u00DC\\PROGRAMME\\Spiele\\Schach.lnk"});
}

TEST_F(Launcher, AnyOtherProgramsFolderIsItsOwnGamesFolder) {
    const std::u16string programs = u"\\Windows\\Menu\\Progs";
    nameProgramsFolder(programs);
    shortcut(programs + u"\\Alpha.lnk", u"\\Windows\\Plain.exe");
    shortcut(programs + u"\\icon.lnk", u"\\Windows\\Puzzle.exe");
    shortcut(programs + u"\\Games\\Golf.lnk", u"\\Windows\\Puzzle.exe");
    writePortraitSkin({launcherFace()});
    createPanel();
    RefreshLauncher(*panel);
    EXPECT_EQ(filled(panel->programPaths),
              (Paths{programs + u"\\Alpha.lnk", programs + u"\\icon.lnk"}));
    EXPECT_EQ(filled(panel->gamePaths), Paths{programs + u"\\Alpha.lnk"});
    // Each list has icons of its own.
    EXPECT_EQ(panel->gameIcons[0], nullptr);
    EXPECT_NE(panel->programIcons[1], nullptr);
}

TEST_F(Launcher, ThirtyProgramsAndFifteenGamesAtMost) {
    for (int i = 0; i < 35; ++i)
        shortcut(numbered(std::u16string(kPrograms) + u"P", i), u"\\Windows\\Puzzle.exe");
    for (int i = 0; i < 20; ++i)
        shortcut(numbered(std::u16string(kPrograms) + u"Games\\G", i), u"\\Windows\\Puzzle.exe");
    writePortraitSkin({launcherFace()});
    createPanel();
    RefreshLauncher(*panel);
    EXPECT_EQ(panel->programPaths[29], numbered(std::u16string(kPrograms) + u"P", 29));
    EXPECT_EQ(filled(panel->programPaths).size(), 30u);
    EXPECT_EQ(panel->gamePaths[14], numbered(std::u16string(kPrograms) + u"Games\\G", 14));
    EXPECT_EQ(filled(panel->gamePaths).size(), 15u);
    for (HICON icon : panel->programIcons)
        EXPECT_NE(icon, nullptr);
}

TEST_F(Launcher, EachRefreshStartsAfreshAndDestroysTheOldIcons) {
    shortcut(std::u16string(kPrograms) + u"A.lnk", u"\\Windows\\Puzzle.exe");
    shortcut(std::u16string(kPrograms) + u"B.lnk", u"\\Windows\\Puzzle.exe");
    writePortraitSkin({launcherFace()});
    createPanel();
    RefreshLauncher(*panel);
    HICON old = panel->programIcons[1];
    ASSERT_NE(old, nullptr);
    DeleteFileW((std::u16string(kPrograms) + u"B.lnk").c_str());
    RefreshLauncher(*panel);
    EXPECT_EQ(filled(panel->programPaths), Paths{std::u16string(kPrograms) + u"A.lnk"});
    EXPECT_EQ(panel->programIcons[1], nullptr);
    EXPECT_FALSE(DestroyIcon(old));  // already destroyed by the refresh
    // Without a Programs folder both lists are empty.
    nameProgramsFolder(u"\\Nowhere");
    RefreshLauncher(*panel);
    EXPECT_TRUE(filled(panel->programPaths).empty());
    EXPECT_TRUE(filled(panel->gamePaths).empty());
    EXPECT_EQ(panel->programIcons[0], nullptr);
}

TEST_F(Launcher, EnteringTheFaceListsAndItsKeysStartKvHelperWithTheShortcutsPath) {
    shortcut(std::u16string(kPrograms) + u"Notes.lnk", u"\\Windows\\Plain.exe");
    shortcut(std::u16string(kPrograms) + u"icon.lnk", u"\\Windows\\Puzzle.exe");
    shortcut(std::u16string(kPrograms) + u"Games\\Puzzle.lnk", u"\\Windows\\Puzzle.exe");
    writePortraitSkin({gotoLauncher(), launcherFace()});
    createPanel();
    EXPECT_TRUE(filled(panel->programPaths).empty());
    tap(120, 40);
    ASSERT_EQ(panel->layout->index, 1);
    EXPECT_EQ(filled(panel->programPaths).size(), 2u);
    UpdateWindow(panelWindow());
    // The second program's icon is painted centred in its key.
    EXPECT_GT(painttest::PanelPixels(panelWindow())
                  .inkBounds(rect(40, 0, 80, 40), [](int, int) { return 0xE0E0E0u; })
                  .right,
              0);

    tap(60, 20);                         // program 1
    tap(20, 60);                         // game 0
    tap(140, 20);                        // program 30: beyond the list
    tap(100, 60);                        // game 15: beyond the list
    EXPECT_EQ(panel->layout->index, 1);  // starting a program leaves the face as it is
    EXPECT_EQ(started(), (std::vector<std::u16string>{
                             u"KvHelper.exe \\Windows\\Start Menu\\Programs\\icon.lnk",
                             u"KvHelper.exe \\Windows\\Start Menu\\Programs\\Games\\Puzzle.lnk"}));
    // An entry without a shortcut hands KvHelper an empty command line (which beeps).
    tap(100, 20);  // program 29
    EXPECT_EQ(started().back(), u"KvHelper.exe");
}

}  // namespace
