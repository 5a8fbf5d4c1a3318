// Text on one line.
#include "headless/TextEscapes.h"

#include <wchar16.h>

std::string escapeText(std::u16string_view text) {
    std::u16string escaped;
    escaped.reserve(text.size());
    for (char16_t c : text) {
        switch (c) {
            case u'\r':
                escaped += u"\\r";
                break;
            case u'\n':
                escaped += u"\\n";
                break;
            case u'\\':
                escaped += u"\\\\";
                break;
            default:
                escaped.push_back(c);
        }
    }
    return platform::toUtf8(escaped);
}

std::optional<std::u16string> unescapeText(std::string_view line) {
    std::string plain;
    plain.reserve(line.size());
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '\\') {
            plain.push_back(line[i]);
            continue;
        }
        if (++i == line.size())
            return std::nullopt;
        switch (line[i]) {
            case 'r':
                plain.push_back('\r');
                break;
            case 'n':
                plain.push_back('\n');
                break;
            case '\\':
                plain.push_back('\\');
                break;
            default:
                return std::nullopt;
        }
    }
    std::u16string text = platform::fromUtf8(plain);
    // Bytes that are not UTF-8 do not come back the same from the decoded text.
    if (platform::toUtf8(text) != plain)
        return std::nullopt;
    return text;
}
