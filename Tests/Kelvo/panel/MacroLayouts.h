// Layouts and registry helpers for the macro tests: the typing layout (its last key of row 0
// goes to layout 1) and a macros face as layout 1, and reading and writing the macro values.
#pragma once

#include <vector>

#include "TypingLayouts.h"
#include "panel/Macros.h"

namespace skintest {

// Layout 1, a macros face. Row 0: macros 0, 1, 2. Row 1: macro 3, macro 4 with KF_STAY, a
// key naming macro 25, and the record key (vk 1).
inline Layout macrosLayout() {
    Layout layout;
    layout.flags = LF_MACROS;
    layout.picture = bmpPicture(240, 80, 0xE0E0E0);
    layout.rows = {
        {Key{KF_MACRO, 0, 0, rect(0, 0, 100, 40)}, Key{KF_MACRO, 1, 0, rect(100, 0, 200, 40)},
         Key{KF_MACRO, 2, 0, rect(200, 0, 240, 40)}},
        {Key{KF_MACRO, 3, 0, rect(0, 40, 60, 80)},
         Key{KF_MACRO | KF_STAY, 4, 0, rect(60, 40, 120, 80)},
         Key{KF_MACRO, 25, 0, rect(120, 40, 180, 80)},
         Key{KF_MACRO, 0, kRecordKeyVk, rect(180, 40, 240, 80)}},
    };
    return layout;
}

// Points inside the keys.
inline constexpr POINT kGotoMacros{220, 20};
inline constexpr POINT kLetterA{20, 20};
inline constexpr POINT kMacro0{50, 20};
inline constexpr POINT kMacro1{150, 20};
inline constexpr POINT kMacro2{220, 20};
inline constexpr POINT kMacro3{30, 60};
inline constexpr POINT kStayMacro4{90, 60};
inline constexpr POINT kMacro25{150, 60};
inline constexpr POINT kRecordKey{210, 60};

struct StoredValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
    bool operator==(const StoredValue&) const = default;
};

inline std::vector<BYTE> textBytes(std::u16string_view text) {
    const auto* first = reinterpret_cast<const BYTE*>(text.data());
    return std::vector<BYTE>(first, first + text.size() * sizeof(WCHAR));
}

// Writes a value under `path` of the current user, creating the key.
inline void storeValue(const WCHAR* path, const WCHAR* name, DWORD type,
                       const std::vector<BYTE>& bytes) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, 0, nullptr, &key, &disposition),
        ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, bytes.data(), static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

inline void storeMacroValue(const WCHAR* name, DWORD type, const std::vector<BYTE>& bytes) {
    storeValue(kSettingsKey, name, type, bytes);
}

inline void storeMacroText(const WCHAR* name, std::u16string_view text) {
    storeMacroValue(name, REG_SZ, textBytes(text));
}

// "MacroName%d" and the like.
inline std::u16string numberedName(std::u16string_view prefix, int i) {
    const std::string digits = std::to_string(i);
    std::u16string name(prefix);
    name.append(digits.begin(), digits.end());
    return name;
}

// The value as stored; type REG_NONE with no bytes when it is missing.
inline StoredValue storedMacroValue(const WCHAR* name) {
    StoredValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, 0, &key) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.bytes.resize(size);
        RegQueryValueExW(key, name, nullptr, &value.type, value.bytes.data(), &size);
    }
    RegCloseKey(key);
    return value;
}

// What the host was typed: each SendString's text and a space for each space press.
inline std::u16string typedText(const std::vector<CallbackCall>& calls) {
    std::u16string text;
    for (const CallbackCall& call : calls) {
        if (call.kind == CallbackCall::Kind::SendString)
            text += call.text;
        else if (call.kind == CallbackCall::Kind::SendCharEvents && call.vk == 0x20 &&
                 call.flags == 0x80)
            text += u' ';
    }
    return text;
}

}  // namespace skintest
