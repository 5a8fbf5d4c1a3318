// "SETTINGS": the options dialog of the keyboard, shown by an input method object of this
// process's own, not the one inside the input panel host.
#include <objbase.h>
#include <sip.h>

#include "KvHelper.h"

void OpenOptionsDialog() {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    IInputMethod* inputMethod = nullptr;
    if (CoCreateInstance(CLSID_KelvoInputMethod, nullptr, CLSCTX_INPROC_SERVER, IID_IInputMethod,
                         reinterpret_cast<void**>(&inputMethod)) == S_OK) {
        inputMethod->UserOptionsDlg(nullptr);
        inputMethod->Release();
    }
    CoUninitialize();
}
