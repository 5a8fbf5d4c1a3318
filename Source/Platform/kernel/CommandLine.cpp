// Command-line splitting shared by process creation and the shell.
#include "kernel/CommandLine.h"

namespace platform {

std::pair<std::u16string, std::u16string> splitCommandLine(std::u16string_view line) {
    size_t start = line.find_first_not_of(u' ');
    if (start == std::u16string_view::npos)
        return {};
    line.remove_prefix(start);
    size_t end;
    std::u16string program;
    if (line[0] == u'"') {
        end = line.find(u'"', 1);
        program = std::u16string(line.substr(1, end == std::u16string_view::npos ? end : end - 1));
        end = end == std::u16string_view::npos ? line.size() : end + 1;
    } else {
        end = std::min(line.find(u' '), line.size());
        program = std::u16string(line.substr(0, end));
    }
    std::u16string_view rest = line.substr(end);
    size_t argsStart = rest.find_first_not_of(u' ');
    return {program, argsStart == std::u16string_view::npos
                         ? std::u16string()
                         : std::u16string(rest.substr(argsStart))};
}

}  // namespace platform
