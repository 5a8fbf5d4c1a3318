// Expanding a text macro: its text, the local date and time through VarBstrFromDate, and the
// owner's details read from the owner block within the block's real size.
#include "panel/MacroExpansion.h"

#include <oleauto.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr LCID kUserDefaultLocale = 0x400;

std::u16string trimBlanks(std::u16string text) {
    const auto blank = [](WCHAR c) { return c == u' ' || c == u'\t'; };
    const auto first = std::find_if_not(text.begin(), text.end(), blank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), blank).base();
    return first < last ? std::u16string(first, last) : std::u16string();
}

std::u16string localTimeText(ULONG flags) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    DATE date = 0;
    if (!SystemTimeToVariantTime(&now, &date))
        return {};
    BSTR formatted = nullptr;
    if (VarBstrFromDate(date, kUserDefaultLocale, flags, &formatted) != S_OK ||
        formatted == nullptr)
        return {};
    std::u16string text(formatted, SysStringLen(formatted));
    SysFreeString(formatted);
    return trimBlanks(std::move(text));
}

// The owner block, at most kOwnerInfoBytes of it; empty when it cannot be read.
std::vector<BYTE> readOwnerBlock() {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kOwnerInfoKey, 0, nullptr, 0, 0, nullptr, &key,
                        &disposition) != ERROR_SUCCESS)
        return {};
    std::vector<BYTE> block(kOwnerInfoBytes);
    DWORD size = kOwnerInfoBytes;
    LONG status = RegQueryValueExW(key, kOwnerInfoValue, nullptr, nullptr, block.data(), &size);
    if (status == ERROR_MORE_DATA) {
        // A block larger than the buffer still has its fields where they always are.
        block.resize(size);
        status = RegQueryValueExW(key, kOwnerInfoValue, nullptr, nullptr, block.data(), &size);
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return {};
    block.resize(std::min<DWORD>(size, kOwnerInfoBytes));
    return block;
}

}  // namespace

std::u16string GetOwnerField(DWORD offset) {
    const std::vector<BYTE> block = readOwnerBlock();
    std::u16string field;
    for (size_t at = offset; at + sizeof(WCHAR) <= block.size(); at += sizeof(WCHAR)) {
        WCHAR unit = 0;
        std::memcpy(&unit, block.data() + at, sizeof(WCHAR));
        if (unit == 0)
            break;
        field.push_back(unit);
    }
    return field;
}

std::u16string ExpandMacro(const MacroEntry& entry) {
    switch (entry.kind) {
        case MacroString:
            return macroText(entry);
        case MacroDate:
            return localTimeText(VAR_DATEVALUEONLY);
        case MacroDateTime:
            return localTimeText(0);
        case MacroTime:
            return localTimeText(VAR_TIMEVALUEONLY);
        case MacroMyName:
            return GetOwnerField(OwnerName);
        case MacroMyAddress:
            return GetOwnerField(OwnerAddress);
        case MacroMyCompany:
            return GetOwnerField(OwnerCompany);
        case MacroMyPhone:
            return GetOwnerField(OwnerPhone);
        default:
            return {};
    }
}
