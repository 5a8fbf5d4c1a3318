// The memory game's rules.
#include "programs/games/MemoryGame.h"

#include <utility>

#include "programs/games/GameRandom.h"

MemoryGame::MemoryGame() {
    for (int i = 0; i < kCards; ++i)
        m_symbols[static_cast<size_t>(i)] = static_cast<uint8_t>(i / 2);
    m_faces.fill(Face::Down);
}

void MemoryGame::deal(uint32_t seed) {
    *this = MemoryGame();
    GameRandom random(seed);
    for (int i = kCards - 1; i > 0; --i)
        std::swap(m_symbols[static_cast<size_t>(i)],
                  m_symbols[static_cast<size_t>(random.below(i + 1))]);
}

bool MemoryGame::hideMismatch() {
    if (!mismatchShown())
        return false;
    for (int& card : m_mismatch) {
        m_faces[static_cast<size_t>(card)] = Face::Down;
        card = -1;
    }
    return true;
}

MemoryGame::Turn MemoryGame::show(int card) {
    if (card < 0 || card >= kCards)
        return Turn::Ignored;
    hideMismatch();
    Face& face = m_faces[static_cast<size_t>(card)];
    if (face != Face::Down)
        return Turn::Ignored;
    face = Face::Up;
    if (m_first < 0) {
        m_first = card;
        return Turn::FirstShown;
    }
    const int first = std::exchange(m_first, -1);
    ++m_tries;
    if (symbol(first) != symbol(card)) {
        m_mismatch[0] = first;
        m_mismatch[1] = card;
        return Turn::NoPair;
    }
    m_faces[static_cast<size_t>(first)] = Face::Matched;
    face = Face::Matched;
    ++m_pairs;
    return won() ? Turn::Won : Turn::Pair;
}
