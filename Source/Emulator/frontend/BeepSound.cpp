// The beep's tone: 120 ms of 880 Hz, faded in and out so that it does not click, queued on
// the host's default sound output.
#include "frontend/BeepSound.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int kRate = 22050;
constexpr int kToneHz = 880;
constexpr int kToneMs = 120;
constexpr int kFadeSamples = kRate / 200;  // 5 ms
constexpr double kVolume = 0.25;

std::vector<int16_t> makeTone() {
    const int samples = kRate * kToneMs / 1000;
    std::vector<int16_t> tone(static_cast<size_t>(samples));
    for (int i = 0; i < samples; ++i) {
        const double fade = std::min({1.0, static_cast<double>(i) / kFadeSamples,
                                      static_cast<double>(samples - 1 - i) / kFadeSamples});
        const double wave = std::sin(2.0 * std::numbers::pi * kToneHz * i / kRate);
        tone[static_cast<size_t>(i)] = static_cast<int16_t>(wave * fade * kVolume * 32767.0);
    }
    return tone;
}

}  // namespace

BeepSound::BeepSound() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return;
    m_audioStarted = true;
    SDL_AudioSpec wanted{};
    wanted.freq = kRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = 512;
    // The output takes the tone as it is: SDL converts to what the device plays.
    m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (m_device != 0)
        m_tone = makeTone();
}

BeepSound::~BeepSound() {
    if (m_device != 0)
        SDL_CloseAudioDevice(m_device);
    if (m_audioStarted)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool BeepSound::play() {
    if (m_device == 0)
        return false;
    SDL_ClearQueuedAudio(m_device);
    if (SDL_QueueAudio(m_device, m_tone.data(),
                       static_cast<Uint32>(m_tone.size() * sizeof(int16_t))) != 0) {
        return false;
    }
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}
