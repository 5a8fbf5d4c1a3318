// COM activation on the device: per-thread initialisation, creating in-process objects through
// the CLSID entries of HKEY_CLASSES_ROOT, and unloading libraries that no longer serve objects.
#pragma once

#include "unknwn.h"
#include "winerror.h"

typedef enum tagCOINIT {
    COINIT_MULTITHREADED = 0x0,
    COINIT_APARTMENTTHREADED = 0x2,
} COINIT;

typedef enum tagCLSCTX {
    CLSCTX_INPROC_SERVER = 0x1,
    CLSCTX_INPROC_HANDLER = 0x2,
    CLSCTX_LOCAL_SERVER = 0x4,
    CLSCTX_REMOTE_SERVER = 0x10,
} CLSCTX;
#define CLSCTX_INPROC (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER)
#define CLSCTX_ALL (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER)

HRESULT CoInitializeEx(LPVOID reserved, DWORD coInit);
void CoUninitialize();
HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD clsContext, REFIID iid,
                         LPVOID* object);
HRESULT CoGetClassObject(REFCLSID clsid, DWORD clsContext, LPVOID serverInfo, REFIID iid,
                         LPVOID* object);
void CoFreeUnusedLibraries();
LPVOID CoTaskMemAlloc(SIZE_T size);
void CoTaskMemFree(LPVOID memory);

// The entry points an in-process server exports.
typedef HRESULT (*DllGetClassObjectProc)(REFCLSID clsid, REFIID iid, LPVOID* object);
typedef HRESULT (*DllCanUnloadNowProc)();
