// The library's COM entry points (class object, unloading, registration) and its application
// object. Registration writes the class under HKEY_CLASSES_ROOT, marked as an input method.
#include <afxwin.h>
#include <winreg.h>

#include <new>
#include <string>

#include "inputmethod/ClassFactory.h"

namespace {

class CKelvoApp : public CWinApp {
public:
    CKelvoApp() : CWinApp(u"Kelvo") {}
    BOOL InitInstance() override { return CWinApp::InitInstance(); }
};

CKelvoApp theApp;

std::u16string classKeyPath() {
    return std::u16string(u"CLSID\\") + kKelvoClassText;
}

void setText(HKEY key, const WCHAR* name, const std::u16string& text) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(WCHAR)));
}

void setSubkeyText(HKEY parent, const WCHAR* subkey, const std::u16string& text) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(parent, subkey, 0, nullptr, 0, 0, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    setText(key, nullptr, text);
    RegCloseKey(key);
}

// The library's own full device path.
std::u16string modulePath() {
    WCHAR path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(AfxGetInstanceHandle(), path, MAX_PATH);
    return std::u16string(path, length < MAX_PATH ? length : 0);
}

}  // namespace

extern "C" HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (ppv == nullptr)
        return E_POINTER;
    if (rclsid != CLSID_KelvoInputMethod) {
        *ppv = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    auto* factory = new (std::nothrow) MyClassFactory();
    if (factory == nullptr) {
        *ppv = nullptr;
        return E_OUTOFMEMORY;
    }
    const HRESULT result = factory->QueryInterface(riid, ppv);
    factory->Release();
    return result;
}

extern "C" HRESULT DllCanUnloadNow() {
    return g_objectCount == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT DllRegisterServer() {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    HKEY classKey = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, classKeyPath().c_str(), 0, nullptr, 0, 0, nullptr,
                        &classKey, nullptr) != ERROR_SUCCESS)
        return E_FAIL;
    setText(classKey, nullptr, u"Kelvo Keyboard");
    setText(classKey, u"Desc",
            u"Kelvo includes a Keyboard, a Calculator, a Task-Switcher, and more.");
    const std::u16string path = modulePath();
    setSubkeyText(classKey, u"InProcServer32", path);
    setSubkeyText(classKey, u"DefaultIcon", path + u",0");
    setSubkeyText(classKey, u"IsSIPInputMethod", u"1");
    RegCloseKey(classKey);
    return S_OK;
}

extern "C" HRESULT DllUnregisterServer() {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    return RegDeleteKeyW(HKEY_CLASSES_ROOT, classKeyPath().c_str()) == ERROR_SUCCESS ? S_OK
                                                                                     : E_FAIL;
}
