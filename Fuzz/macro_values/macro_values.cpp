// Macro values from arbitrary bytes, as any program may have written them to the registry.
// The input is a series of chunks: a target byte (0-19 "MacroName%d", 20-39 "MacroData%d",
// 40 the owner block, others skipped), a registry type byte, a 16-bit length and that many
// bytes (fewer at the end of the input). The table is loaded, every entry expanded and the
// table saved; each value's bytes also go straight to the parsers in a buffer of exactly their
// size, so that any read past them is caught.
#include <FuzzFolders.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "inputmethod/Settings.h"
#include "panel/MacroExpansion.h"
#include "panel/MacroStore.h"
#include "panel/Macros.h"

namespace {

constexpr int kOwnerTarget = 2 * kMacroCount;

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "macro values: %s\n", what);
        std::abort();
    }
}

void store(const WCHAR* path, const std::u16string& name, DWORD type, const BYTE* bytes,
           DWORD size) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, 0, nullptr, &key, &disposition) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(key, name.c_str(), 0, type, bytes, size);
    RegCloseKey(key);
}

std::u16string numbered(const char16_t* prefix, int i) {
    std::u16string name = prefix;
    const std::string digits = std::to_string(i);
    name.append(digits.begin(), digits.end());
    return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    startFuzzDevice();
    RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, kOwnerInfoKey);
    size_t at = 0;
    while (at + 4 <= size) {
        const int target = data[at];
        const DWORD type = data[at + 1];
        const size_t length = std::min<size_t>(data[at + 2] | (data[at + 3] << 8), size - at - 4);
        at += 4;
        auto bytes = std::make_unique<BYTE[]>(length == 0 ? 1 : length);
        std::memcpy(bytes.get(), data + at, length);
        at += length;
        const DWORD count = static_cast<DWORD>(length);
        if (target < kMacroCount) {
            store(kSettingsKey, numbered(u"MacroName", target), type, bytes.get(), count);
            check(parseMacroName(bytes.get(), count).size() * 2 <= kMacroTextBytes,
                  "a name longer than its buffer");
        } else if (target < kOwnerTarget) {
            store(kSettingsKey, numbered(u"MacroData", target - kMacroCount), type, bytes.get(),
                  count);
            MacroEntry entry;
            parseMacroData(type, bytes.get(), count, entry);
            check(entry.dataSize >= 0 && entry.dataSize <= kMacroTextBytes,
                  "data larger than its buffer");
        } else if (target == kOwnerTarget) {
            store(kOwnerInfoKey, kOwnerInfoValue, type, bytes.get(), count);
        }
    }
    LoadMacros();
    for (const MacroEntry& entry : MacroTable) {
        check(entry.kind >= MacroString && entry.kind <= MacroMyPhone, "an unknown kind");
        check(entry.name.size() * 2 <= kMacroTextBytes, "a name longer than its buffer");
        check(entry.dataSize >= 0 && entry.dataSize <= kMacroTextBytes,
              "data larger than its buffer");
        check(entry.data != nullptr || entry.dataSize == 0, "a size without data");
        const std::u16string text = ExpandMacro(entry);
        if (entry.kind == MacroString)
            check(text.size() * 2 <= static_cast<size_t>(entry.dataSize), "text past its data");
    }
    for (DWORD offset : {OwnerName, OwnerCompany, OwnerAddress, OwnerPhone})
        check((offset + GetOwnerField(offset).size() * 2) <= kOwnerInfoBytes,
              "an owner field past the block");
    SaveMacros();
    return 0;
}
