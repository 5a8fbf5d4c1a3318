// The platform's imaging factory class (CLSID_ImagingFactory): its class object, reached by COM
// activation through imagingGetClassObject, as a library's DllGetClassObject would be.
#pragma once

#include <imaging.h>

namespace platform {

// The class object (IClassFactory, or IUnknown) of CLSID_ImagingFactory;
// CLASS_E_CLASSNOTAVAILABLE for any other class.
HRESULT imagingGetClassObject(REFCLSID clsid, REFIID riid, void** object);

}  // namespace platform
