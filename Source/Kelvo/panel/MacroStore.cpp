// Reading and writing the macro table as the settings key's "MacroName%d" and "MacroData%d"
// values. Whatever a value holds is read within its real size and kept within the 510 bytes
// that leave room for a text's terminator in 512.
#include "panel/MacroStore.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "inputmethod/Settings.h"

namespace {

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

// The value's type and all its bytes (the parsers bound them); nothing when it cannot be read.
std::optional<RegistryValue> readValue(HKEY key, const WCHAR* name) {
    RegistryValue value;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(std::max<DWORD>(size, 1));
    if (RegQueryValueExW(key, name, nullptr, &value.type, value.bytes.data(), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    return value;
}

std::u16string valueName(const WCHAR* prefix, int i) {
    WCHAR name[32];
    swprintf(name, std::size(name), u"%s%d", prefix, i);
    return name;
}

}  // namespace

std::u16string parseMacroName(const BYTE* bytes, DWORD size) {
    const size_t units = std::min<DWORD>(size, kMacroTextBytes) / sizeof(WCHAR);
    std::u16string name(units, u'\0');
    if (units > 0)
        std::memcpy(name.data(), bytes, units * sizeof(WCHAR));
    name.resize(std::min(name.find(u'\0'), units));
    return name;
}

void parseMacroData(DWORD type, const BYTE* bytes, DWORD size, MacroEntry& entry) {
    size = std::min<DWORD>(size, kMacroTextBytes);
    if (type != REG_SZ) {
        setMacroBytes(entry, bytes, size);
        entry.kind = MacroKeySequence;
        return;
    }
    // The bytes are kept as they are, an odd last byte included, followed by the terminator.
    entry.data = std::make_unique<BYTE[]>(size + sizeof(WCHAR));
    if (size > 0)
        std::memcpy(entry.data.get(), bytes, size);
    entry.dataSize = static_cast<SHORT>(size);
    entry.kind = MacroString;
    const std::u16string text = macroText(entry);
    for (int kind = MacroDate; kind <= MacroMyPhone; ++kind) {
        if (text == macroPlaceholder(kind)) {
            entry.kind = static_cast<SHORT>(kind);
            break;
        }
    }
}

void LoadMacros() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, 0, &key) != ERROR_SUCCESS)
        return;
    for (int i = 0; i < kMacroCount; ++i) {
        MacroEntry& entry = MacroTable[i];
        entry.name.clear();
        entry.kind = MacroString;
        entry.data.reset();
        entry.dataSize = 0;
        if (auto name = readValue(key, valueName(u"MacroName", i).c_str()))
            entry.name = parseMacroName(name->bytes.data(), static_cast<DWORD>(name->bytes.size()));
        if (auto data = readValue(key, valueName(u"MacroData", i).c_str()))
            parseMacroData(data->type, data->bytes.data(), static_cast<DWORD>(data->bytes.size()),
                           entry);
    }
    RegCloseKey(key);
}

void SaveMacros() {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, 0, nullptr, &key,
                        &disposition) != ERROR_SUCCESS)
        return;
    for (int i = 0; i < kMacroCount; ++i) {
        const MacroEntry& entry = MacroTable[i];
        RegSetValueExW(key, valueName(u"MacroName", i).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(entry.name.data()),
                       static_cast<DWORD>(entry.name.size() * sizeof(WCHAR)));
        const DWORD size = entry.data ? static_cast<DWORD>(std::max<SHORT>(entry.dataSize, 0)) : 0;
        RegSetValueExW(key, valueName(u"MacroData", i).c_str(), 0,
                       entry.kind == MacroKeySequence ? REG_BINARY : REG_SZ,
                       size > 0 ? entry.data.get() : nullptr, size);
    }
    RegCloseKey(key);
}
