// SHGetSpecialFolderPath: the device paths of the shell's folders, by the names the device's
// registry gives them.
#include <shlobj.h>
#include <winbase.h>
#include <winreg.h>

#include <algorithm>
#include <string>

#include "registry/TextValue.h"

namespace {

struct SpecialFolder {
    int id;
    const char16_t* valueName;  // under "System\Explorer\Shell Folders"
    const char16_t* englishPath;
};

constexpr SpecialFolder kFolders[] = {
    {CSIDL_PROGRAMS, u"Programs", u"\\Windows\\Start Menu\\Programs"},
    {CSIDL_PERSONAL, u"My Documents", u"\\My Documents"},
    {CSIDL_STARTMENU, u"Start Menu", u"\\Windows\\Start Menu"},
    {CSIDL_WINDOWS, nullptr, u"\\Windows"},
};

constexpr const char16_t* kShellFoldersKey = u"System\\Explorer\\Shell Folders";

bool folderExists(const std::u16string& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates the folder and any missing folder above it.
bool createFolders(const std::u16string& path) {
    for (size_t end = path.find(u'\\', 1);; end = path.find(u'\\', end + 1)) {
        const std::u16string part = path.substr(0, end);
        if (!folderExists(part) && !CreateDirectoryW(part.c_str(), nullptr))
            return false;
        if (end == std::u16string::npos)
            return true;
    }
}

BOOL fail(LPWSTR path, DWORD error) {
    path[0] = 0;
    SetLastError(error);
    return FALSE;
}

}  // namespace

BOOL SHGetSpecialFolderPath(HWND, LPWSTR path, int folder, BOOL create) {
    if (path == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto* found = std::find_if(std::begin(kFolders), std::end(kFolders),
                                     [&](const SpecialFolder& f) { return f.id == folder; });
    if (found == std::end(kFolders))
        return fail(path, ERROR_INVALID_PARAMETER);
    std::u16string result = found->englishPath;
    if (found->valueName != nullptr) {
        auto named =
            platform::readRegistryText(HKEY_LOCAL_MACHINE, kShellFoldersKey, found->valueName);
        if (named && named->size() < MAX_PATH && (*named)[0] == u'\\')
            result = *named;
    }
    while (result.size() > 1 && result.back() == u'\\')
        result.pop_back();
    if (!folderExists(result) && !(create && createFolders(result)))
        return fail(path, ERROR_PATH_NOT_FOUND);
    std::copy(result.begin(), result.end(), path);
    path[result.size()] = 0;
    return TRUE;
}
