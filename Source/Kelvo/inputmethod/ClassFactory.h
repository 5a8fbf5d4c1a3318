// The COM server side of the library: the input method's class id, the module's count of live
// objects and server locks, and MyClassFactory that creates input method objects.
#pragma once

#include <unknwn.h>

#include <string>

// {6B1D3E27-4C8A-4F19-9E52-A07D3C2B5E81}
inline constexpr CLSID CLSID_KelvoInputMethod = {
    0x6B1D3E27, 0x4C8A, 0x4F19, {0x9E, 0x52, 0xA0, 0x7D, 0x3C, 0x2B, 0x5E, 0x81}};
inline constexpr const WCHAR* kKelvoClassText = u"{6B1D3E27-4C8A-4F19-9E52-A07D3C2B5E81}";

// Live input method objects plus outstanding LockServer(TRUE) calls.
extern LONG g_objectCount;

class MyClassFactory : public IClassFactory {
public:
    MyClassFactory() = default;
    virtual ~MyClassFactory() = default;
    MyClassFactory(const MyClassFactory&) = delete;
    MyClassFactory& operator=(const MyClassFactory&) = delete;

    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(CreateInstance)(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) override;
    STDMETHOD(LockServer)(BOOL fLock) override;

private:
    LONG m_cRef = 1;
};
