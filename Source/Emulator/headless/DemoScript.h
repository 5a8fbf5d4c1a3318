// The built-in demo that ./run plays where there is no display: a script that types a Farsi
// sentence and a Latin one by tapping the keyboard's keys, switches to the calculator and
// computes, types the result into Notes and takes screenshots on the way. The key positions
// come from the device's skin as the keyboard loads it.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

struct DemoSetting {
    std::u16string skinDevicePath;
    int screenWidth = 0;
    int screenHeight = 0;
    POINT panelOrigin{};  // the keyboard panel's top left corner on the screen
    std::filesystem::path outFolder;
};

struct DemoScript {
    std::string script;
    std::vector<std::filesystem::path> screenshots;
};

// The demo's texts.
inline constexpr char16_t kDemoFarsi[] = u"\u0633\u0644\u0627\u0645 \u062F\u0646\u06CC\u0627";
inline constexpr char16_t kDemoLatin[] = u"hello from kelvo";

// False with a message when the skin lacks a key the demo needs.
bool buildDemoScript(const DemoSetting& setting, DemoScript& demo, std::string& error);
