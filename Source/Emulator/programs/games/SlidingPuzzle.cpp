// The tile-sliding puzzle's rules.
#include "programs/games/SlidingPuzzle.h"

#include "programs/games/GameRandom.h"

namespace {

// Random slides that scramble a new game: enough to carry any tile far from its place.
constexpr int kShuffleSlides = 400;

}  // namespace

SlidingPuzzle::SlidingPuzzle() {
    for (int i = 0; i < kCells - 1; ++i)
        m_tiles[static_cast<size_t>(i)] = static_cast<uint8_t>(i + 1);
    m_tiles[kCells - 1] = 0;
}

void SlidingPuzzle::swapWithGap(int cell) {
    m_tiles[static_cast<size_t>(m_gap)] = m_tiles[static_cast<size_t>(cell)];
    m_tiles[static_cast<size_t>(cell)] = 0;
    m_gap = cell;
}

void SlidingPuzzle::shuffle(uint32_t seed) {
    *this = SlidingPuzzle();
    GameRandom random(seed);
    int previous = -1;
    for (int n = 0; n < kShuffleSlides || solved(); ++n) {
        // The gap's neighbours, less the cell it just came from (which would undo the slide).
        int choices[4];
        int count = 0;
        const int row = m_gap / kSide;
        const int column = m_gap % kSide;
        const int neighbours[4] = {
            row > 0 ? m_gap - kSide : -1, row < kSide - 1 ? m_gap + kSide : -1,
            column > 0 ? m_gap - 1 : -1, column < kSide - 1 ? m_gap + 1 : -1};
        for (int cell : neighbours) {
            if (cell >= 0 && cell != previous)
                choices[count++] = cell;
        }
        previous = m_gap;
        swapWithGap(choices[random.below(count)]);
    }
    m_moves = 0;
}

int SlidingPuzzle::slide(int cell) {
    if (cell < 0 || cell >= kCells || cell == m_gap)
        return 0;
    int step = 0;
    if (cell / kSide == m_gap / kSide)
        step = cell < m_gap ? -1 : 1;
    else if (cell % kSide == m_gap % kSide)
        step = cell < m_gap ? -kSide : kSide;
    else
        return 0;
    int moved = 0;
    while (m_gap != cell) {
        swapWithGap(m_gap + step);
        ++moved;
    }
    m_moves += moved;
    return moved;
}

bool SlidingPuzzle::push(Direction direction) {
    const int row = m_gap / kSide;
    const int column = m_gap % kSide;
    int from = -1;
    switch (direction) {
        case Direction::Left:
            from = column < kSide - 1 ? m_gap + 1 : -1;
            break;
        case Direction::Right:
            from = column > 0 ? m_gap - 1 : -1;
            break;
        case Direction::Up:
            from = row < kSide - 1 ? m_gap + kSide : -1;
            break;
        case Direction::Down:
            from = row > 0 ? m_gap - kSide : -1;
            break;
    }
    return from >= 0 && slide(from) == 1;
}

bool SlidingPuzzle::solved() const {
    for (int i = 0; i < kCells - 1; ++i) {
        if (m_tiles[static_cast<size_t>(i)] != i + 1)
            return false;
    }
    return true;
}
