// Any other command line: the path of a shortcut, program or document, opened by the shell.
#include <shellapi.h>

#include "KvHelper.h"

void OpenPath(LPCWSTR path) {
    SHELLEXECUTEINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = nullptr;
    info.lpVerb = u"open";
    info.lpFile = path;
    info.lpParameters = nullptr;
    info.lpDirectory = u"\\";
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteEx(&info)) {
        MessageBeep(MB_ICONASTERISK);
        return;
    }
    // The started program's handle is of no further use here; it is not kept open.
    if (info.hProcess != nullptr)
        CloseHandle(info.hProcess);
}
