// wcstod, wcstol, wcstoul and _wtoi on UTF-16 text. wcstod hands the number's ASCII text to
// strtod in the "C" locale, so that results are correctly rounded and independent of the host.
#include <wchar16.h>

#include <locale.h>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

locale_t cLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

int digitValue(WCHAR c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'z')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'Z')
        return c - u'A' + 10;
    return 99;
}

// Reads an unsigned magnitude in `base` after blanks, sign and prefix. `negative` is set by a
// minus sign; `overflow` when the magnitude exceeds `limit`. Returns the end of the digits, or
// `text` itself when there are none.
const WCHAR* readInteger(const WCHAR* text, int base, uint64_t limit, uint64_t& value,
                         bool& negative, bool& overflow) {
    value = 0;
    negative = false;
    overflow = false;
    if (text == nullptr || base < 0 || base == 1 || base > 36)
        return text;
    const WCHAR* p = text;
    while (iswspace(*p))
        ++p;
    if (*p == u'+' || *p == u'-') {
        negative = *p == u'-';
        ++p;
    }
    bool hexPrefix = p[0] == u'0' && (p[1] == u'x' || p[1] == u'X') && digitValue(p[2]) < 16;
    if ((base == 0 || base == 16) && hexPrefix) {
        base = 16;
        p += 2;
    } else if (base == 0) {
        base = p[0] == u'0' ? 8 : 10;
    }
    const WCHAR* digitsStart = p;
    for (; digitValue(*p) < base; ++p) {
        uint64_t digit = static_cast<uint64_t>(digitValue(*p));
        if (value > (limit - digit) / static_cast<uint64_t>(base)) {
            overflow = true;
        } else {
            value = value * static_cast<uint64_t>(base) + digit;
        }
    }
    return p == digitsStart ? text : p;
}

void setEnd(WCHAR** end, const WCHAR* at) {
    if (end != nullptr)
        *end = const_cast<WCHAR*>(at);
}

}  // namespace

double wcstod(const WCHAR* text, WCHAR** end) {
    setEnd(end, text);
    if (text == nullptr)
        return 0.0;
    const WCHAR* p = text;
    while (iswspace(*p))
        ++p;
    // The longest run of ASCII characters that can belong to a decimal number, "inf" or "nan".
    std::string ascii;
    const WCHAR* q = p;
    for (; *q != 0 && *q < 0x80; ++q) {
        char c = static_cast<char>(*q);
        bool numeric = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' ||
                       (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '(' || c == ')' ||
                       c == '_';
        if (!numeric)
            break;
        ascii.push_back(c);
    }
    // Hexadecimal floating text is not a number here: "0x1p3" reads as the 0 before the x.
    size_t signLength = !ascii.empty() && (ascii[0] == '+' || ascii[0] == '-') ? 1 : 0;
    if (ascii.size() >= signLength + 2 && ascii[signLength] == '0' &&
        (ascii[signLength + 1] == 'x' || ascii[signLength + 1] == 'X')) {
        ascii.resize(signLength + 1);
    }
    char* asciiEnd = nullptr;
    double value = strtod_l(ascii.c_str(), &asciiEnd, cLocale());
    if (asciiEnd == ascii.c_str())
        return 0.0;
    setEnd(end, p + (asciiEnd - ascii.c_str()));
    return value;
}

LONG wcstol(const WCHAR* text, WCHAR** end, int base) {
    uint64_t magnitude = 0;
    bool negative = false;
    bool overflow = false;
    const WCHAR* stop = readInteger(text, base, UINT32_MAX, magnitude, negative, overflow);
    setEnd(end, stop);
    uint64_t limit = negative ? static_cast<uint64_t>(INT32_MAX) + 1 : INT32_MAX;
    if (overflow || magnitude > limit) {
        errno = ERANGE;
        return negative ? INT32_MIN : INT32_MAX;
    }
    return negative ? static_cast<LONG>(-static_cast<int64_t>(magnitude))
                    : static_cast<LONG>(magnitude);
}

ULONG wcstoul(const WCHAR* text, WCHAR** end, int base) {
    uint64_t magnitude = 0;
    bool negative = false;
    bool overflow = false;
    const WCHAR* stop = readInteger(text, base, UINT32_MAX, magnitude, negative, overflow);
    setEnd(end, stop);
    if (overflow) {
        errno = ERANGE;
        return UINT32_MAX;
    }
    ULONG value = static_cast<ULONG>(magnitude);
    return negative ? static_cast<ULONG>(0u - value) : value;
}

int _wtoi(const WCHAR* text) {
    return static_cast<int>(wcstol(text, nullptr, 10));
}
