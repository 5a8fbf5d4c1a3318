// Kelvo.dll as a COM server: its class object, the factory's refusals, server locks, and the
// registry entries registration writes and unregistration removes.
#include "ServerFixture.h"

namespace {

// The text of a value under HKEY_CLASSES_ROOT (nullopt when it cannot be read).
std::optional<std::u16string> classText(const std::u16string& subkey, const WCHAR* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, subkey.c_str(), 0, 0, &key) != ERROR_SUCCESS)
        return std::nullopt;
    WCHAR text[300] = {};
    DWORD size = sizeof(text) - sizeof(WCHAR);
    DWORD type = 0;
    const LONG result =
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ)
        return std::nullopt;
    return std::u16string(text);
}

bool classKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kKelvoClassKey, 0, 0, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

using GetClassObjectProc = HRESULT (*)(REFCLSID, REFIID, void**);

}  // namespace

using ComServer = ServerTest;

TEST_F(ComServer, RegistrationWritesTheClassAsAnInputMethodWithTheLibraryPath) {
    const std::u16string key = kKelvoClassKey;
    EXPECT_EQ(classText(key, nullptr), u"Kelvo Keyboard");
    EXPECT_EQ(classText(key, u"Desc"),
              u"Kelvo includes a Keyboard, a Calculator, a Task-Switcher, and more.");
    EXPECT_EQ(classText(key + u"\\InProcServer32", nullptr), u"\\Windows\\Kelvo.dll");
    EXPECT_EQ(classText(key + u"\\DefaultIcon", nullptr), u"\\Windows\\Kelvo.dll,0");
    EXPECT_EQ(classText(key + u"\\IsSIPInputMethod", nullptr), u"1");
    // Each value is stored with its terminating zero.
    HKEY classKey = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, kKelvoClassKey, 0, 0, &classKey), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(classKey, nullptr, nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, sizeof(u"Kelvo Keyboard"));
    RegCloseKey(classKey);

    // Registering again changes nothing; unregistering removes the whole class, once.
    auto registerServer = exported<HRESULT (*)()>("DllRegisterServer");
    auto unregisterServer = exported<HRESULT (*)()>("DllUnregisterServer");
    ASSERT_NE(registerServer, nullptr);
    ASSERT_NE(unregisterServer, nullptr);
    EXPECT_EQ(registerServer(), S_OK);
    EXPECT_EQ(classText(key + u"\\DefaultIcon", nullptr), u"\\Windows\\Kelvo.dll,0");
    EXPECT_EQ(unregisterServer(), S_OK);
    EXPECT_FALSE(classKeyExists());
    EXPECT_FALSE(classText(key + u"\\InProcServer32", nullptr).has_value());
    EXPECT_EQ(unregisterServer(), E_FAIL);

    // Unregistered, the host can no longer create the class.
    void* object = nullptr;
    EXPECT_EQ(
        CoCreateInstance(kKelvoClass, nullptr, CLSCTX_INPROC_SERVER, IID_IInputMethod, &object),
        REGDB_E_CLASSNOTREG);
}

TEST_F(ComServer, LibraryExportsOnlyItsEntryPoints) {
    exported<HRESULT (*)()>("DllCanUnloadNow");
    ASSERT_NE(library, nullptr);
    for (const char* name : {"DllGetClassObject", "DllCanUnloadNow", "DllRegisterServer",
                             "DllUnregisterServer", "DllMain", "KelvoResourceTable"})
        EXPECT_NE(GetProcAddress(library, name), nullptr) << name;
    for (const char* name : {"g_objectCount", "g_bottomMargin", "AfxGetStaticModuleState"})
        EXPECT_EQ(GetProcAddress(library, name), nullptr) << name;
}

TEST_F(ComServer, ClassObjectIsGivenForTheInputMethodClassOnly) {
    auto getClassObject = exported<GetClassObjectProc>("DllGetClassObject");
    ASSERT_NE(getClassObject, nullptr);
    constexpr CLSID kOther = {
        0x6B1D3E27, 0x4C8A, 0x4F19, {0x9E, 0x52, 0xA0, 0x7D, 0x3C, 0x2B, 0x5E, 0x82}};
    void* factory = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(getClassObject(kOther, IID_IClassFactory, &factory), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(factory, nullptr);
    EXPECT_EQ(canUnloadNow(), S_OK);
    // The right class with an interface a factory lacks.
    EXPECT_EQ(getClassObject(kKelvoClass, IID_IInputMethod, &factory), E_NOINTERFACE);
    EXPECT_EQ(factory, nullptr);

    IClassFactory* classFactory = nullptr;
    ASSERT_EQ(
        getClassObject(kKelvoClass, IID_IClassFactory, reinterpret_cast<void**>(&classFactory)),
        S_OK);
    // The caller holds the only reference; factories do not keep the library.
    EXPECT_EQ(classFactory->AddRef(), 2u);
    EXPECT_EQ(classFactory->Release(), 1u);
    EXPECT_EQ(canUnloadNow(), S_OK);
    void* unknown = nullptr;
    EXPECT_EQ(classFactory->QueryInterface(IID_IUnknown, &unknown), S_OK);
    EXPECT_EQ(unknown, static_cast<void*>(classFactory));
    EXPECT_EQ(classFactory->Release(), 1u);
    EXPECT_EQ(classFactory->Release(), 0u);
}

TEST_F(ComServer, QueryInterfaceGivesTheObjectForItsOwnInterfacesAndNullForAForeignOne) {
    IInputMethod2* im = create();
    ASSERT_NE(im, nullptr);
    // Each of its three interfaces is the object itself, with a reference taken.
    for (const IID* iid : {&IID_IUnknown, &IID_IInputMethod, &IID_IInputMethod2}) {
        void* same = nullptr;
        ASSERT_EQ(im->QueryInterface(*iid, &same), S_OK);
        EXPECT_EQ(same, static_cast<void*>(im));
        EXPECT_EQ(im->Release(), 1u);
    }
    // A foreign interface: E_NOINTERFACE and a null pointer, never the caller's old value, and
    // no reference taken.
    for (const IID* iid : {&IID_IClassFactory, &IID_IIMCallback, &IID_IIMCallback2}) {
        void* other = reinterpret_cast<void*>(0x1);
        EXPECT_EQ(im->QueryInterface(*iid, &other), E_NOINTERFACE);
        EXPECT_EQ(other, nullptr);
    }
    EXPECT_EQ(im->AddRef(), 2u);
    EXPECT_EQ(im->Release(), 1u);

    // Its class factory answers the same way.
    auto getClassObject = exported<GetClassObjectProc>("DllGetClassObject");
    IClassFactory* factory = nullptr;
    ASSERT_EQ(getClassObject(kKelvoClass, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              S_OK);
    void* other = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(factory->QueryInterface(IID_IInputMethod, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(factory->Release(), 0u);

    EXPECT_EQ(im->Release(), 0u);
    EXPECT_EQ(canUnloadNow(), S_OK);
}

TEST_F(ComServer, FactoryRefusesAggregationAndForeignInterfacesWithoutCreating) {
    auto getClassObject = exported<GetClassObjectProc>("DllGetClassObject");
    IClassFactory* factory = nullptr;
    ASSERT_EQ(getClassObject(kKelvoClass, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              S_OK);

    void* object = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &object), E_NOINTERFACE);
    EXPECT_EQ(object, reinterpret_cast<void*>(0x1));  // untouched: nothing was created
    EXPECT_EQ(canUnloadNow(), S_OK);
    IUnknown* outer = reinterpret_cast<IUnknown*>(factory);
    EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, &object), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(canUnloadNow(), S_OK);

    // A created object keeps the library until its last release.
    IInputMethod* im = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IInputMethod, reinterpret_cast<void**>(&im)),
              S_OK);
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    EXPECT_EQ(im->AddRef(), 2u);
    EXPECT_EQ(im->Release(), 1u);
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    EXPECT_EQ(im->Release(), 0u);
    EXPECT_EQ(canUnloadNow(), S_OK);
    factory->Release();
}

TEST_F(ComServer, ServerLocksKeepTheLibraryUntilEachIsUndone) {
    auto getClassObject = exported<GetClassObjectProc>("DllGetClassObject");
    IClassFactory* factory = nullptr;
    ASSERT_EQ(getClassObject(kKelvoClass, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(canUnloadNow(), S_OK);
    factory->Release();

    // With no object and no lock the runtime unloads the library's copy.
    IInputMethod2* im = create();
    im->Release();
    FreeLibrary(library);
    library = nullptr;
    CoFreeUnusedLibraries();
    EXPECT_EQ(GetModuleHandleW(u"Kelvo.dll"), nullptr);
}

TEST_F(ComServer, ProvisioningFailsForAMissingOrForeignLibrary) {
    EXPECT_EQ(device::registerServerLibrary(m_root / "no-such.dll"), E_FAIL);
    // A file that is no library is copied but cannot be loaded.
    const std::filesystem::path notALibrary = m_root / "Plain.dll";
    writeDeviceFile(u"\\Plain.dll", "not a library");
    EXPECT_EQ(device::registerServerLibrary(notALibrary), E_FAIL);
}
