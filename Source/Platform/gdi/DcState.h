// The Set/Get calls of a device context's state (colours, modes, alignment, the current
// position, the viewport origin) in one form: under the GDI lock, the old value given back, and
// a handle that is no DC answered with the call's failure value.
#pragma once

#include <utility>

#include "gdi/GdiLock.h"
#include "gdi/Objects.h"

namespace platform {

// Sets `attribute` of the DC to `value`; returns the value it had, or `failed`.
template <typename T>
T exchangeDcState(HDC hdc, T DeviceContext::*attribute, T value, T failed) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    return dc != nullptr ? std::exchange(dc->*attribute, value) : failed;
}

// The DC's `attribute`, or `failed`.
template <typename T>
T dcState(HDC hdc, T DeviceContext::*attribute, T failed) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    return dc != nullptr ? dc->*attribute : failed;
}

// The point forms: the old point through `previous` (when given), the point through `out`.
inline BOOL exchangeDcPoint(HDC hdc, POINT DeviceContext::*point, POINT value, LPPOINT previous) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    if (dc == nullptr)
        return FALSE;
    const POINT old = std::exchange(dc->*point, value);
    if (previous != nullptr)
        *previous = old;
    return TRUE;
}

inline BOOL getDcPoint(HDC hdc, POINT DeviceContext::*point, LPPOINT out) {
    GdiLock lock;
    DeviceContext* dc = findDC(hdc);
    if (dc == nullptr || out == nullptr)
        return FALSE;
    *out = dc->*point;
    return TRUE;
}

}  // namespace platform
