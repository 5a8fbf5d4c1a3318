// kvemu: the device emulator. Parses the command line (exit 2 on a bad one), sets up the
// device and runs it in the SDL window or headlessly from a script.
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
        scriptFile.open(options.script, std::ios::binary);
        if (!scriptFile) {
            std::cerr << "kvemu: cannot read the script " << options.script << "\n";
            return 2;
        }
    }

    Emulator emulator;
    std::string error;
    if (!emulator.open(options, builtProvisionSources(), error)) {
        std::cerr << "kvemu: " << error << "\n";
        return 1;
    }
    size_t warned = emulator.warnings().size();
    for (const auto& warning : emulator.warnings())
        std::cerr << "kvemu: " << warning << "\n";

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
    emulator.close();
    for (size_t i = warned; i < emulator.warnings().size(); ++i)
        std::cerr << "kvemu: " << emulator.warnings()[i] << "\n";
    return status;
}
