// kvemu's command line.
#include "Options.h"

#include <charconv>
#include <cstdlib>

namespace {

constexpr int kMaxScreenSide = 4096;
constexpr int kMaxScale = 8;

bool parseNumber(std::string_view text, int& value) {
    if (text.empty())
        return false;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// "WxH" with both sides 1..4096.
bool parseScreen(std::string_view text, int& width, int& height) {
    size_t x = text.find('x');
    if (x == std::string_view::npos)
        return false;
    return parseNumber(text.substr(0, x), width) && parseNumber(text.substr(x + 1), height) &&
           width >= 1 && width <= kMaxScreenSide && height >= 1 && height <= kMaxScreenSide;
}

OptionsResult fail(std::string message) {
    return {std::nullopt, std::move(message)};
}

}  // namespace

std::string usageText() {
    return "usage: kvemu [--screen WxH] [--device DIR] [--reset] [--log FILE] [--scale N]\n"
           "             [--headless [--script FILE | -]] [--real-time]\n"
           "  --screen WxH   screen size in pixels (default 240x320)\n"
           "  --device DIR   device folder (default ~/.local/share/kelvo-emulator)\n"
           "  --reset        provision the device folder afresh\n"
           "  --log FILE     append the device's event log to FILE as it happens\n"
           "  --scale N      window scale 1..8 (default 2 for screens up to 320 wide)\n"
           "  --headless     no window: run a script (FILE, or - for standard input), or the\n"
           "                 built-in demo without --script; uses the virtual clock\n"
           "  --real-time    headless runs use the real clock\n";
}

OptionsResult parseOptions(const std::vector<std::string>& arguments) {
    Options options;
    bool scriptGiven = false;
    bool realTime = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= arguments.size())
                return false;
            out = arguments[++i];
            return true;
        };
        std::string text;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--screen") {
            if (!value(text) || !parseScreen(text, options.screenWidth, options.screenHeight))
                return fail("--screen needs WxH with sides from 1 to 4096, for example 240x320");
        } else if (arg == "--device") {
            if (!value(text) || text.empty())
                return fail("--device needs a folder");
            options.deviceFolder = text;
        } else if (arg == "--reset") {
            options.reset = true;
        } else if (arg == "--log") {
            if (!value(text) || text.empty())
                return fail("--log needs a file");
            options.logFile = text;
        } else if (arg == "--scale") {
            if (!value(text) || !parseNumber(text, options.scale) || options.scale < 1 ||
                options.scale > kMaxScale)
                return fail("--scale needs a number from 1 to 8");
        } else if (arg == "--headless") {
            options.frontEnd = FrontEnd::Headless;
        } else if (arg == "--script") {
            if (!value(text) || text.empty())
                return fail("--script needs a file, or - for standard input");
            options.script = text;
            scriptGiven = true;
        } else if (arg == "--real-time") {
            realTime = true;
        } else {
            return fail("unknown argument: " + arg);
        }
    }
    if (scriptGiven && options.frontEnd != FrontEnd::Headless)
        return fail("--script needs --headless");
    if (options.frontEnd == FrontEnd::Headless)
        options.clock = realTime ? ClockKind::Real : ClockKind::Virtual;
    if (options.scale == 0)
        options.scale = options.screenWidth <= 320 ? 2 : 1;
    if (options.deviceFolder.empty()) {
        options.deviceFolder = defaultDeviceFolder();
        if (options.deviceFolder.empty())
            return fail("no device folder: set HOME or give --device");
    }
    return {options, {}};
}

std::filesystem::path defaultDeviceFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != 0)
        return std::filesystem::path(home) / ".local/share/kelvo-emulator";
    return {};
}
