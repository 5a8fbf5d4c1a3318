// How the headless runner writes and reads a program's text on one line: UTF-8 with carriage
// return, line feed and backslash written as \r, \n and \\.
#pragma once

#include <optional>
#include <string>
#include <string_view>

std::string escapeText(std::u16string_view text);
// The text a line names; nothing for an unknown escape, a trailing backslash or bytes that are
// not UTF-8.
std::optional<std::u16string> unescapeText(std::string_view line);
