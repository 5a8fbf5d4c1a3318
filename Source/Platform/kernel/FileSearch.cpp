// FindFirstFileW / FindNextFileW: the entries of one folder whose names match a pattern with
// `*` and `?`, taken as a snapshot when the search starts, sorted by name.
#include <device/FileSystem.h>
#include <winbase.h>

#include <sys/stat.h>
#include <algorithm>

#include "kernel/DevicePath.h"
#include <wchar16.h>
#include "kernel/KernelObject.h"

namespace platform {

namespace {

struct FoundEntry {
    std::u16string name;
    bool directory;
    uint64_t size;
    int64_t modifiedUnixSeconds;
};

class FileSearch : public KernelObject {
public:
    std::vector<FoundEntry> entries;
    size_t next = 0;
};

// 100-nanosecond intervals since 1601, as FILETIME counts.
FILETIME fileTimeOf(int64_t unixSeconds) {
    uint64_t ticks = static_cast<uint64_t>(unixSeconds + 11644473600LL) * 10000000ull;
    return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

void fill(const FoundEntry& entry, LPWIN32_FIND_DATAW data) {
    *data = {};
    data->dwFileAttributes = entry.directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    data->ftCreationTime = data->ftLastAccessTime = data->ftLastWriteTime =
        fileTimeOf(entry.modifiedUnixSeconds);
    data->nFileSizeHigh = static_cast<DWORD>(entry.size >> 32);
    data->nFileSizeLow = static_cast<DWORD>(entry.size);
    std::copy(entry.name.begin(), entry.name.end(), data->cFileName);
    data->cFileName[entry.name.size()] = 0;
}

}  // namespace

}  // namespace platform

HANDLE FindFirstFileW(LPCWSTR fileName, LPWIN32_FIND_DATAW findData) {
    if (fileName == nullptr || findData == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    std::u16string_view path(fileName);
    std::u16string_view pattern = platform::deviceFileNameOf(path);
    auto folder = device::resolveDevicePath(platform::deviceFolderOf(path));
    if (!folder || pattern.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    auto search = std::make_shared<platform::FileSearch>();
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator(*folder, error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        if (it->is_symlink(error))
            continue;  // links could lead out of the device
        std::u16string name = platform::fromUtf8(it->path().filename().string());
        // A name the find data cannot hold whole is left out rather than cut short.
        if (name.size() >= MAX_PATH || !platform::matchesWildcard(pattern, name))
            continue;
        struct stat info {};
        if (::stat(it->path().c_str(), &info) != 0)
            continue;
        search->entries.push_back({std::move(name), S_ISDIR(info.st_mode),
                                   static_cast<uint64_t>(info.st_size), info.st_mtime});
    }
    if (error && search->entries.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (search->entries.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::sort(search->entries.begin(), search->entries.end(),
              [](const auto& a, const auto& b) { return a.name < b.name; });
    platform::fill(search->entries[0], findData);
    search->next = 1;
    return platform::addHandle(search);
}

BOOL FindNextFileW(HANDLE findFile, LPWIN32_FIND_DATAW findData) {
    auto search = platform::objectAs<platform::FileSearch>(findFile);
    if (!search || findData == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (search->next >= search->entries.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    platform::fill(search->entries[search->next++], findData);
    return TRUE;
}

BOOL FindClose(HANDLE findFile) {
    if (!platform::objectAs<platform::FileSearch>(findFile)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return CloseHandle(findFile);
}
