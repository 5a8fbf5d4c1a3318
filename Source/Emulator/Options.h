// kvemu's command line: the device's screen and folder, the front end (SDL window or the
// headless script runner) and the clock. Parsing never exits; a bad command line is an error
// message that main prints before exiting with status 2.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

enum class FrontEnd { Window, Headless };
enum class ClockKind { Real, Virtual };

struct Options {
    int screenWidth = 240;
    int screenHeight = 320;
    std::filesystem::path deviceFolder;  // empty: the default folder
    bool reset = false;
    std::filesystem::path logFile;  // empty: none
    FrontEnd frontEnd = FrontEnd::Window;
    // Headless: the script file, "-" for standard input; empty for the built-in demo.
    std::string script;
    ClockKind clock = ClockKind::Real;  // headless runs default to the virtual clock
    int scale = 0;                      // 0: chosen from the screen size
    bool help = false;
};

struct OptionsResult {
    std::optional<Options> options;
    std::string error;  // set when options is empty
};

OptionsResult parseOptions(const std::vector<std::string>& arguments);
std::string usageText();

// The device folder used without --device: ~/.local/share/kelvo-emulator; empty without HOME.
std::filesystem::path defaultDeviceFolder();
