// The headless runner's script language, one command per line ("#" starts a comment line):
//   tap|down|move|up X Y, wait MS, key NAME, keydown|keyup NAME, presskey ROW COL, layout N,
//   rotate, sip on|off,
//   run PROGRAM [ARGS], shot FILE.png, print-text, expect-text TEXT, print-sip,
//   print-front, print-windows, print-controls, tap-control ID, print-log
// Scripts are untrusted: every line is checked, and a bad one is refused with a reason.
#pragma once

#include <string>
#include <string_view>
#include <variant>

inline constexpr size_t kMaxScriptLine = 4096;
inline constexpr int kMaxCoordinate = 65535;
// Ten minutes: a wait steps through every timer on the way, as the device would.
inline constexpr int kMaxWaitMs = 10 * 60 * 1000;

struct Command {
    enum class Kind {
        Nothing,  // an empty or comment line
        Tap,
        Down,
        Move,
        Up,
        Wait,
        Key,
        KeyDown,
        KeyUp,
        PressKey,
        Layout,
        Rotate,
        Sip,
        Run,
        Shot,
        PrintText,
        ExpectText,
        PrintSip,
        PrintFront,
        PrintWindows,
        PrintControls,
        TapControl,
        PrintLog,
    };
    Kind kind = Kind::Nothing;
    int a = 0;  // X, MS, ROW, N, ID; Sip: 1 on, 0 off
    int b = 0;  // Y, COL
    // Key: the virtual key, or 0 with the character in `text16`; KeyDown, KeyUp: the key.
    unsigned vk = 0;
    std::u16string text16;  // Key: the character; ExpectText: the text
    std::string text;       // Run: the command line; Shot: the file
};

struct ScriptError {
    std::string message;
};

// One line of a script (without its line break).
std::variant<Command, ScriptError> parseScriptLine(std::string_view line);
