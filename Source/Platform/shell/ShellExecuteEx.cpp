// ShellExecuteExW: opening a shortcut, a program or a document with the verb "open".
#include <shellapi.h>
#include <wchar16.h>
#include <winbase.h>

#include <vector>

#include "shell/OpenCommand.h"

namespace {

// ShellExecuteExW's answer above 32 means success.
constexpr INT_PTR kStarted = 33;

INT_PTR failureCode(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
            return SE_ERR_FNF;
        case ERROR_PATH_NOT_FOUND:
            return SE_ERR_PNF;
        case ERROR_NO_ASSOCIATION:
            return SE_ERR_NOASSOC;
        default:
            return static_cast<INT_PTR>(error);
    }
}

BOOL fail(SHELLEXECUTEINFO& info, DWORD error) {
    info.hInstApp = reinterpret_cast<HINSTANCE>(failureCode(error));
    SetLastError(error);
    return FALSE;
}

// The file as a full device path: a relative name is taken in the given directory.
std::u16string fullPath(LPCWSTR file, LPCWSTR directory) {
    std::u16string path = file != nullptr ? file : u"";
    if (path.empty() || path[0] == u'\\' || path[0] == u'/' || directory == nullptr ||
        *directory == 0)
        return path;
    std::u16string folder = directory;
    if (folder.back() != u'\\' && folder.back() != u'/')
        folder += u'\\';
    return folder + path;
}

}  // namespace

BOOL ShellExecuteExW(LPSHELLEXECUTEINFO info) {
    if (info == nullptr || info->cbSize != sizeof(SHELLEXECUTEINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    info->hInstApp = nullptr;
    if (info->fMask & SEE_MASK_NOCLOSEPROCESS)
        info->hProcess = nullptr;
    if (info->lpVerb != nullptr && *info->lpVerb != 0 && lstrcmpiW(info->lpVerb, u"open") != 0)
        return fail(*info, ERROR_NO_ASSOCIATION);

    const std::u16string file = fullPath(info->lpFile, info->lpDirectory);
    auto command =
        platform::openCommandFor(file, info->lpParameters != nullptr ? info->lpParameters : u"");
    if (const DWORD* error = std::get_if<DWORD>(&command))
        return fail(*info, *error);
    const auto& [program, arguments] = std::get<platform::OpenCommand>(command);

    std::vector<WCHAR> commandLine(arguments.begin(), arguments.end());
    commandLine.push_back(0);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, nullptr, &started))
        return fail(*info, GetLastError());
    CloseHandle(started.hThread);
    if (info->fMask & SEE_MASK_NOCLOSEPROCESS)
        info->hProcess = started.hProcess;
    else
        CloseHandle(started.hProcess);
    info->hInstApp = reinterpret_cast<HINSTANCE>(kStarted);
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}
