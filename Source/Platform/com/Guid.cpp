// The text form of GUIDs, as the registry's CLSID keys spell them.
#include <guiddef.h>

#include <cstdio>

namespace platform {

namespace {

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// Reads `digits` hex digits at text[pos]; false if any is not a hex digit.
bool readHex(std::u16string_view text, size_t pos, int digits, uint32_t& out) {
    out = 0;
    for (int i = 0; i < digits; ++i) {
        int d = hexDigit(text[pos + i]);
        if (d < 0)
            return false;
        out = (out << 4) | static_cast<uint32_t>(d);
    }
    return true;
}

}  // namespace

std::u16string guidToString(const GUID& guid) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  guid.Data1, guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2],
                  guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return std::u16string(buffer, buffer + 38);
}

std::optional<GUID> guidFromString(std::u16string_view text) {
    if (text.size() != 38 || text[0] != u'{' || text[37] != u'}' || text[9] != u'-' ||
        text[14] != u'-' || text[19] != u'-' || text[24] != u'-') {
        return std::nullopt;
    }
    GUID guid{};
    uint32_t value = 0;
    if (!readHex(text, 1, 8, value))
        return std::nullopt;
    guid.Data1 = value;
    if (!readHex(text, 10, 4, value))
        return std::nullopt;
    guid.Data2 = static_cast<WORD>(value);
    if (!readHex(text, 15, 4, value))
        return std::nullopt;
    guid.Data3 = static_cast<WORD>(value);
    static constexpr size_t kBytePositions[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i) {
        if (!readHex(text, kBytePositions[i], 2, value))
            return std::nullopt;
        guid.Data4[i] = static_cast<BYTE>(value);
    }
    return guid;
}

}  // namespace platform
