// GUID: the 16-byte identifier of COM classes and interfaces, with comparison and its text form
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in both directions.
#pragma once

#include <cstring>
#include <optional>
#include <string>

#include "windef.h"

typedef struct _GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
} GUID;

typedef GUID IID;
typedef GUID CLSID;
typedef const GUID& REFGUID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;
typedef GUID* LPGUID;
typedef CLSID* LPCLSID;

inline bool operator==(const GUID& a, const GUID& b) {
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}
inline bool operator!=(const GUID& a, const GUID& b) {
    return !(a == b);
}
inline BOOL IsEqualGUID(REFGUID a, REFGUID b) {
    return a == b;
}
inline BOOL IsEqualIID(REFIID a, REFIID b) {
    return a == b;
}
inline BOOL IsEqualCLSID(REFCLSID a, REFCLSID b) {
    return a == b;
}

namespace platform {

// "{6B1D3E27-4C8A-4F19-9E52-A07D3C2B5E81}": upper-case hexadecimal, with braces.
std::u16string guidToString(const GUID& guid);

// Accepts the form guidToString writes (hex digits of either case); nothing else.
std::optional<GUID> guidFromString(std::u16string_view text);

}  // namespace platform
