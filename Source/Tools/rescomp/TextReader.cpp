// Tokens, numbers and UTF-8 to UTF-16 conversion for the resource compiler's text inputs.
#include "TextReader.h"

#include <cctype>
#include <fstream>

namespace rescomp {

std::optional<std::vector<Token>> tokenize(const std::string& line, std::string& error) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '|') {
            tokens.push_back({Token::Kind::Bar, "|"});
            ++i;
        } else if (c == '"') {
            std::string text;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d != '\\') {
                    text.push_back(d);
                    continue;
                }
                if (i >= line.size())
                    break;
                char e = line[i++];
                switch (e) {
                    case 'n':
                        text.push_back('\n');
                        break;
                    case 't':
                        text.push_back('\t');
                        break;
                    case 'r':
                        text.push_back('\r');
                        break;
                    case '\\':
                        text.push_back('\\');
                        break;
                    case '"':
                        text.push_back('"');
                        break;
                    default:
                        error = std::string("unknown escape \\") + e;
                        return std::nullopt;
                }
            }
            if (!closed) {
                error = "unterminated string";
                return std::nullopt;
            }
            tokens.push_back({Token::Kind::Quoted, text});
        } else {
            size_t start = i;
            while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])) &&
                   line[i] != '|' && line[i] != '"' && line[i] != '#') {
                ++i;
            }
            tokens.push_back({Token::Kind::Word, line.substr(start, i - start)});
        }
    }
    return tokens;
}

std::optional<int64_t> parseNumber(const std::string& text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && text[i] == '-') {
        negative = true;
        ++i;
    }
    int base = 10;
    if (text.size() - i > 2 && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return std::nullopt;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        int digit = -1;
        char c = text[i];
        if (c >= '0' && c <= '9')
            digit = c - '0';
        if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
        if (value > 0xFFFFFFFFll)
            return std::nullopt;
    }
    return negative ? -value : value;
}

std::u16string utf8ToUtf16(const std::string& text) {
    std::u16string out;
    size_t i = 0;
    while (i < text.size()) {
        auto byte = static_cast<unsigned char>(text[i]);
        uint32_t code = 0xFFFD;
        size_t length = 1;
        if (byte < 0x80) {
            code = byte;
        } else if ((byte >> 5) == 0x6) {
            length = 2;
            code = byte & 0x1F;
        } else if ((byte >> 4) == 0xE) {
            length = 3;
            code = byte & 0x0F;
        } else if ((byte >> 3) == 0x1E) {
            length = 4;
            code = byte & 0x07;
        } else {
            length = 0;
        }
        if (length == 0 || i + length > text.size()) {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        for (size_t k = 1; k < length; ++k)
            code = (code << 6) | (text[i + k] & 0x3F);
        i += length;
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
    }
    return out;
}

void readStatements(
    const std::string& path, const std::string& what,
    const std::function<void(std::vector<Token>& tokens, const std::string& where)>& statement) {
    std::ifstream in(path);
    if (!in)
        throw CompileError{path + ": cannot open the " + what};
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0)
            line.erase(0, 3);
        const std::string where = path + ":" + std::to_string(number);
        std::string error;
        auto tokens = tokenize(line, error);
        if (!tokens)
            throw CompileError{where + ": " + error};
        if (!tokens->empty())
            statement(*tokens, where);
    }
}

}  // namespace rescomp
