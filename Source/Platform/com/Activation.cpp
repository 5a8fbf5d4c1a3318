// CoCreateInstance and friends. A class is found through
// HKEY_CLASSES_ROOT\CLSID\{clsid}\InProcServer32 (its default value names the library), the
// library is loaded into the calling process, and its DllGetClassObject makes the class object.
// Each process keeps the libraries COM loaded for it until they say they can be unloaded.
#include <device/EventLog.h>
#include <device/PlatformClasses.h>
#include <device/Programs.h>
#include <objbase.h>
#include <wchar16.h>
#include <winbase.h>
#include <winreg.h>

#include <cstdlib>
#include <map>
#include <mutex>
#include <vector>

#include "kernel/DevicePath.h"
#include "kernel/DeviceReset.h"
#include "kernel/Module.h"
#include "kernel/Process.h"
#include "registry/TextValue.h"

namespace platform {

namespace {

struct PlatformClass {
    CLSID clsid;
    std::u16string libraryName;
};

struct ComState {
    std::mutex mutex;
    std::vector<PlatformClass> platformClasses;
    std::map<DWORD, std::vector<HMODULE>> libraries;  // per process, loaded by COM
    bool exitHookAdded = false;
};

ComState& comState() {
    static ComState* state = new ComState;
    return *state;
}

thread_local int t_initCount = 0;

// A fresh device's shell has not initialised COM and holds no library through it (the
// libraries themselves come down with the shell's other libraries).
const bool resetRegistered = addResetStep(ResetStage::Windows, [] {
    t_initCount = 0;
    auto& state = comState();
    std::lock_guard lock(state.mutex);
    state.libraries.clear();
});

// The library that serves `clsid`, from the registry.
bool serverLibraryOf(REFCLSID clsid, std::u16string& library) {
    auto path = readRegistryText(HKEY_CLASSES_ROOT,
                                 u"CLSID\\" + guidToString(clsid) + u"\\InProcServer32", nullptr);
    if (!path)
        return false;
    library = std::move(*path);
    return true;
}

HMODULE comLibrary(const std::u16string& path, HRESULT& error) {
    auto& state = comState();
    DWORD process = GetCurrentProcessId();
    {
        std::lock_guard lock(state.mutex);
        if (!state.exitHookAdded) {
            state.exitHookAdded = true;
            addProcessExitHook([](DWORD ended) {
                auto& s = comState();
                std::lock_guard hookLock(s.mutex);
                s.libraries.erase(ended);  // the process's modules are released as it ends
            });
        }
        for (HMODULE module : state.libraries[process]) {
            Module* loaded = moduleOf(module);
            if (loaded && (sameDeviceName(loaded->devicePath, path) ||
                           sameDeviceName(deviceFileNameOf(loaded->devicePath), path))) {
                return module;
            }
        }
    }
    HMODULE module = LoadLibraryW(path.c_str());
    if (module == nullptr) {
        error = HRESULT_FROM_WIN32(GetLastError());
        return nullptr;
    }
    std::lock_guard lock(state.mutex);
    state.libraries[process].push_back(module);
    return module;
}

bool isPlatformClass(REFCLSID clsid) {
    auto& state = comState();
    std::lock_guard lock(state.mutex);
    for (const auto& entry : state.platformClasses) {
        if (IsEqualGUID(entry.clsid, clsid))
            return true;
    }
    return false;
}

// Creations of classes served by installed libraries go to the event log, with the program
// that asked and the result; the platform's own classes (the imaging factory) do not.
void logCreation(REFCLSID clsid, HRESULT result) {
    if (isPlatformClass(clsid))
        return;
    WCHAR code[12] = {};
    swprintf(code, 12, u"0x%08X", static_cast<unsigned>(result));
    const std::u16string program(deviceFileNameOf(device::processImagePath(GetCurrentProcessId())));
    device::logEvent(u"com", program + u" creates " + guidToString(clsid) + u": " + code);
}

// Frees the calling process's COM libraries whose DllCanUnloadNow says S_OK.
void freeUnusedLibraries() {
    auto& state = comState();
    std::vector<HMODULE> candidates;
    {
        std::lock_guard lock(state.mutex);
        candidates = state.libraries[GetCurrentProcessId()];
    }
    for (HMODULE module : candidates) {
        auto canUnload =
            reinterpret_cast<DllCanUnloadNowProc>(GetProcAddress(module, "DllCanUnloadNow"));
        if (canUnload == nullptr || canUnload() != S_OK)
            continue;
        {
            std::lock_guard lock(state.mutex);
            auto& loaded = state.libraries[GetCurrentProcessId()];
            std::erase(loaded, module);
        }
        FreeLibrary(module);
    }
}

}  // namespace

}  // namespace platform

namespace device {

void registerPlatformClass(REFCLSID clsid, std::u16string_view libraryName,
                           DllGetClassObjectProc getClassObject, DllCanUnloadNowProc canUnloadNow) {
    platform::BuiltinLibrary library;
    library.name = std::u16string(libraryName);
    library.exports["DllGetClassObject"] = reinterpret_cast<FARPROC>(getClassObject);
    library.exports["DllCanUnloadNow"] = reinterpret_cast<FARPROC>(canUnloadNow);
    platform::registerBuiltinLibrary(std::move(library));
    auto& state = platform::comState();
    std::lock_guard lock(state.mutex);
    state.platformClasses.push_back({clsid, std::u16string(libraryName)});
}

void writePlatformClassEntries() {
    std::vector<platform::PlatformClass> classes;
    {
        auto& state = platform::comState();
        std::lock_guard lock(state.mutex);
        classes = state.platformClasses;
    }
    for (const auto& entry : classes) {
        std::u16string keyPath =
            u"CLSID\\" + platform::guidToString(entry.clsid) + u"\\InProcServer32";
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, 0, 0, nullptr, &key,
                            nullptr) != ERROR_SUCCESS) {
            continue;
        }
        std::u16string value = u"\\Windows\\" + entry.libraryName;
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(WCHAR)));
        RegCloseKey(key);
    }
}

}  // namespace device

HRESULT CoInitializeEx(LPVOID, DWORD) {
    if (platform::t_initCount++ > 0)
        return S_FALSE;
    device::writePlatformClassEntries();
    return S_OK;
}

void CoUninitialize() {
    if (platform::t_initCount == 0)
        return;
    // The last uninitialisation of a thread unloads what nothing uses any more; a library
    // that still serves live objects stays, so that their code is never unmapped under them.
    if (--platform::t_initCount == 0)
        platform::freeUnusedLibraries();
}

HRESULT CoGetClassObject(REFCLSID clsid, DWORD clsContext, LPVOID, REFIID iid, LPVOID* object) {
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (platform::t_initCount == 0)
        return CO_E_NOTINITIALIZED;
    std::u16string library;
    if (!(clsContext & CLSCTX_INPROC_SERVER) || !platform::serverLibraryOf(clsid, library)) {
        return REGDB_E_CLASSNOTREG;
    }
    HRESULT error = S_OK;
    HMODULE module = platform::comLibrary(library, error);
    if (module == nullptr)
        return error;
    auto getClassObject =
        reinterpret_cast<DllGetClassObjectProc>(GetProcAddress(module, "DllGetClassObject"));
    if (getClassObject == nullptr)
        return CO_E_ERRORINDLL;
    return getClassObject(clsid, iid, object);
}

HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD clsContext, REFIID iid,
                         LPVOID* object) {
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    IClassFactory* factory = nullptr;
    HRESULT result = CoGetClassObject(clsid, clsContext, nullptr, IID_IClassFactory,
                                      reinterpret_cast<LPVOID*>(&factory));
    if (SUCCEEDED(result) && factory == nullptr)
        result = E_NOINTERFACE;
    if (SUCCEEDED(result)) {
        result = factory->CreateInstance(outer, iid, object);
        factory->Release();
    }
    platform::logCreation(clsid, result);
    return result;
}

void CoFreeUnusedLibraries() {
    platform::freeUnusedLibraries();
}

LPVOID CoTaskMemAlloc(SIZE_T size) {
    return std::malloc(size == 0 ? 1 : size);
}

void CoTaskMemFree(LPVOID memory) {
    std::free(memory);
}
