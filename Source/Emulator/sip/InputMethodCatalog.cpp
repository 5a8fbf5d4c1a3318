// Finding the device's input methods in the registry.
#include "sip/InputMethodCatalog.h"

#include <windows.h>

#include "device/DeviceNames.h"

namespace {

constexpr DWORD kMaxTextBytes = 512;

// A key's string value (the default value for a null name); nothing when absent or not text.
std::optional<std::u16string> readText(HKEY root, const std::u16string& path, const WCHAR* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    WCHAR buffer[kMaxTextBytes / 2 + 1] = {};
    DWORD size = kMaxTextBytes;
    DWORD type = 0;
    LONG status =
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ)
        return std::nullopt;
    std::u16string text(buffer, size / 2);
    while (!text.empty() && text.back() == 0)
        text.pop_back();
    return text;
}

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

}  // namespace

std::optional<CLSID> parseClsid(std::u16string_view text) {
    // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
    if (text.size() != 38 || text[0] != u'{' || text[37] != u'}' || text[9] != u'-' ||
        text[14] != u'-' || text[19] != u'-' || text[24] != u'-')
        return std::nullopt;
    uint8_t bytes[16];
    size_t pos = 1;
    for (uint8_t& byte : bytes) {
        if (text[pos] == u'-')
            ++pos;
        int high = hexDigit(text[pos]);
        int low = hexDigit(text[pos + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        byte = static_cast<uint8_t>(high * 16 + low);
        pos += 2;
    }
    CLSID clsid{};
    clsid.Data1 = (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) |
                  (uint32_t{bytes[2]} << 8) | bytes[3];
    clsid.Data2 = static_cast<uint16_t>((bytes[4] << 8) | bytes[5]);
    clsid.Data3 = static_cast<uint16_t>((bytes[6] << 8) | bytes[7]);
    for (int i = 0; i < 8; ++i)
        clsid.Data4[i] = bytes[8 + i];
    return clsid;
}

std::u16string clsidText(const CLSID& clsid) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string text = u"{";
    auto put = [&](uint64_t value, int digits) {
        for (int i = digits - 1; i >= 0; --i)
            text.push_back(kDigits[(value >> (i * 4)) & 0xF]);
    };
    put(clsid.Data1, 8);
    text.push_back(u'-');
    put(clsid.Data2, 4);
    text.push_back(u'-');
    put(clsid.Data3, 4);
    text.push_back(u'-');
    for (int i = 0; i < 8; ++i) {
        if (i == 2)
            text.push_back(u'-');
        put(clsid.Data4[i], 2);
    }
    text.push_back(u'}');
    return text;
}

std::vector<InputMethodEntry> registeredInputMethods() {
    std::vector<InputMethodEntry> found;
    HKEY classes = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, u"CLSID", 0, KEY_READ, &classes) != ERROR_SUCCESS)
        return found;
    for (DWORD index = 0;; ++index) {
        WCHAR name[MAX_KEY_NAME_LENGTH + 1] = {};
        DWORD length = MAX_KEY_NAME_LENGTH + 1;
        if (RegEnumKeyExW(classes, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        std::u16string keyName(name, length);
        auto clsid = parseClsid(keyName);
        if (!clsid)
            continue;
        const std::u16string path = u"CLSID\\" + keyName;
        auto marked = readText(HKEY_CLASSES_ROOT, path + u"\\IsSIPInputMethod", nullptr);
        if (!marked || *marked != u"1")
            continue;
        found.push_back({*clsid, readText(HKEY_CLASSES_ROOT, path, nullptr).value_or(u"")});
    }
    RegCloseKey(classes);
    return found;
}

std::optional<std::u16string> classServerPath(const CLSID& clsid) {
    return readText(HKEY_CLASSES_ROOT, u"CLSID\\" + clsidText(clsid) + u"\\InProcServer32",
                    nullptr);
}

std::optional<InputMethodEntry> chosenInputMethod() {
    auto all = registeredInputMethods();
    if (all.empty())
        return std::nullopt;
    auto wanted = readText(HKEY_CURRENT_USER, kSipKey, kDefaultImValue);
    if (wanted) {
        if (auto clsid = parseClsid(*wanted)) {
            for (const auto& entry : all) {
                if (entry.clsid == *clsid)
                    return entry;
            }
        }
    }
    return all.front();
}
