// SHGetFileInfoW: a file's icon (that of the program that opens it), display name and
// attributes.
#include <device/Resources.h>
#include <shellapi.h>
#include <winbase.h>
#include <winicon.h>
#include <winresource.h>
#include <winuser.h>

#include <algorithm>
#include <string>

#include "kernel/DevicePath.h"
#include "kernel/Process.h"
#include "resources/ResourceTables.h"
#include "shell/OpenCommand.h"

namespace {

constexpr UINT kProvidedFlags =
    SHGFI_ICON | SHGFI_SMALLICON | SHGFI_DISPLAYNAME | SHGFI_ATTRIBUTES | SHGFI_USEFILEATTRIBUTES;

// The name of the module's first icon group, as LoadImageW takes it.
LPCWSTR firstIconGroup(HMODULE module) {
    const device::ResourceTable* table = platform::resourceTableOf(module);
    if (table == nullptr)
        return nullptr;
    for (uint32_t i = 0; i < table->count; ++i) {
        const device::ResourceEntry& entry = table->entries[i];
        if (entry.typeName == nullptr && entry.typeId == 14)  // RT_GROUP_ICON
            return entry.name != nullptr ? entry.name : MAKEINTRESOURCEW(entry.id);
    }
    return nullptr;
}

// The program's icon at `size` pixels: a built-in program's own icon group in the host
// program's image, or a program library's first icon group.
HICON programIcon(std::u16string_view program, int size) {
    auto listing = platform::findProgramListing(program);
    if (!listing)
        return nullptr;
    if (listing->libraryPath.empty()) {
        if (listing->iconId == 0)
            return nullptr;
        return static_cast<HICON>(LoadImageW(platform::builtinProgramsInstance(),
                                             MAKEINTRESOURCEW(listing->iconId), IMAGE_ICON, size,
                                             size, 0));
    }
    HMODULE library = LoadLibraryW(listing->libraryPath.c_str());
    if (library == nullptr)
        return nullptr;
    HICON icon = nullptr;
    if (LPCWSTR group = firstIconGroup(library))
        icon = static_cast<HICON>(LoadImageW(library, group, IMAGE_ICON, size, size, 0));
    FreeLibrary(library);
    return icon;
}

void copyName(std::u16string_view name, WCHAR (&into)[MAX_PATH]) {
    const size_t length = std::min<size_t>(name.size(), MAX_PATH - 1);
    std::copy_n(name.begin(), length, into);
    into[length] = 0;
}

}  // namespace

DWORD_PTR SHGetFileInfoW(LPCWSTR path, DWORD fileAttributes, SHFILEINFO* info, UINT infoSize,
                         UINT flags) {
    if (path == nullptr || info == nullptr || infoSize < sizeof(SHFILEINFO) ||
        (flags & ~kProvidedFlags) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    *info = SHFILEINFO{};
    const std::u16string file = path;
    DWORD attributes = fileAttributes;
    if (!(flags & SHGFI_USEFILEATTRIBUTES)) {
        attributes = GetFileAttributesW(file.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            // A built-in program is in the program table, not in a file.
            if (!platform::findProgramListing(file)) {
                SetLastError(ERROR_FILE_NOT_FOUND);
                return 0;
            }
            attributes = FILE_ATTRIBUTE_NORMAL;
        }
    }
    if (flags & SHGFI_ATTRIBUTES)
        info->dwAttributes = attributes;
    if (flags & SHGFI_DISPLAYNAME) {
        std::u16string_view name = platform::deviceFileNameOf(file);
        if (name.size() > 4 && platform::sameDeviceName(name.substr(name.size() - 4), u".lnk"))
            name.remove_suffix(4);
        copyName(name, info->szDisplayName);
    }
    if (flags & SHGFI_ICON) {
        auto command = platform::openCommandFor(file, u"");
        if (auto* opening = std::get_if<platform::OpenCommand>(&command)) {
            const int size = GetSystemMetrics((flags & SHGFI_SMALLICON) ? SM_CXSMICON : SM_CXICON);
            info->hIcon = programIcon(opening->program, size);
        }
        if (info->hIcon == nullptr) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return 0;
        }
    }
    return 1;
}
