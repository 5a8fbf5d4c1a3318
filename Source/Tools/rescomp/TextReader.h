// Line tokens shared by the manifest and dialog readers: words, numbers, quoted strings with
// C-style escapes (UTF-8 in, UTF-16 out), and the '|' of style expressions.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace rescomp {

struct Token {
    enum class Kind { Word, Quoted, Bar };
    Kind kind = Kind::Word;
    std::string text;  // the word, or the quoted string after its escapes are resolved (UTF-8)
};

// Splits one line into tokens; '#' outside quotes starts a comment. On a malformed line
// (unterminated quote, unknown escape) returns nothing and sets `error`.
std::optional<std::vector<Token>> tokenize(const std::string& line, std::string& error);

// A decimal or 0x-hexadecimal number, optionally negative.
std::optional<int64_t> parseNumber(const std::string& text);

std::u16string utf8ToUtf16(const std::string& text);

// Thrown with "file:line: message" on any input the tool cannot compile.
struct CompileError {
    std::string message;
};

// Calls `statement(tokens, where)` for every line of the text file at `path` that holds a
// token, `where` being "path:line"; a UTF-8 byte order mark before the first line is skipped.
// Throws "path: cannot open the <what>" when the file cannot be read, and "where: ..." for a
// line that does not split into tokens.
void readStatements(
    const std::string& path, const std::string& what,
    const std::function<void(std::vector<Token>& tokens, const std::string& where)>& statement);

}  // namespace rescomp
