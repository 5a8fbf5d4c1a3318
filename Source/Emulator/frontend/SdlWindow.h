// The emulator's window on the host desktop (SDL2): the device screen scaled up, the mouse as
// the stylus, the host keyboard as the device's keys, F5 rotate, F6 screenshot, F9 input
// panel, and the device's beeps as a flash and a tone.
#pragma once

#include <SDL.h>

#include <optional>

#include "frontend/FrontEndControls.h"
#include "frontend/ScreenDiff.h"

// Largest scale the window takes.
inline constexpr int kMaxSdlWindowScale = 8;

// One frame the window drew.
struct SdlFrame {
    // The part of the picture taken from the device screen anew (device pixels); none when the
    // frame only redrew what it had (a flash ending, the host uncovering the window).
    std::optional<ScreenRect> updated;
    // A beep's flash lies over the picture.
    bool flashing = false;
};

// What a caller (a test) sees of the running window; every call comes on the window's thread.
class SdlWindowObserver {
public:
    virtual ~SdlWindowObserver() = default;
    // The window is open and shows the screen; events may be pushed from now on.
    virtual void opened(SDL_Window* window) { (void)window; }
    // A frame is drawn and about to be shown: the renderer's pixels are the window's.
    virtual void frameDrawn(SDL_Renderer* renderer, const SdlFrame& frame) {
        (void)renderer;
        (void)frame;
    }
    // A beep arrived; `sounded` when the tone went to a sound output.
    virtual void beeped(bool sounded) { (void)sounded; }
};

// Runs the window until it is closed; 0 then. 1 when no window can be opened (no display),
// 2 for a scale outside 1..kMaxSdlWindowScale; the reason goes to stderr.
int runSdlWindow(FrontEndControls& controls, int scale);
int runSdlWindow(FrontEndControls& controls, int scale, SdlWindowObserver* observer);
