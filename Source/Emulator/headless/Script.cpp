// Parsing the headless runner's script lines.
#include "headless/Script.h"

#include <wchar16.h>

#include <charconv>
#include <vector>

#include "frontend/HardwareKeys.h"
#include "headless/TextEscapes.h"

namespace {

using Result = std::variant<Command, ScriptError>;

ScriptError error(std::string message) {
    return ScriptError{std::move(message)};
}

bool isSpace(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && (isSpace(text.back()) || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isSpace(text[i]))
            ++i;
        size_t start = i;
        while (i < text.size() && !isSpace(text[i]))
            ++i;
        if (i > start)
            out.push_back(text.substr(start, i - start));
    }
    return out;
}

bool number(std::string_view word, int low, int high, int& value) {
    if (word.empty())
        return false;
    auto [end, problem] = std::from_chars(word.data(), word.data() + word.size(), value);
    return problem == std::errc() && end == word.data() + word.size() && value >= low &&
           value <= high;
}

std::string quoted(std::string_view word) {
    return "'" + std::string(word.substr(0, 40)) + (word.size() > 40 ? "...'" : "'");
}

Result withNumbers(Command::Kind kind, const std::vector<std::string_view>& args, size_t count,
                   int low, int high, const char* what) {
    if (args.size() != count + 1)
        return error(std::string(args[0]) + " needs " + what);
    Command command;
    command.kind = kind;
    int* slots[] = {&command.a, &command.b};
    for (size_t i = 0; i < count; ++i) {
        if (!number(args[i + 1], low, high, *slots[i]))
            return error(std::string(args[0]) + ": " + quoted(args[i + 1]) +
                         " is not a number from " + std::to_string(low) + " to " +
                         std::to_string(high));
    }
    return command;
}

Result withoutArguments(Command::Kind kind, const std::vector<std::string_view>& args) {
    if (args.size() != 1)
        return error(std::string(args[0]) + " takes no arguments");
    Command command;
    command.kind = kind;
    return command;
}

Result keyCommand(const std::vector<std::string_view>& args) {
    if (args.size() != 2)
        return error("key needs a virtual-key name (VK_BACK) or one character");
    Command command;
    command.kind = Command::Kind::Key;
    if (auto vk = virtualKeyNamed(args[1])) {
        command.vk = *vk;
        return command;
    }
    auto text = unescapeText(args[1]);
    if (!text || text->size() != 1 || (args[1].size() > 1 && args[1].substr(0, 3) == "VK_"))
        return error("key: " + quoted(args[1]) +
                     " is neither a virtual-key name nor one character");
    command.text16 = *text;
    return command;
}

// keydown / keyup: a virtual key alone, held down or let go (Shift held over other keys).
Result keyTransitionCommand(Command::Kind kind, const std::vector<std::string_view>& args) {
    if (args.size() != 2)
        return error(std::string(args[0]) + " needs a virtual-key name (VK_SHIFT)");
    auto vk = virtualKeyNamed(args[1]);
    if (!vk)
        return error(std::string(args[0]) + ": " + quoted(args[1]) + " is not a virtual-key name");
    Command command;
    command.kind = kind;
    command.vk = *vk;
    return command;
}

}  // namespace

std::variant<Command, ScriptError> parseScriptLine(std::string_view line) {
    if (line.size() > kMaxScriptLine)
        return error("the line is longer than " + std::to_string(kMaxScriptLine) + " bytes");
    for (char c : line) {
        if (c == 0)
            return error("the line holds a zero byte");
    }
    std::string_view text = trimmed(line);
    if (text.empty() || text.front() == '#')
        return Command{};
    auto args = words(text);
    const std::string_view name = args[0];
    const std::string_view rest = trimmed(text.substr(name.size()));
    using Kind = Command::Kind;
    if (name == "tap" || name == "down" || name == "move" || name == "up") {
        Kind kind = name == "tap"    ? Kind::Tap
                    : name == "down" ? Kind::Down
                    : name == "move" ? Kind::Move
                                     : Kind::Up;
        return withNumbers(kind, args, 2, 0, kMaxCoordinate, "X Y (screen pixels)");
    }
    if (name == "wait")
        return withNumbers(Kind::Wait, args, 1, 0, kMaxWaitMs, "MS (milliseconds)");
    if (name == "key")
        return keyCommand(args);
    if (name == "keydown" || name == "keyup")
        return keyTransitionCommand(name == "keydown" ? Kind::KeyDown : Kind::KeyUp, args);
    if (name == "presskey")
        return withNumbers(Kind::PressKey, args, 2, 0, 0xFFFF, "ROW COL");
    if (name == "layout")
        return withNumbers(Kind::Layout, args, 1, 0, 0xFFFF, "a layout number N");
    if (name == "rotate")
        return withoutArguments(Kind::Rotate, args);
    if (name == "sip") {
        if (args.size() != 2 || (args[1] != "on" && args[1] != "off"))
            return error("sip needs on or off");
        Command command;
        command.kind = Kind::Sip;
        command.a = args[1] == "on" ? 1 : 0;
        return command;
    }
    if (name == "run") {
        if (rest.empty())
            return error("run needs a program");
        Command command;
        command.kind = Kind::Run;
        command.text = std::string(rest);
        return command;
    }
    if (name == "shot") {
        if (args.size() != 2 || args[1].size() < 5 || args[1].substr(args[1].size() - 4) != ".png")
            return error("shot needs one file name ending in .png");
        Command command;
        command.kind = Kind::Shot;
        command.text = std::string(args[1]);
        return command;
    }
    if (name == "expect-text") {
        auto expected = unescapeText(rest);
        if (!expected)
            return error(
                "expect-text: the text has an unknown escape (\\r, \\n and \\\\ are "
                "known) or is not UTF-8");
        Command command;
        command.kind = Kind::ExpectText;
        command.text16 = *expected;
        return command;
    }
    if (name == "tap-control")
        return withNumbers(Kind::TapControl, args, 1, -0x7FFFFFFF, 0x7FFFFFFF, "a control id");
    if (name == "print-text")
        return withoutArguments(Kind::PrintText, args);
    if (name == "print-sip")
        return withoutArguments(Kind::PrintSip, args);
    if (name == "print-front")
        return withoutArguments(Kind::PrintFront, args);
    if (name == "print-windows")
        return withoutArguments(Kind::PrintWindows, args);
    if (name == "print-controls")
        return withoutArguments(Kind::PrintControls, args);
    if (name == "print-log")
        return withoutArguments(Kind::PrintLog, args);
    return error("unknown command " + quoted(name));
}
