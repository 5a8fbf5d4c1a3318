// Parsing kvtext's options: each flag at most once, numbers in a sensible range.
#include "KvTextOptions.h"

#include <charconv>

namespace kvtext {

const char* const kUsage =
    "usage: kvtext [--width PIXELS] [--font-height H] [--hex] [--levels] [--maps] [--base]\n"
    "       kvtext --help\n"
    "Reads UTF-8 text from standard input, one paragraph per line, and prints each paragraph's\n"
    "display lines in visual order.\n"
    "  --width PIXELS    wrap lines to PIXELS with the Tahoma face (default: no wrapping)\n"
    "  --font-height H   font height in pixels for --width (default 14)\n"
    "  --hex             print glyphs as space-separated U+XXXX\n"
    "  --levels          print the resolved level of each logical character\n"
    "  --maps            print logToVis and visToLog (- for no glyph)\n"
    "  --base            print the paragraph's base level\n";

namespace {

bool parseNumber(const std::string& text, int low, int high, int& value) {
    int parsed = 0;
    const char* end = text.data() + text.size();
    auto [ptr, error] = std::from_chars(text.data(), end, parsed);
    if (error != std::errc() || ptr != end || text.empty() || parsed < low || parsed > high) {
        return false;
    }
    value = parsed;
    return true;
}

}  // namespace

ParseResult parseOptions(const std::vector<std::string>& args, Options& options,
                         std::string& message) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--hex") {
            options.hex = true;
        } else if (arg == "--levels") {
            options.levels = true;
        } else if (arg == "--maps") {
            options.maps = true;
        } else if (arg == "--base") {
            options.base = true;
        } else if (arg == "--help") {
            options.help = true;
        } else if (arg == "--width" || arg == "--font-height") {
            if (i + 1 >= args.size()) {
                message = arg + " needs a number";
                return ParseResult::Error;
            }
            const std::string& value = args[++i];
            const bool isWidth = arg == "--width";
            int& target = isWidth ? options.width : options.fontHeight;
            if (!parseNumber(value, 1, isWidth ? 1000000 : 1000, target)) {
                message = "bad number for " + arg + ": " + value;
                return ParseResult::Error;
            }
        } else {
            message = "unknown argument: " + arg;
            return ParseResult::Error;
        }
    }
    return ParseResult::Ok;
}

}  // namespace kvtext
