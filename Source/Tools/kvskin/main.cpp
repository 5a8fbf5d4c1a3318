// kvskin: the skin tool. Commands: build a skin file from its source, dump a container's item
// tree, check a skin file as the panel would load it, list a layout's keys, render a layout.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "BuildCommand.h"
#include "CheckCommand.h"
#include "DumpCommand.h"
#include "KeysCommand.h"
#include "RenderCommand.h"

namespace {

const char kUsage[] =
    "usage: kvskin dump FILE [--full]\n"
    "       kvskin build SRC_DIR -o OUT.ksk\n"
    "       kvskin check FILE.ksk [--screen WxH]\n"
    "       kvskin keys FILE.ksk --screen WxH --layout N\n"
    "       kvskin render FILE.ksk --screen WxH --layout N -o OUT.png [--keys]\n"
    "       kvskin --help\n"
    "\n"
    "  dump    print the item tree of the container FILE (a host path): one item per line,\n"
    "          indented by nesting, with each value's first 16 bytes in hex (--full: all).\n"
    "          Exits 1 when FILE is not a well-formed container, naming the broken item.\n"
    "  build   compile SRC_DIR/skin.json (and the pictures it names) into the skin file\n"
    "          OUT.ksk; problems name the file, the layout and the key.\n"
    "  check   load FILE.ksk as the panel would and check every class (or the one for a WxH\n"
    "          screen), layout and key; prints each problem with its class, layout, row and\n"
    "          column and exits 1 when there is any.\n"
    "  keys    print layout N's key table as tab-separated lines under the header\n"
    "          row col flags param vk left top right bottom, after \"#\" lines with the\n"
    "          layout's class, size, flags, alternate and gesture keys.\n"
    "  render  write layout N of the class for a WxH screen as a PNG picture; --keys\n"
    "          outlines the keys and numbers them by row and column.\n";

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

int runBuild(const std::vector<std::string>& args) {
    std::optional<std::string> source;
    std::optional<std::string> output;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o") {
            if (i + 1 >= args.size())
                return usageError("-o needs a file");
            if (output)
                return usageError("-o given twice");
            output = args[++i];
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            return usageError("unknown option " + args[i]);
        } else if (source) {
            return usageError("unexpected argument " + args[i]);
        } else {
            source = args[i];
        }
    }
    if (!source)
        return usageError("build needs a SRC_DIR");
    if (!output)
        return usageError("build needs -o OUT.ksk");
    return buildCommand(*source, *output, stderr);
}

// Options shared by the commands that look at one layout.
struct LayoutArgs {
    std::optional<std::string> file;
    std::optional<ScreenSize> screen;
    std::optional<int> layout;
    std::optional<std::string> output;
    bool keys = false;
};

// Parses FILE and the options a command allows; a usage error's exit status otherwise.
std::optional<int> parseLayoutArgs(const std::vector<std::string>& args, bool allowLayout,
                                   bool allowOutput, LayoutArgs& out) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--screen") {
            if (!hasValue)
                return usageError("--screen needs WxH");
            out.screen = parseScreenSize(args[++i]);
            if (!out.screen)
                return usageError("--screen takes WxH with sides from 1 to 4096, not " + args[i]);
        } else if (arg == "--layout" && allowLayout) {
            if (!hasValue)
                return usageError("--layout needs a number");
            const std::string& value = args[++i];
            if (value.empty() || value.size() > 3 ||
                value.find_first_not_of("0123456789") != std::string::npos)
                return usageError("--layout takes a number from 0 to 127, not " + value);
            out.layout = std::atoi(value.c_str());
            if (*out.layout > 127)
                return usageError("--layout takes a number from 0 to 127, not " + value);
        } else if (arg == "-o" && allowOutput) {
            if (!hasValue)
                return usageError("-o needs a file");
            out.output = args[++i];
        } else if (arg == "--keys" && allowOutput) {
            out.keys = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usageError("unknown option " + arg);
        } else if (out.file) {
            return usageError("unexpected argument " + arg);
        } else {
            out.file = arg;
        }
    }
    if (!out.file)
        return usageError("no FILE given");
    return std::nullopt;
}

int runCheck(const std::vector<std::string>& args) {
    LayoutArgs parsed;
    if (auto status = parseLayoutArgs(args, false, false, parsed))
        return *status;
    return checkCommand(*parsed.file, parsed.screen, stdout, stderr);
}

int runKeys(const std::vector<std::string>& args) {
    LayoutArgs parsed;
    if (auto status = parseLayoutArgs(args, true, false, parsed))
        return *status;
    if (!parsed.screen || !parsed.layout)
        return usageError("keys needs --screen WxH and --layout N");
    return keysCommand(*parsed.file, *parsed.screen, *parsed.layout, stdout, stderr);
}

int runRender(const std::vector<std::string>& args) {
    LayoutArgs parsed;
    if (auto status = parseLayoutArgs(args, true, true, parsed))
        return *status;
    if (!parsed.screen || !parsed.layout || !parsed.output)
        return usageError("render needs --screen WxH, --layout N and -o OUT.png");
    return renderCommand(*parsed.file, *parsed.screen, *parsed.layout, *parsed.output,
                         parsed.keys ? KeyOutlines::Shown : KeyOutlines::Hidden, stderr);
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
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "dump")
        return runDump(rest);
    if (args[0] == "build")
        return runBuild(rest);
    if (args[0] == "check")
        return runCheck(rest);
    if (args[0] == "keys")
        return runKeys(rest);
    if (args[0] == "render")
        return runRender(rest);
    return usageError("unknown command " + args[0]);
}
