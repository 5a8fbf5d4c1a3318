// kvemu: the device emulator. Parses the command line (exit 2 on a bad one), sets up the
// device (exit 1 when it cannot be) and runs it in the SDL window or headlessly from a script;
// exit 3 when the device could not write its registry or event log.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "Emulator.h"
#include "Options.h"
#include "frontend/SdlWindow.h"
#include "headless/Demo.h"
#include "headless/ScriptRunner.h"

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    OptionsResult parsed = parseOptions(arguments);
    if (!parsed.options) {
        std::cerr << "kvemu: " << parsed.error << "\n" << usageText();
        return 2;
    }
    const Options& options = *parsed.options;
    if (options.help) {
        std::cout << usageText();
        return 0;
    }

    std::ifstream scriptFile;
    if (options.frontEnd == FrontEnd::Headless && !options.script.empty() &&
        options.script != "-") {
        std::error_code ignored;
        if (std::filesystem::is_directory(options.script, ignored)) {
            std::cerr << "kvemu: cannot read the script " << options.script << ": it is a folder\n";
            return 2;
        }
        scriptFile.open(options.script, std::ios::binary);
        if (!scriptFile) {
            std::cerr << "kvemu: cannot read the script " << options.script << "\n";
            return 2;
        }
    }

    Emulator emulator([](const std::string& message) {
        std::cerr << "kvemu: " + message + "\n" << std::flush;
    });
    std::string error;
    if (!emulator.open(options, builtProvisionSources(), error)) {
        std::cerr << "kvemu: " << error << "\n";
        return 1;
    }

    int status = 0;
    if (options.frontEnd == FrontEnd::Headless) {
        ScriptRunner runner(emulator, std::cout, std::cerr);
        if (options.script.empty())
            status = runDemo(emulator, "out", std::cout, std::cerr);
        else if (options.script == "-")
            status = runner.run(std::cin);
        else
            status = runner.run(scriptFile);
    } else {
        status = runSdlWindow(emulator, options.scale);
    }
    const bool allEnded = emulator.close();
    if (!emulator.keptEverything() && status == 0)
        status = 3;
    if (!allEnded) {
        // A program's thread still runs: leaving without tearing down what it may use.
        std::cout.flush();
        std::_Exit(status);
    }
    return status;
}
