// MyClassFactory: creates input method objects for COM and counts server locks.
#include "inputmethod/ClassFactory.h"

#include <winbase.h>

#include <new>

#include "inputmethod/InputMethod.h"

LONG g_objectCount = 0;

STDMETHODIMP MyClassFactory::QueryInterface(REFIID riid, void** ppvObject) {
    if (ppvObject == nullptr)
        return E_POINTER;
    if (riid != IID_IUnknown && riid != IID_IClassFactory) {
        *ppvObject = nullptr;
        return E_NOINTERFACE;
    }
    *ppvObject = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) MyClassFactory::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&m_cRef));
}

STDMETHODIMP_(ULONG) MyClassFactory::Release() {
    const LONG count = InterlockedDecrement(&m_cRef);
    if (count == 0)
        delete this;
    return static_cast<ULONG>(count);
}

STDMETHODIMP MyClassFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) {
    if (ppvObject == nullptr)
        return E_POINTER;
    if (pUnkOuter != nullptr)
        return CLASS_E_NOAGGREGATION;
    if (!isInputMethodInterface(riid))
        return E_NOINTERFACE;
    auto* object = new (std::nothrow) MyIInputMethod();
    if (object == nullptr)
        return E_OUTOFMEMORY;
    const HRESULT result = object->QueryInterface(riid, ppvObject);
    object->Release();
    return result;
}

STDMETHODIMP MyClassFactory::LockServer(BOOL fLock) {
    if (fLock)
        InterlockedIncrement(&g_objectCount);
    else
        InterlockedDecrement(&g_objectCount);
    return S_OK;
}
