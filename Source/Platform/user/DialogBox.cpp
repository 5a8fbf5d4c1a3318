// Modal dialogs: the owner is disabled while the dialog runs its own message loop (every
// message goes through the platform's pre-translation and the dialog's keyboard handling),
// EndDialog enables the owner again and hides the dialog, and the loop then destroys it.
#include "user/Dialog.h"

namespace platform::user {

INT_PTR runModal(HWND dialog, HWND owner, INT_PTR quitResult) {
    DialogData* data = dialogData(dialog);
    if (data == nullptr)
        return -1;
    if (owner != nullptr && IsWindowEnabled(owner)) {
        data->modalOwner = owner;
        EnableWindow(owner, FALSE);
    }
    if (!data->ended) {
        ShowWindow(dialog, SW_SHOW);
        SetForegroundWindow(dialog);
    }
    MSG msg{};
    while (IsWindow(dialog) && !dialogData(dialog)->ended) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // The program is quitting: the quit message stays for its own loop.
            if (got == 0)
                PostQuitMessage(static_cast<int>(msg.wParam));
            if (IsWindow(dialog))
                EndDialog(dialog, quitResult);
            break;
        }
        if (platform::preTranslateMessage(msg))
            continue;
        if (IsWindow(dialog) && IsDialogMessageW(dialog, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (!IsWindow(dialog)) {
        // Destroyed without EndDialog: the owner must not stay disabled.
        if (owner != nullptr && !IsWindowEnabled(owner))
            EnableWindow(owner, TRUE);
        return quitResult;
    }
    data = dialogData(dialog);
    const INT_PTR result = data->result;
    if (data->modalOwner != nullptr) {
        EnableWindow(data->modalOwner, TRUE);
        data->modalOwner = nullptr;
    }
    DestroyWindow(dialog);
    return result;
}

}  // namespace platform::user

using namespace platform::user;

INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND parent, DLGPROC dialogProc,
                        LPARAM initParam) {
    const auto dialog = loadDialogTemplate(instance, templateName);
    if (!dialog)
        return -1;
    HWND owner = topLevelOf(parent);
    HWND hwnd = createDialog(*dialog, instance, owner, dialogProc, initParam);
    if (hwnd == nullptr)
        return -1;
    return runModal(hwnd, owner, IDCANCEL);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    DialogData* data = dialogData(dialog);
    if (data == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    data->ended = true;
    data->result = result;
    // The owner comes back before the dialog goes, so that it is the window activated next.
    if (data->modalOwner != nullptr) {
        EnableWindow(data->modalOwner, TRUE);
        data->modalOwner = nullptr;
    }
    ShowWindow(dialog, SW_HIDE);
    // Wakes a modal loop that waits for a message.
    PostMessageW(dialog, WM_NULL, 0, 0);
    return TRUE;
}
