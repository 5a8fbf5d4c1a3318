// kvskin: the skin tool. Commands: "dump FILE [--full]" prints a container's item tree.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "DumpCommand.h"

namespace {

const char kUsage[] =
    "usage: kvskin dump FILE [--full]\n"
    "       kvskin --help\n"
    "\n"
    "  dump    print the item tree of the container FILE (a host path): one item per line,\n"
    "          indented by nesting, with each value's first 16 bytes in hex (--full: all).\n"
    "          Exits 1 when FILE is not a well-formed container, naming the broken item.\n";

int usageError(const std::string& problem) {
    std::fprintf(stderr, "kvskin: %s\n%s", problem.c_str(), kUsage);
    return 2;
}

int runDump(const std::vector<std::string>& args) {
    std::optional<std::string> file;
    DumpBytes bytes = DumpBytes::first16;
    for (const auto& arg : args) {
        if (arg == "--full") {
            bytes = DumpBytes::all;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usageError("unknown option " + arg);
        } else if (file) {
            return usageError("unexpected argument " + arg);
        } else {
            file = arg;
        }
    }
    if (!file)
        return usageError("dump needs a FILE");
    return dumpContainer(*file, bytes, stdout, stderr);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return usageError("no command given");
    if (args[0] == "--help" || args[0] == "-h") {
        if (args.size() > 1)
            return usageError("unexpected argument " + args[1]);
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (args[0] == "dump")
        return runDump({args.begin() + 1, args.end()});
    return usageError("unknown command " + args[0]);
}
