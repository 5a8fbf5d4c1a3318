// Formatted output into UTF-16 with the Windows wide-printf conventions: %s and %c are UTF-16,
// %S narrow, %ld 32 bits. Numbers are formatted by snprintf from the rebuilt conversion, so
// they round exactly as the C library does.
#include <wchar16.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

// Widths and precisions beyond this are taken as this, so that a hostile format cannot ask
// for gigabytes of padding.
constexpr int kMaxFieldWidth = 4096;
// wsprintfW writes at most this many units, terminator included, as on the device.
constexpr size_t kWsprintfCapacity = 1024;

enum class Length { Default, Short, Long, LongLong, Size, LongDouble };

struct Spec {
    std::string flags;
    int width = -1;
    int precision = -1;
    Length length = Length::Default;
    bool leftAlign = false;
    bool zeroPad = false;
};

// Holds its own copy of the argument list, so that helpers can read arguments through a
// reference without the va_list decay rules.
struct Arguments {
    va_list list;
};

int readNumber(const WCHAR*& p) {
    int value = 0;
    while (*p >= u'0' && *p <= u'9') {
        if (value < kMaxFieldWidth)
            value = value * 10 + (*p - u'0');
        ++p;
    }
    return value < kMaxFieldWidth ? value : kMaxFieldWidth;
}

void appendAscii(std::u16string& out, const char* text, size_t length) {
    for (size_t i = 0; i < length; ++i)
        out.push_back(static_cast<unsigned char>(text[i]));
}

// Runs snprintf on one rebuilt conversion and appends its ASCII result.
template <typename Value>
void appendFormatted(std::u16string& out, const Spec& spec, const char* length, char conversion,
                     Value value) {
    std::string format = "%" + spec.flags;
    if (spec.width >= 0)
        format += std::to_string(spec.width);
    if (spec.precision >= 0)
        format += "." + std::to_string(spec.precision);
    format += length;
    format += conversion;
    int needed = std::snprintf(nullptr, 0, format.c_str(), value);
    if (needed <= 0)
        return;
    std::string text(static_cast<size_t>(needed) + 1, '\0');
    std::snprintf(text.data(), text.size(), format.c_str(), value);
    appendAscii(out, text.data(), static_cast<size_t>(needed));
}

// Pads `text` to the field width: spaces, or zeros with the 0 flag (Windows pads strings too).
void appendPadded(std::u16string& out, const Spec& spec, std::u16string_view text) {
    size_t width = spec.width > 0 ? static_cast<size_t>(spec.width) : 0;
    size_t padding = width > text.size() ? width - text.size() : 0;
    if (!spec.leftAlign)
        out.append(padding, spec.zeroPad ? u'0' : u' ');
    out.append(text);
    if (spec.leftAlign)
        out.append(padding, u' ');
}

int64_t readSigned(Arguments& args, Length length) {
    switch (length) {
        case Length::LongLong:
            return va_arg(args.list, long long);
        case Length::Size:
            return static_cast<int64_t>(va_arg(args.list, ptrdiff_t));
        case Length::Short:
            return static_cast<short>(va_arg(args.list, int));
        default:
            return va_arg(args.list, int);
    }
}

uint64_t readUnsigned(Arguments& args, Length length) {
    switch (length) {
        case Length::LongLong:
            return va_arg(args.list, unsigned long long);
        case Length::Size:
            return va_arg(args.list, size_t);
        case Length::Short:
            return static_cast<unsigned short>(va_arg(args.list, unsigned int));
        default:
            return va_arg(args.list, unsigned int);
    }
}

void appendWideString(std::u16string& out, const Spec& spec, const WCHAR* s) {
    if (s == nullptr)
        s = u"(null)";
    size_t n = 0;
    size_t limit = spec.precision >= 0 ? static_cast<size_t>(spec.precision) : SIZE_MAX;
    while (n < limit && s[n] != 0)
        ++n;
    appendPadded(out, spec, std::u16string_view(s, n));
}

void appendNarrowString(std::u16string& out, const Spec& spec, const char* s) {
    if (s == nullptr)
        s = "(null)";
    size_t n = 0;
    size_t limit = spec.precision >= 0 ? static_cast<size_t>(spec.precision) : SIZE_MAX;
    while (n < limit && s[n] != 0)
        ++n;
    appendPadded(out, spec, platform::fromUtf8(std::string_view(s, n)));
}

// Parses one conversion after its '%' at `p`; appends its text and moves `p` past it. An
// unknown conversion is copied as it stands and reads no argument.
void formatConversion(std::u16string& out, const WCHAR*& p, Arguments& args) {
    const WCHAR* start = p - 1;
    Spec spec;
    for (;; ++p) {
        if (*p == u'-') {
            spec.leftAlign = true;
        } else if (*p == u'0') {
            spec.zeroPad = true;
        } else if (*p != u'+' && *p != u' ' && *p != u'#') {
            break;
        }
        if (spec.flags.find(static_cast<char>(*p)) == std::string::npos) {
            spec.flags.push_back(static_cast<char>(*p));
        }
    }
    if (*p == u'*') {
        int width = va_arg(args.list, int);
        if (width < 0) {
            spec.leftAlign = true;
            if (spec.flags.find('-') == std::string::npos)
                spec.flags.push_back('-');
            width = width == INT32_MIN ? kMaxFieldWidth : -width;
        }
        spec.width = width < kMaxFieldWidth ? width : kMaxFieldWidth;
        ++p;
    } else if (*p >= u'0' && *p <= u'9') {
        spec.width = readNumber(p);
    }
    if (*p == u'.') {
        ++p;
        if (*p == u'*') {
            int precision = va_arg(args.list, int);
            spec.precision =
                precision < 0 ? -1 : (precision < kMaxFieldWidth ? precision : kMaxFieldWidth);
            ++p;
        } else {
            spec.precision = readNumber(p);
        }
    }
    bool wideText = false;
    bool narrowText = false;
    if (*p == u'h') {
        spec.length = Length::Short;
        narrowText = true;
        ++p;
    } else if (*p == u'l') {
        ++p;
        wideText = true;
        if (*p == u'l') {
            spec.length = Length::LongLong;
            ++p;
        } else {
            spec.length = Length::Long;
        }
    } else if (*p == u'I' && p[1] == u'6' && p[2] == u'4') {
        spec.length = Length::LongLong;
        p += 3;
    } else if (*p == u'I' && p[1] == u'3' && p[2] == u'2') {
        spec.length = Length::Long;
        p += 3;
    } else if (*p == u'I' || *p == u'z') {
        spec.length = Length::Size;
        ++p;
    } else if (*p == u'L') {
        spec.length = Length::LongDouble;
        ++p;
    } else if (*p == u'w') {
        wideText = true;
        ++p;
    }
    WCHAR conversion = *p;
    if (conversion == 0) {
        out.append(start, p);
        return;
    }
    ++p;
    switch (conversion) {
        case u'd':
        case u'i':
            appendFormatted(out, spec, "ll", 'd',
                            static_cast<long long>(readSigned(args, spec.length)));
            break;
        case u'u':
        case u'x':
        case u'X':
        case u'o':
            appendFormatted(out, spec, "ll", static_cast<char>(conversion),
                            static_cast<unsigned long long>(readUnsigned(args, spec.length)));
            break;
        case u'f':
        case u'F':
        case u'e':
        case u'E':
        case u'g':
        case u'G':
        case u'a':
        case u'A':
            if (spec.length == Length::LongDouble) {
                appendFormatted(out, spec, "L", static_cast<char>(conversion),
                                va_arg(args.list, long double));
            } else {
                appendFormatted(out, spec, "", static_cast<char>(conversion),
                                va_arg(args.list, double));
            }
            break;
        case u'c':
        case u'C': {
            WCHAR c = static_cast<WCHAR>(va_arg(args.list, int));
            bool narrow = narrowText || (conversion == u'C' && !wideText);
            if (narrow)
                c = static_cast<unsigned char>(c);
            appendPadded(out, spec, std::u16string_view(&c, 1));
            break;
        }
        case u's':
        case u'S': {
            bool narrow = narrowText || (conversion == u'S' && !wideText);
            if (narrow) {
                appendNarrowString(out, spec, va_arg(args.list, const char*));
            } else {
                appendWideString(out, spec, va_arg(args.list, const WCHAR*));
            }
            break;
        }
        case u'p': {
            Spec pointer;
            pointer.width = spec.width;
            pointer.leftAlign = spec.leftAlign;
            char digits[2 * sizeof(void*) + 1];
            std::snprintf(digits, sizeof digits, "%0*llX", static_cast<int>(2 * sizeof(void*)),
                          static_cast<unsigned long long>(
                              reinterpret_cast<uintptr_t>(va_arg(args.list, void*))));
            std::u16string text;
            appendAscii(text, digits, 2 * sizeof(void*));
            appendPadded(out, pointer, text);
            break;
        }
        case u'%':
            out.push_back(u'%');
            break;
        default:
            out.append(start, p);
            break;
    }
}

std::u16string formatAll(const WCHAR* format, Arguments& args) {
    std::u16string out;
    if (format == nullptr)
        return out;
    for (const WCHAR* p = format; *p != 0;) {
        if (*p != u'%') {
            out.push_back(*p++);
            continue;
        }
        ++p;
        formatConversion(out, p, args);
    }
    return out;
}

std::u16string formatList(const WCHAR* format, va_list list) {
    Arguments args;
    va_copy(args.list, list);
    std::u16string text = formatAll(format, args);
    va_end(args.list);
    return text;
}

}  // namespace

int _vsnwprintf(WCHAR* buffer, size_t count, const WCHAR* format, va_list args) {
    if (format == nullptr || (buffer == nullptr && count > 0))
        return -1;
    std::u16string text = formatList(format, args);
    if (text.size() > count) {
        text.copy(buffer, count);
        return -1;
    }
    text.copy(buffer, text.size());
    if (text.size() < count)
        buffer[text.size()] = 0;
    return static_cast<int>(text.size());
}

int _snwprintf(WCHAR* buffer, size_t count, const WCHAR* format, ...) {
    va_list args;
    va_start(args, format);
    int result = _vsnwprintf(buffer, count, format, args);
    va_end(args);
    return result;
}

namespace {

// Writes `text` terminated into `capacity` units; -1 (with the text cut) when it does not fit.
int writeTerminated(WCHAR* buffer, size_t capacity, const std::u16string& text) {
    if (buffer == nullptr || capacity == 0)
        return -1;
    if (text.size() >= capacity) {
        text.copy(buffer, capacity - 1);
        buffer[capacity - 1] = 0;
        return -1;
    }
    text.copy(buffer, text.size());
    buffer[text.size()] = 0;
    return static_cast<int>(text.size());
}

}  // namespace

int swprintf(WCHAR* buffer, size_t count, const WCHAR* format, ...) {
    if (format == nullptr) {
        writeTerminated(buffer, count, u"");
        return -1;
    }
    va_list args;
    va_start(args, format);
    std::u16string text = formatList(format, args);
    va_end(args);
    return writeTerminated(buffer, count, text);
}

int wvsprintfW(LPWSTR buffer, LPCWSTR format, va_list args) {
    if (buffer == nullptr)
        return 0;
    std::u16string text = formatList(format, args);
    if (text.size() >= kWsprintfCapacity)
        text.resize(kWsprintfCapacity - 1);
    writeTerminated(buffer, kWsprintfCapacity, text);
    return static_cast<int>(text.size());
}

int wsprintfW(LPWSTR buffer, LPCWSTR format, ...) {
    va_list args;
    va_start(args, format);
    int result = wvsprintfW(buffer, format, args);
    va_end(args);
    return result;
}

namespace platform {

std::u16string formatTextV(const char16_t* format, va_list args) {
    return formatList(format, args);
}

std::u16string formatText(const char16_t* format, ...) {
    va_list args;
    va_start(args, format);
    std::u16string text = formatList(format, args);
    va_end(args);
    return text;
}

}  // namespace platform
