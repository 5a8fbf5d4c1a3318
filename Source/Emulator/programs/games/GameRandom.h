// The games' dice: a small generator (xorshift) whose sequence depends only on its seed, so that
// a game dealt from a seed is the same on every host and in every test.
#pragma once

#include <cstdint>

class GameRandom {
public:
    explicit GameRandom(uint32_t seed) : m_state(seed != 0 ? seed : 0x9E3779B9u) {}
    uint32_t next() {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    // A number in [0, bound) for a small bound (the slight bias does not matter for a game).
    int below(int bound) {
        return bound > 0 ? static_cast<int>(next() % static_cast<uint32_t>(bound)) : 0;
    }

private:
    uint32_t m_state;
};
