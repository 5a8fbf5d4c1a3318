// What a text macro sends now: its own text, the current date or time as the platform formats
// it, or a field of the device owner's details under "\ControlPanel\Owner".
#pragma once

#include <windows.h>

#include <string>

#include "panel/Macros.h"

inline constexpr const WCHAR* kOwnerKey = u"\\ControlPanel\\Owner";
inline constexpr const WCHAR* kOwnerValue = u"Owner";
// The owner block is read into a buffer of this size; its fields start at these byte offsets.
inline constexpr DWORD kOwnerBlockBytes = 640;
inline constexpr DWORD kOwnerNameOffset = 0;
inline constexpr DWORD kOwnerCompanyOffset = 72;
inline constexpr DWORD kOwnerAddressOffset = 144;
inline constexpr DWORD kOwnerPhoneOffset = 516;

// The zero-terminated text at byte `offset` of the owner block, never read past the end of
// the block's real size (or of the 640-byte buffer): a field that runs to the end of a short
// or unterminated block ends there. Empty when there is no block.
std::u16string GetOwnerField(DWORD offset);
// The text a macro of a text kind sends now: String its text, Date / Date & Time / Time the
// local time formatted by VarBstrFromDate, the owner kinds their owner field. Empty for a key
// sequence and when there is nothing to send.
std::u16string ExpandMacro(const MacroEntry& entry);
