// The program and game lists of the launcher face.
#include "panel/Launcher.h"

#include <shellapi.h>
#include <shlobj.h>
#include <windows.h>

#include <array>

#include "panel/MyPanel.h"
#include "panel/SpecialKeys.h"

namespace {

// The Programs folders whose games have a folder of their own, and that folder.
struct GamesFolder {
    const WCHAR* programsFolder;
    const WCHAR* gamesSubfolder;
};
constexpr GamesFolder kGamesFolders[] = {
    {u"\\Windows\\Start Menu\\Programs", u"Games\\"},
    {u"\\Windows\\Startmen\u00FC\\Programme", u"Spiele\\"},
};

// A games folder may hold the folder's own picture as a shortcut; it is not a game.
constexpr const WCHAR* kFolderIconShortcut = u"icon.lnk";

enum class FolderIcon { Listed, Skipped };

template <size_t N>
void clearList(std::array<HICON, N>& icons, std::array<std::u16string, N>& paths) {
    for (size_t i = 0; i < N; ++i) {
        if (icons[i] != nullptr)
            DestroyIcon(icons[i]);
        icons[i] = nullptr;
        paths[i].clear();
    }
}

// Lists the shortcuts of `folder` (ending in "\"), in the order the search returns them, each
// with its small icon, until the list is full.
template <size_t N>
void listShortcuts(const std::u16string& folder, std::array<HICON, N>& icons,
                   std::array<std::u16string, N>& paths, FolderIcon folderIcon) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + u"*.lnk").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    size_t count = 0;
    do {
        if (folderIcon == FolderIcon::Skipped &&
            lstrcmpiW(found.cFileName, kFolderIconShortcut) == 0)
            continue;
        paths[count] = folder + found.cFileName;
        SHFILEINFO info{};
        SHGetFileInfo(paths[count].c_str(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_SMALLICON);
        icons[count] = info.hIcon;
        ++count;
    } while (count < N && FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace

void RefreshLauncher(CMyPanel& panel) {
    clearList(panel.programIcons, panel.programPaths);
    clearList(panel.gameIcons, panel.gamePaths);
    WCHAR programs[MAX_PATH] = {};
    if (!SHGetSpecialFolderPath(nullptr, programs, CSIDL_PROGRAMS, FALSE))
        return;
    const std::u16string folder = std::u16string(programs) + u"\\";
    listShortcuts(folder, panel.programIcons, panel.programPaths, FolderIcon::Listed);
    std::u16string games = folder;
    for (const GamesFolder& known : kGamesFolders) {
        if (lstrcmpiW(programs, known.programsFolder) == 0)
            games += known.gamesSubfolder;
    }
    listShortcuts(games, panel.gameIcons, panel.gamePaths, FolderIcon::Skipped);
}

void LaunchShortcut(const std::u16string& path) {
    StartProgram(kHelperProgram, path);
}
