// COM classes that the platform itself serves (the imaging factory): each lives in a built-in
// library that programs load by name, and is entered in HKEY_CLASSES_ROOT like any other class,
// so that CoCreateInstance finds it the ordinary way.
#pragma once

#include <string>

#include <objbase.h>

namespace device {

// Makes `libraryName` ("imaging.dll") a built-in library whose DllGetClassObject and
// DllCanUnloadNow are the given functions, serving `clsid`.
void registerPlatformClass(REFCLSID clsid, std::u16string_view libraryName,
                           DllGetClassObjectProc getClassObject, DllCanUnloadNowProc canUnloadNow);

// Writes the CLSID entries of every platform class into the registry (done by CoInitializeEx;
// harmless to repeat).
void writePlatformClassEntries();

}  // namespace device
