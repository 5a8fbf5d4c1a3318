// The input methods the device knows: classes under HKEY_CLASSES_ROOT\CLSID whose
// "IsSIPInputMethod" subkey says "1", and which of them is current (HKEY_CURRENT_USER
// "ControlPanel\Sip", value "DefaultIm", the class in braces).
#pragma once

#include <guiddef.h>

#include <optional>
#include <string>
#include <vector>

struct InputMethodEntry {
    CLSID clsid{};
    std::u16string name;  // the class key's default value
};

std::vector<InputMethodEntry> registeredInputMethods();

// The current input method: the one "DefaultIm" names if it is registered, else the first
// registered one; nothing when none is registered.
std::optional<InputMethodEntry> chosenInputMethod();

// The library a class is served from (its "InProcServer32" default value); nothing when the
// class is not registered.
std::optional<std::u16string> classServerPath(const CLSID& clsid);

// "{6B1D3E27-4C8A-4F19-9E52-A07D3C2B5E81}" and back; nothing for any other text.
std::optional<CLSID> parseClsid(std::u16string_view text);
std::u16string clsidText(const CLSID& clsid);
