// What the activation tests and their small COM server share: the class ids and the one
// interface its objects have.
#pragma once

#include <unknwn.h>

// Served: objects answer ICounterObject.
inline constexpr CLSID CLSID_TestCounter = {
    0x8A3F0C21, 0x1B2D, 0x4E5F, {0x90, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}};
// Registered to the same library, which refuses to make it.
inline constexpr CLSID CLSID_TestRefused = {
    0x8A3F0C22, 0x1B2D, 0x4E5F, {0x90, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}};
inline constexpr IID IID_ICounterObject = {
    0x8A3F0C23, 0x1B2D, 0x4E5F, {0x90, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}};

struct ICounterObject : public IUnknown {
    // How many objects of the library are alive in this process.
    STDMETHOD_(LONG, LiveObjects)() PURE;

protected:
    ~ICounterObject() = default;
};
