// Strict UTF-8 validation (the converter itself replaces bad sequences, which kvtext refuses).
#include "Utf8Check.h"

#include <cstdint>

namespace kvtext {

size_t firstInvalidUtf8(std::string_view bytes) {
    const size_t n = bytes.size();
    size_t i = 0;
    while (i < n) {
        const uint8_t b = static_cast<uint8_t>(bytes[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        int extra = 0;
        uint32_t code = 0;
        uint32_t least = 0;
        if ((b & 0xE0) == 0xC0) {
            extra = 1;
            code = b & 0x1F;
            least = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            code = b & 0x0F;
            least = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            code = b & 0x07;
            least = 0x10000;
        } else {
            return i;
        }
        if (n - i <= static_cast<size_t>(extra)) {
            return i;
        }
        for (int k = 1; k <= extra; ++k) {
            const uint8_t c = static_cast<uint8_t>(bytes[i + k]);
            if ((c & 0xC0) != 0x80) {
                return i;
            }
            code = (code << 6) | (c & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return i;
        }
        i += extra + 1;
    }
    return std::string_view::npos;
}

}  // namespace kvtext
