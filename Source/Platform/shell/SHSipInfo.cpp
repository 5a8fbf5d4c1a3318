// SHSipInfo: the input panel's state through the shell, as SystemParametersInfo gives it on the
// device.
#include <aygshell.h>
#include <windows.h>

BOOL SHSipInfo(UINT uiAction, UINT, PVOID pvParam, UINT) {
    switch (uiAction) {
        case SPI_GETSIPINFO:
            return SipGetInfo(static_cast<SIPINFO*>(pvParam));
        case SPI_SETSIPINFO:
            return SipSetInfo(static_cast<SIPINFO*>(pvParam));
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
    }
}
