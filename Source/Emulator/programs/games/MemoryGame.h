// The memory game's table: sixteen cards, eight pairs of symbols, dealt face down. A turn shows
// two cards: a pair stays face up, two different cards are shown until the player looks away
// (the next tap, or the window's pause) and turn back. The game is won when every pair is up.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

class MemoryGame {
public:
    static constexpr int kCards = 16;
    static constexpr int kPairs = kCards / 2;

    enum class Face { Down, Up, Matched };
    enum class Turn {
        Ignored,     // a bad card, or one already face up
        FirstShown,  // the first card of a turn
        Pair,        // the second card matched the first
        NoPair,      // it did not: both stay shown until hideMismatch
        Won,         // the last pair was found
    };

    // A table of cards in order (pairs side by side), every card face down.
    MemoryGame();
    // A new game: the cards shuffled from `seed`, every card face down, no tries.
    void deal(uint32_t seed);

    int symbol(int card) const { return m_symbols[static_cast<size_t>(card)]; }
    Face face(int card) const { return m_faces[static_cast<size_t>(card)]; }

    // Turns a card over. Showing a card while a mismatch is shown first turns that pair back.
    Turn show(int card);
    // Turns the two cards of a mismatch back; false when none is shown.
    bool hideMismatch();
    bool mismatchShown() const { return m_mismatch[0] >= 0; }

    // Turns of two cards taken, and pairs found.
    int tries() const { return m_tries; }
    int pairsFound() const { return m_pairs; }
    bool won() const { return m_pairs == kPairs; }

private:
    std::array<uint8_t, kCards> m_symbols{};
    std::array<Face, kCards> m_faces{};
    int m_first = -1;  // the turn's first card, -1 before it
    int m_mismatch[2] = {-1, -1};
    int m_tries = 0;
    int m_pairs = 0;
};
