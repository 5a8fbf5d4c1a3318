// Reading and writing the registry's text form. Strings that are exactly one terminated
// UTF-16 text without control characters are written quoted, 4-byte DWORDs as dword:, and
// everything else as hex bytes with its type, so that the file holds every byte of every value.
#include "registry/RegistryText.h"

#include <wchar16.h>
#include <winreg.h>

#include <cstdio>
#include <vector>

#include "kernel/Utf8Decoder.h"

namespace platform {

namespace {

// Hex data lines are continued with a backslash once they reach this many characters.
constexpr size_t kHexLineWidth = 78;

// ---- Writing ----

std::string quoted(std::u16string_view text) {
    std::string out = "\"";
    for (char c : toUtf8(text)) {
        if (c == '\\' || c == '"')
            out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

char16_t unitAt(const std::vector<BYTE>& data, size_t index) {
    return static_cast<char16_t>(data[2 * index] | (data[2 * index + 1] << 8));
}

// The text of a REG_SZ value whose bytes are exactly one terminated, well-formed UTF-16 string
// with no control character but tab; nothing when the bytes need the hex form.
std::optional<std::u16string> plainString(const RegistryValue& value) {
    const std::vector<BYTE>& data = value.data;
    if (value.type != REG_SZ || data.size() < 2 || data.size() % 2 != 0)
        return std::nullopt;
    size_t units = data.size() / 2;
    if (unitAt(data, units - 1) != 0)
        return std::nullopt;
    std::u16string text;
    for (size_t i = 0; i + 1 < units; ++i) {
        char16_t c = unitAt(data, i);
        if ((c < 0x20 && c != u'\t') || c == 0x7F)
            return std::nullopt;
        if (c >= 0xDC00 && c <= 0xDFFF)
            return std::nullopt;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 2 >= units)
                return std::nullopt;
            char16_t next = unitAt(data, i + 1);
            if (next < 0xDC00 || next > 0xDFFF)
                return std::nullopt;
            text.push_back(c);
            c = next;
            ++i;
        }
        text.push_back(c);
    }
    return text;
}

void writeHex(std::string& out, std::string line, const std::vector<BYTE>& data) {
    static const char kDigits[] = "0123456789abcdef";
    for (size_t i = 0; i < data.size(); ++i) {
        std::string piece{kDigits[data[i] >> 4], kDigits[data[i] & 0xF]};
        if (i + 1 < data.size())
            piece.push_back(',');
        if (line.size() + piece.size() > kHexLineWidth && line.back() == ',') {
            out += line + "\\\n";
            line = "  ";
        }
        line += piece;
    }
    out += line + "\n";
}

void writeValue(std::string& out, const RegistryValue& value) {
    std::string name = value.name.empty() ? "@" : quoted(value.name);
    if (auto text = plainString(value)) {
        out += name + "=" + quoted(*text) + "\n";
    } else if (value.type == REG_DWORD && value.data.size() == 4) {
        char digits[16];
        uint32_t number = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                          (static_cast<uint32_t>(value.data[3]) << 24);
        std::snprintf(digits, sizeof digits, "%08x", number);
        out += name + "=dword:" + digits + "\n";
    } else if (value.type == REG_BINARY) {
        writeHex(out, name + "=hex:", value.data);
    } else {
        char type[24];
        std::snprintf(type, sizeof type, "=hex(%x):", value.type);
        writeHex(out, name + type, value.data);
    }
}

void writeKey(std::string& out, const RegistryKey& key, const std::string& path, bool isRoot) {
    if (!isRoot || !key.values().empty()) {
        out += "\n[" + path + "]\n";
        for (const RegistryValue& value : key.values())
            writeValue(out, value);
    }
    for (const auto& child : key.children()) {
        writeKey(out, *child, path + "\\" + toUtf8(child->name()), false);
    }
}

// ---- Reading ----

struct Failure {
    std::string what;
};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Decodes UTF-8 strictly: the file is ours, so ill-formed bytes are a fault to report.
std::optional<std::u16string> decodeStrict(std::string_view text) {
    std::u16string out;
    size_t pos = 0;
    while (pos < text.size()) {
        uint32_t c = decodeUtf8(text, pos);
        if (c == kInvalidUtf8)
            return std::nullopt;
        appendUtf16(out, c);
    }
    return out;
}

class Parser {
public:
    explicit Parser(std::string_view text) { splitLines(text); }

    std::optional<RegistryTree> parse(RegistryTextError& error) {
        RegistryTree tree;
        if (!parseHeader(error))
            return std::nullopt;
        std::shared_ptr<RegistryKey> key;
        for (index_ = 1; index_ < lines_.size(); ++index_) {
            std::string_view line = trim(lines_[index_]);
            if (line.empty() || line.front() == ';')
                continue;
            std::optional<Failure> failure;
            if (line.front() == '[') {
                failure = parseSection(tree, line, key);
            } else if (line.front() == '"' || line.front() == '@') {
                failure = key ? parseValue(*key, line)
                              : Failure{"a value comes before the first [key] line"};
            } else {
                failure = Failure{"expected a [key] line or a \"name\"=value line"};
            }
            if (failure) {
                error = RegistryTextError{index_ + 1, failure->what};
                return std::nullopt;
            }
        }
        return tree;
    }

private:
    void splitLines(std::string_view text) {
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string_view::npos)
                end = text.size();
            std::string_view line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            lines_.push_back(line);
            start = end + 1;
        }
    }

    bool parseHeader(RegistryTextError& error) {
        std::string_view first = lines_[0];
        if (startsWith(first, "\xEF\xBB\xBF"))
            first.remove_prefix(3);
        if (startsWith(first, "\xFE\xFF")) {
            error = RegistryTextError{1, "the file is big-endian UTF-16, which is not supported"};
            return false;
        }
        if (trim(first) != kRegistryFileHeader) {
            error = RegistryTextError{
                1, "expected the first line \"" + std::string(kRegistryFileHeader) + "\""};
            return false;
        }
        return true;
    }

    std::optional<Failure> parseSection(RegistryTree& tree, std::string_view line,
                                        std::shared_ptr<RegistryKey>& key) {
        if (line.back() != ']')
            return Failure{"a [key] line must end with ']'"};
        std::string_view inner = line.substr(1, line.size() - 2);
        if (startsWith(inner, "-"))
            return Failure{"deleting keys ([-key]) is not supported"};
        std::optional<std::u16string> path = decodeStrict(inner);
        if (!path)
            return Failure{"the key path is not valid UTF-8"};
        std::u16string_view rest = *path;
        size_t slash = rest.find(u'\\');
        std::u16string_view rootName = rest.substr(0, slash);
        std::shared_ptr<RegistryKey> current;
        for (size_t i = 0; i < kRootKeyCount; ++i) {
            if (sameName(rootName, rootKeyName(static_cast<RootKey>(i))))
                current = tree.roots[i];
        }
        if (!current)
            return Failure{"unknown root key \"" + toUtf8(rootName) + "\""};
        while (slash != std::u16string_view::npos) {
            rest.remove_prefix(slash + 1);
            slash = rest.find(u'\\');
            std::u16string_view name = rest.substr(0, slash);
            if (!validKeyName(name)) {
                return Failure{name.empty() ? "the key path has an empty key name"
                                            : "invalid key name \"" + toUtf8(name) + "\""};
            }
            if (current->depth() >= kMaxKeyDepth) {
                return Failure{"keys nest deeper than " + std::to_string(kMaxKeyDepth) + " levels"};
            }
            bool created = false;
            current = current->createChild(name, created);
        }
        key = current;
        return std::nullopt;
    }

    // Reads a quoted string at the start of `text` (with \\ and \" escapes); moves `text` past it.
    static std::optional<Failure> readQuoted(std::string_view& text, std::u16string& out) {
        std::string bytes;
        size_t i = 1;
        for (;; ++i) {
            if (i >= text.size())
                return Failure{"a quoted string has no closing quote"};
            char c = text[i];
            if (c == '"')
                break;
            if (c == '\\') {
                if (i + 1 >= text.size())
                    return Failure{"a quoted string has no closing quote"};
                char next = text[++i];
                if (next != '\\' && next != '"') {
                    return Failure{std::string("unknown escape \"\\") + next + "\" in a string"};
                }
                c = next;
            }
            bytes.push_back(c);
        }
        text.remove_prefix(i + 1);
        std::optional<std::u16string> decoded = decodeStrict(bytes);
        if (!decoded)
            return Failure{"a quoted string is not valid UTF-8"};
        out = std::move(*decoded);
        return std::nullopt;
    }

    std::optional<Failure> parseValue(RegistryKey& key, std::string_view line) {
        std::u16string name;
        if (line.front() == '@') {
            line.remove_prefix(1);
        } else if (auto failure = readQuoted(line, name)) {
            return failure;
        }
        if (!validValueName(name))
            return Failure{"invalid value name \"" + toUtf8(name) + "\""};
        line = trim(line);
        if (line.empty() || line.front() != '=')
            return Failure{"expected '=' after the value name"};
        line = trim(line.substr(1));
        DWORD type = REG_SZ;
        std::vector<BYTE> data;
        if (!line.empty() && line.front() == '"') {
            std::u16string text;
            if (auto failure = readQuoted(line, text))
                return failure;
            if (!trim(line).empty())
                return Failure{"unexpected text after the string"};
            for (char16_t c : text) {
                data.push_back(static_cast<BYTE>(c & 0xFF));
                data.push_back(static_cast<BYTE>(c >> 8));
            }
            data.push_back(0);
            data.push_back(0);
        } else if (startsWith(line, "dword:")) {
            std::string_view digits = line.substr(6);
            if (digits.empty() || digits.size() > 8) {
                return Failure{"a dword needs 1 to 8 hex digits"};
            }
            uint32_t number = 0;
            for (char c : digits) {
                if (hexValue(c) < 0)
                    return Failure{"a dword needs 1 to 8 hex digits"};
                number = (number << 4) | static_cast<uint32_t>(hexValue(c));
            }
            type = REG_DWORD;
            for (int shift = 0; shift < 32; shift += 8) {
                data.push_back(static_cast<BYTE>(number >> shift));
            }
        } else if (startsWith(line, "hex:") || startsWith(line, "hex(")) {
            if (auto failure = readHexType(line, type))
                return failure;
            if (auto failure = readHexBytes(line, data))
                return failure;
        } else if (line == "-") {
            return Failure{"deleting values (\"name\"=-) is not supported"};
        } else {
            return Failure{"unknown value data; expected \"text\", dword:, hex: or hex(type):"};
        }
        key.setValue(name, type, std::move(data));
        return std::nullopt;
    }

    static std::optional<Failure> readHexType(std::string_view& line, DWORD& type) {
        if (startsWith(line, "hex:")) {
            type = REG_BINARY;
            line.remove_prefix(4);
            return std::nullopt;
        }
        size_t close = line.find("):");
        std::string_view digits = line.substr(4, close == std::string_view::npos ? 0 : close - 4);
        if (close == std::string_view::npos || digits.empty() || digits.size() > 8) {
            return Failure{"expected hex(type): with a type of 1 to 8 hex digits"};
        }
        type = 0;
        for (char c : digits) {
            if (hexValue(c) < 0)
                return Failure{"expected hex(type): with a type of 1 to 8 hex digits"};
            type = (type << 4) | static_cast<DWORD>(hexValue(c));
        }
        line.remove_prefix(close + 2);
        return std::nullopt;
    }

    // Reads comma-separated hex bytes, following lines that end with a backslash.
    std::optional<Failure> readHexBytes(std::string_view rest, std::vector<BYTE>& data) {
        for (;;) {
            rest = trim(rest);
            bool continued = !rest.empty() && rest.back() == '\\';
            if (continued)
                rest = trim(rest.substr(0, rest.size() - 1));
            while (!rest.empty()) {
                size_t comma = rest.find(',');
                std::string_view token = trim(rest.substr(0, comma));
                if (token.empty() || token.size() > 2 || hexValue(token[0]) < 0 ||
                    (token.size() == 2 && hexValue(token[1]) < 0)) {
                    return Failure{"\"" + std::string(token) + "\" is not a hex byte"};
                }
                int value = hexValue(token[0]);
                if (token.size() == 2)
                    value = value * 16 + hexValue(token[1]);
                data.push_back(static_cast<BYTE>(value));
                if (comma == std::string_view::npos)
                    break;
                rest.remove_prefix(comma + 1);
                // A comma may end the line (before a continuation, or at the very end).
                if (trim(rest).empty())
                    break;
            }
            if (!continued)
                return std::nullopt;
            if (index_ + 1 >= lines_.size() || trim(lines_[index_ + 1]).empty()) {
                if (index_ + 1 < lines_.size())
                    ++index_;
                return Failure{
                    "the hex data continues past the end of the file or onto an "
                    "empty line"};
            }
            rest = lines_[++index_];
        }
    }

    std::vector<std::string_view> lines_;
    size_t index_ = 0;
};

}  // namespace

std::string writeRegistryText(const RegistryTree& tree) {
    std::string out(kRegistryFileHeader);
    out += "\n";
    for (size_t i = 0; i < kRootKeyCount; ++i) {
        writeKey(out, *tree.roots[i], toUtf8(rootKeyName(static_cast<RootKey>(i))), true);
    }
    return out;
}

std::optional<RegistryTree> parseRegistryText(std::string_view text, RegistryTextError& error) {
    if (!startsWith(text, "\xFF\xFE"))
        return Parser(text).parse(error);
    // Registry editors write little-endian UTF-16 with a byte-order mark: read its UTF-8 form.
    std::string utf8;
    size_t line = 1;
    std::string_view units = text.substr(2);
    if (units.size() % 2 != 0) {
        error = RegistryTextError{1, "the UTF-16 file has an odd number of bytes"};
        return std::nullopt;
    }
    for (size_t i = 0; i < units.size(); i += 2) {
        uint32_t c = static_cast<unsigned char>(units[i]) |
                     (static_cast<uint32_t>(static_cast<unsigned char>(units[i + 1])) << 8);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < units.size()) {
            uint32_t low = static_cast<unsigned char>(units[i + 2]) |
                           (static_cast<uint32_t>(static_cast<unsigned char>(units[i + 3])) << 8);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            error = RegistryTextError{line, "the UTF-16 text has an unpaired surrogate"};
            return std::nullopt;
        }
        if (c == '\n')
            ++line;
        appendUtf8(utf8, c);
    }
    return Parser(utf8).parse(error);
}

}  // namespace platform
