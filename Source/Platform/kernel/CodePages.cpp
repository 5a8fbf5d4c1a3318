// MultiByteToWideChar and WideCharToMultiByte for the ANSI code page, which is Windows-1252
// on this device, and for UTF-8.
#include <winnls.h>

#include <cstring>
#include <optional>
#include <string>

#include "kernel/Utf8Decoder.h"

namespace {

// Windows-1252 bytes 0x80..0x9F; the five undefined ones map to the same C1 code point.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t fromWindows1252(unsigned char byte) {
    return byte >= 0x80 && byte <= 0x9F ? kWindows1252High[byte - 0x80] : byte;
}

std::optional<unsigned char> toWindows1252(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    for (int i = 0; i < 32; ++i) {
        if (kWindows1252High[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

// Copies the converted units into the caller's buffer: the count, or the needed count when
// `capacity` is 0, or 0 when the buffer is too small.
template <typename Unit, typename Text>
int deliver(const Text& text, Unit* out, int capacity) {
    if (text.size() > static_cast<size_t>(INT32_MAX))
        return 0;
    int size = static_cast<int>(text.size());
    if (capacity == 0)
        return size;
    if (out == nullptr || capacity < size)
        return 0;
    std::memcpy(out, text.data(), text.size() * sizeof(Unit));
    return size;
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteLength,
                        LPWSTR wide, int wideLength) {
    if (multiByte == nullptr || multiByteLength == 0 || multiByteLength < -1 || wideLength < 0) {
        return 0;
    }
    size_t length =
        multiByteLength == -1 ? std::strlen(multiByte) + 1 : static_cast<size_t>(multiByteLength);
    std::string_view input(multiByte, length);
    std::u16string text;
    if (codePage == CP_ACP || codePage == CP_OEMCP) {
        for (char byte : input)
            text.push_back(fromWindows1252(static_cast<unsigned char>(byte)));
    } else if (codePage == CP_UTF8) {
        size_t pos = 0;
        while (pos < input.size()) {
            uint32_t c = platform::decodeUtf8(input, pos);
            if (c == platform::kInvalidUtf8) {
                if (flags & MB_ERR_INVALID_CHARS)
                    return 0;
                c = 0xFFFD;
            }
            platform::appendUtf16(text, c);
        }
    } else {
        return 0;
    }
    return deliver(text, wide, wideLength);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideLength, LPSTR multiByte,
                        int multiByteLength, LPCSTR defaultChar, LPBOOL usedDefaultChar) {
    if (wide == nullptr || wideLength == 0 || wideLength < -1 || multiByteLength < 0)
        return 0;
    size_t length = 0;
    if (wideLength == -1) {
        while (wide[length] != 0)
            ++length;
        ++length;
    } else {
        length = static_cast<size_t>(wideLength);
    }
    std::u16string_view input(wide, length);
    std::string text;
    if (usedDefaultChar != nullptr)
        *usedDefaultChar = FALSE;
    if (codePage == CP_ACP || codePage == CP_OEMCP) {
        char fallback = defaultChar != nullptr ? defaultChar[0] : '?';
        for (size_t i = 0; i < input.size(); ++i) {
            char16_t c = input[i];
            std::optional<unsigned char> byte = toWindows1252(c);
            if (!byte) {
                if (usedDefaultChar != nullptr)
                    *usedDefaultChar = TRUE;
                // A surrogate pair is one character, so it becomes one default character.
                if (c >= 0xD800 && c <= 0xDBFF && i + 1 < input.size() && input[i + 1] >= 0xDC00 &&
                    input[i + 1] <= 0xDFFF)
                    ++i;
                text.push_back(fallback);
            } else {
                text.push_back(static_cast<char>(*byte));
            }
        }
    } else if (codePage == CP_UTF8) {
        if (defaultChar != nullptr || usedDefaultChar != nullptr)
            return 0;
        for (size_t i = 0; i < input.size(); ++i) {
            uint32_t c = input[i];
            bool high = c >= 0xD800 && c <= 0xDBFF;
            if (high && i + 1 < input.size() && input[i + 1] >= 0xDC00 && input[i + 1] <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (input[i + 1] - 0xDC00u);
                ++i;
            } else if (c >= 0xD800 && c <= 0xDFFF) {
                if (flags & WC_ERR_INVALID_CHARS)
                    return 0;
                c = 0xFFFD;
            }
            platform::appendUtf8(text, c);
        }
    } else {
        return 0;
    }
    return deliver(text, multiByte, multiByteLength);
}
