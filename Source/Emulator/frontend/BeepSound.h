// The device's beep on the host's sound output: a short tone, played when the host has an
// output at all (a host without one is no error; the window's flash is the beep then).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

class BeepSound {
public:
    // Opens the host's default sound output, if there is one.
    BeepSound();
    ~BeepSound();
    BeepSound(const BeepSound&) = delete;
    BeepSound& operator=(const BeepSound&) = delete;

    bool available() const { return m_device != 0; }
    // Starts the tone (cutting short one still playing); false without a sound output.
    bool play();

private:
    bool m_audioStarted = false;
    SDL_AudioDeviceID m_device = 0;
    std::vector<int16_t> m_tone;
};
