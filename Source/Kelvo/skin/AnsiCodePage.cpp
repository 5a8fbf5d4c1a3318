// Windows-1252: bytes below 0x80 and from 0xA0 are the code points of the same value; 0x80 to
// 0x9F hold typographic characters, and the five bytes the code page leaves undefined map to
// the control characters of the same value (as the device's conversion does).
#include "skin/AnsiCodePage.h"

#include <array>

namespace {

constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

char16_t decode(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0)
        return kHighControls[byte - 0x80];
    return byte;
}

// The byte for a code unit, or '?' when the code page lacks it.
char encode(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return static_cast<char>(unit);
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == unit)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::u16string textFromAnsi(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (char byte : bytes)
        text += decode(static_cast<unsigned char>(byte));
    return text;
}

std::string ansiFromText(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            bytes += '?';
            ++i;
            continue;
        }
        bytes += encode(text[i]);
    }
    return bytes;
}

bool ansiEquals(std::string_view bytes, std::u16string_view text) {
    if (bytes.size() != text.size())
        return false;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (decode(static_cast<unsigned char>(bytes[i])) != text[i])
            return false;
    }
    return true;
}
