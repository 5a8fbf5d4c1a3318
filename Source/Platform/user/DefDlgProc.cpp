// The dialog class's window procedure: each message goes first to the dialog procedure, whose
// result (DWLP_MSGRESULT when it returns TRUE) answers it; what the procedure leaves gets the
// dialog's defaults: the background from WM_CTLCOLORDLG, WM_CLOSE as Cancel, the default push
// button, the dialog font, and the focus kept on the control that had it. Also the check box
// helpers that address a dialog's buttons by id.
#include "user/ControlSupport.h"
#include "user/Dialog.h"
#include "user/SystemClasses.h"

namespace platform::user {

namespace {

// The data of the dialog being created on this thread, adopted at its WM_NCCREATE.
thread_local DialogData* t_pendingData = nullptr;
thread_local DLGPROC t_pendingProc = nullptr;

bool isDialogClass(HWND hwnd) {
    WCHAR name[16] = {};
    GetClassNameW(hwnd, name, 16);
    return lstrcmpiW(name, WC_DIALOG) == 0;
}

// Messages whose answer is the dialog procedure's return value itself.
bool answersDirectly(UINT message) {
    switch (message) {
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_INITDIALOG:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
            return true;
        default:
            return false;
    }
}

WORD defaultButtonId(HWND dialog, const DialogData& data) {
    if (data.defaultId != 0)
        return data.defaultId;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const auto style = static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE));
        if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON &&
            SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) {
            return static_cast<WORD>(GetDlgCtrlID(child));
        }
    }
    return 0;
}

// The focus goes back to the control that had it, else to the first tab stop.
void restoreFocus(HWND dialog, DialogData& data) {
    HWND target = data.lastFocus;
    if (target == nullptr || !IsWindow(target) || !IsChild(dialog, target) ||
        !IsWindowVisible(target) || !IsWindowEnabled(target)) {
        target = GetNextDlgTabItem(dialog, nullptr, FALSE);
    }
    if (target != nullptr)
        SetFocus(target);
}

LRESULT defaultProcessing(HWND dialog, DialogData* data, UINT message, WPARAM wParam,
                          LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: {
            auto dc = reinterpret_cast<HDC>(wParam);
            auto brush = reinterpret_cast<HBRUSH>(
                SendMessageW(dialog, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(dialog)));
            RECT client{};
            GetClientRect(dialog, &client);
            FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
        case WM_CLOSE: {
            HWND cancel = GetDlgItem(dialog, IDCANCEL);
            if (cancel != nullptr && !IsWindowEnabled(cancel)) {
                MessageBeep(0);
                return 0;
            }
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(cancel));
            return 0;
        }
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(data ? data->font : nullptr);
        case DM_GETDEFID: {
            const WORD id = data ? defaultButtonId(dialog, *data) : 0;
            return id != 0 ? MAKELONG(id, DC_HASDEFID) : 0;
        }
        case DM_SETDEFID:
            if (data)
                data->defaultId = static_cast<WORD>(wParam);
            return TRUE;
        case WM_ACTIVATE:
            if (data == nullptr)
                return 0;
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(dialog, focus))
                    data->lastFocus = focus;
            } else {
                restoreFocus(dialog, *data);
            }
            return 0;
        case WM_SETFOCUS:
            if (data)
                restoreFocus(dialog, *data);
            return 0;
        case WM_NEXTDLGCTL: {
            HWND target = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                         : GetNextDlgTabItem(dialog, GetFocus(), wParam != 0);
            if (target != nullptr)
                SetFocus(target);
            return 0;
        }
        default:
            return DefWindowProcW(dialog, message, wParam, lParam);
    }
}

}  // namespace

DialogData* dialogData(HWND hwnd) {
    if (!isDialogClass(hwnd))
        return nullptr;
    return reinterpret_cast<DialogData*>(GetWindowLongPtrW(hwnd, kDialogDataOffset));
}

// createDialog announces the data and procedure of the dialog it is about to make.
void expectDialog(DialogData* data, DLGPROC proc) {
    t_pendingData = data;
    t_pendingProc = proc;
}

DialogData* withdrawDialog() {
    DialogData* unclaimed = t_pendingData;
    t_pendingData = nullptr;
    t_pendingProc = nullptr;
    return unclaimed;
}

}  // namespace platform::user

using namespace platform::user;

LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        DialogData* data = t_pendingData ? t_pendingData : new DialogData();
        platform::controls::adoptState(dialog, std::shared_ptr<DialogData>(data));
        SetWindowLongPtrW(dialog, kDialogDataOffset, reinterpret_cast<LONG_PTR>(data));
        SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(t_pendingProc));
        t_pendingData = nullptr;
        t_pendingProc = nullptr;
        if (data->font == nullptr)
            data->font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        return TRUE;
    }
    DialogData* data = dialogData(dialog);
    if (message == WM_NCDESTROY) {
        auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrW(dialog, DWLP_DLGPROC));
        if (proc != nullptr)
            proc(dialog, message, wParam, lParam);
        SetWindowLongPtrW(dialog, kDialogDataOffset, 0);
        if (data != nullptr && data->ownsFont)
            DeleteObject(data->font);
        platform::controls::adoptState(dialog, nullptr);
        return DefWindowProcW(dialog, message, wParam, lParam);
    }
    auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrW(dialog, DWLP_DLGPROC));
    if (proc != nullptr) {
        SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
        const INT_PTR handled = proc(dialog, message, wParam, lParam);
        if (handled != 0) {
            return answersDirectly(message) ? handled : GetWindowLongPtrW(dialog, DWLP_MSGRESULT);
        }
        if (!IsWindow(dialog))
            return 0;
        data = dialogData(dialog);
    }
    return defaultProcessing(dialog, data, message, wParam, lParam);
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    HWND button = GetDlgItem(dialog, id);
    if (button == nullptr)
        return FALSE;
    SendMessageW(button, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    return button ? static_cast<UINT>(SendMessageW(button, BM_GETCHECK, 0, 0)) : 0;
}
