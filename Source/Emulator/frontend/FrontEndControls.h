// What a front end (the SDL window) asks of the running device besides the stylus, which it
// injects through device/Input.h: the host keyboard's keys, rotation, the input panel and
// screenshots. The emulator implements it; a front end calls it from its own thread.
#pragma once

#include <windef.h>

#include <filesystem>
#include <string_view>

enum class KeyTransition { Down, Up };
// Where a key's character comes from: the key itself, made by the focused program's
// TranslateMessage from the device's key state (Shift, Caps Lock) as on the device; or typed
// text that follows it (hardwareText), as the host keyboard gives it to the SDL window.
enum class KeyCharacter { FromKey, AsText };

class FrontEndControls {
public:
    virtual ~FrontEndControls() = default;
    // A key of the hardware keyboard, as the device's virtual key (VK_BACK, 'A', VK_LEFT, ...).
    virtual void hardwareKey(UINT vk, KeyTransition transition, KeyCharacter character) = 0;
    // Text the host keyboard typed (the characters of the key just pressed).
    virtual void hardwareText(std::u16string_view text) = 0;
    // Turns the device a quarter (portrait <-> landscape).
    virtual void rotate() = 0;
    // Shows the input panel when hidden, hides it when shown.
    virtual void toggleInputPanel() = 0;
    // Saves the screen as a PNG file in the device folder's screenshots; the file written, or
    // an empty path on failure.
    virtual std::filesystem::path saveScreenshot() = 0;
};
