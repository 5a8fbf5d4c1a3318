// What a text macro sends now: its own text, the current date or time as the platform formats
// it, or a field of the device owner's details under "\ControlPanel\Owner".
#pragma once

#include <windows.h>

#include <string>

#include "panel/Macros.h"

inline constexpr const WCHAR* kOwnerInfoKey = u"\\ControlPanel\\Owner";
inline constexpr const WCHAR* kOwnerInfoValue = u"Owner";
// The owner block is read into a buffer of this size.
inline constexpr DWORD kOwnerInfoBytes = 640;
// The byte offsets at which the owner block's fields start.
enum OwnerField : DWORD {
    OwnerName = 0,
    OwnerCompany = 72,
    OwnerAddress = 144,
    OwnerPhone = 516,
};

// The zero-terminated text at byte `offset` of the owner block, never read past the end of
// the block's real size (or of the 640-byte buffer): a field that runs to the end of a short
// or unterminated block ends there. Empty when there is no block.
std::u16string GetOwnerField(DWORD offset);
// The text a macro of a text kind sends now: String its text, Date / Date & Time / Time the
// local time formatted by VarBstrFromDate, the owner kinds their owner field. Empty for a key
// sequence and when there is nothing to send.
std::u16string ExpandMacro(const MacroEntry& entry);
