// Playing the built-in demo.
#include "headless/Demo.h"

#include <device/Screen.h>

#include <sstream>

#include "Emulator.h"
#include "device/DeviceNames.h"
#include "headless/DemoScript.h"
#include "headless/ScriptRunner.h"
#include "shell/Shell.h"

int runDemo(Emulator& emulator, const std::filesystem::path& outFolder, std::ostream& out,
            std::ostream& errors) {
    std::error_code code;
    std::filesystem::create_directories(outFolder, code);
    if (code) {
        errors << "cannot create " << outFolder.string() << ": " << code.message() << "\n";
        return 2;
    }
    DemoSetting setting;
    setting.skinDevicePath = std::u16string(kSkinsFolder) + u"\\Kelvo.ksk";
    setting.screenWidth = device::screenWidth();
    setting.screenHeight = device::screenHeight();
    setting.outFolder = outFolder;
    emulator.withShell([&](Shell& shell) {
        RECT sip{};
        GetWindowRect(shell.inputPanel().sipWindow(), &sip);
        setting.panelOrigin = {sip.left, sip.top};
    });
    DemoScript demo;
    std::string error;
    if (!buildDemoScript(setting, demo, error)) {
        errors << "the demo cannot run on this device: " << error << "\n";
        return 2;
    }
    std::ostringstream text;
    std::istringstream script(demo.script);
    ScriptRunner runner(emulator, text, errors);
    const int status = runner.run(script);
    out << "Notes holds: " << text.str();
    out << "Screenshots:\n";
    for (const auto& shot : demo.screenshots)
        out << "  " << shot.string() << "\n";
    return status;
}
