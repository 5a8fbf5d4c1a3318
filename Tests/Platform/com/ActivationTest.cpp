// COM activation: CoCreateInstance through the registry, each way it can fail, and unloading a
// library once its objects are gone.
#include <device/EventLog.h>
#include <imaging.h>
#include <objbase.h>
#include <winbase.h>
#include <winreg.h>

#include <filesystem>

#include "DeviceTest.h"
#include "TestServerInterface.h"

namespace {

class Activation : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        std::filesystem::create_directories(m_root / "Windows");
        std::filesystem::copy_file(TEST_SERVER_PATH, m_root / "Windows" / "TestServer.dll");
        registerClass(CLSID_TestCounter, u"\\Windows\\TestServer.dll");
        registerClass(CLSID_TestRefused, u"\\Windows\\TestServer.dll");
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    }
    void TearDown() override {
        CoUninitialize();
        DeviceTest::TearDown();
    }

    static void registerClass(REFCLSID clsid, std::u16string_view library) {
        std::u16string path = u"CLSID\\" + platform::guidToString(clsid) + u"\\InProcServer32";
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, 0, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        std::u16string value(library);
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(WCHAR)));
        RegCloseKey(key);
    }
};

TEST_F(Activation, RegisteredClassIsCreatedInTheCallersProcess) {
    ICounterObject* object = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_ICounterObject,
                               reinterpret_cast<void**>(&object)),
              S_OK);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->LiveObjects(), 1);
    EXPECT_NE(GetModuleHandleW(u"TestServer.dll"), nullptr);

    // A second object comes from the same copy of the library.
    IUnknown* second = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&second)),
              S_OK);
    EXPECT_EQ(object->LiveObjects(), 2);
    second->Release();

    // While an object lives the library stays; once none does, it is unloaded.
    CoFreeUnusedLibraries();
    EXPECT_NE(GetModuleHandleW(u"TestServer.dll"), nullptr);
    object->Release();
    CoFreeUnusedLibraries();
    EXPECT_EQ(GetModuleHandleW(u"TestServer.dll"), nullptr);
}

TEST_F(Activation, EachFailureHasItsOwnResult) {
    void* object = reinterpret_cast<void*>(0x1);
    constexpr CLSID kUnknown = {0x1, 0x2, 0x3, {4, 5, 6, 7, 8, 9, 10, 11}};
    EXPECT_EQ(CoCreateInstance(kUnknown, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);

    // The library's own refusal comes back as it is.
    EXPECT_EQ(
        CoCreateInstance(CLSID_TestRefused, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
        CLASS_E_CLASSNOTAVAILABLE);
    // An interface the object lacks.
    EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_IClassFactory,
                               &object),
              E_NOINTERFACE);
    // Aggregation is refused by the class object.
    IUnknown* outer = reinterpret_cast<IUnknown*>(&object);
    EXPECT_EQ(
        CoCreateInstance(CLSID_TestCounter, outer, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
        CLASS_E_NOAGGREGATION);
    // Only in-process servers exist on the device.
    EXPECT_EQ(
        CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, &object),
        REGDB_E_CLASSNOTREG);
    EXPECT_EQ(
        CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, nullptr),
        E_POINTER);

    // Registered, but the library file is missing.
    registerClass(kUnknown, u"\\Windows\\Gone.dll");
    EXPECT_EQ(CoCreateInstance(kUnknown, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
              HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(object, nullptr);
}

TEST_F(Activation, CreationsOfInstalledClassesAreLoggedWithTheProgramAndResult) {
    device::clearEventLog();
    IUnknown* object = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&object)),
              S_OK);
    object->Release();
    constexpr CLSID kUnknown = {0x1, 0x2, 0x3, {4, 5, 6, 7, 8, 9, 10, 11}};
    CoCreateInstance(kUnknown, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                     reinterpret_cast<void**>(&object));
    // The platform's own imaging factory is not an installed class.
    IUnknown* factory = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_ImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    factory->Release();
    const auto logged = device::eventsOfKind(u"com");
    ASSERT_EQ(logged.size(), 2u);
    EXPECT_EQ(logged[0].text, u"explorer.exe creates " + platform::guidToString(CLSID_TestCounter) +
                                  u": 0x00000000");
    EXPECT_EQ(logged[1].text,
              u"explorer.exe creates " + platform::guidToString(kUnknown) + u": 0x80040154");
}

TEST_F(Activation, ThreadThatNeverInitialisedComIsRefused) {
    HRESULT result = S_OK;
    std::thread([&] {
        void* object = nullptr;
        result = CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                  &object);
    }).join();
    EXPECT_EQ(result, CO_E_NOTINITIALIZED);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);  // counted per thread
    CoUninitialize();
}

}  // namespace
