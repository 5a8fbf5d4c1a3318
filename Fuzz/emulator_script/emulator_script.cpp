// Fuzz target: the headless runner's script lines (and the text escapes inside them), as kvemu
// reads a script: split at line feeds, each line parsed on its own.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "headless/Script.h"
#include "headless/TextEscapes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    while (!input.empty()) {
        size_t end = input.find('\n');
        std::string_view line = input.substr(0, end);
        auto parsed = parseScriptLine(line);
        if (auto* command = std::get_if<Command>(&parsed)) {
            // What the parser accepted is within the ranges the runner relies on.
            if (command->kind == Command::Kind::Key && command->vk == 0 &&
                command->text16.size() != 1)
                __builtin_trap();
            if (command->kind == Command::Kind::Wait && (command->a < 0 || command->a > kMaxWaitMs))
                __builtin_trap();
            if (command->kind == Command::Kind::ExpectText &&
                unescapeText(escapeText(command->text16)) != command->text16)
                __builtin_trap();
        }
        unescapeText(line);
        if (end == std::string_view::npos)
            break;
        input.remove_prefix(end + 1);
    }
    return 0;
}
