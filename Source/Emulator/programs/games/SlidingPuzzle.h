// The tile-sliding puzzle's board: fifteen numbered tiles and a gap on a 4 x 4 board. Tapping a
// tile in the gap's row or column slides it, and the tiles between, into the gap; the puzzle is
// solved when the tiles read 1 to 15 row by row with the gap last.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

class SlidingPuzzle {
public:
    static constexpr int kSide = 4;
    static constexpr int kCells = kSide * kSide;

    // A solved board.
    SlidingPuzzle();

    // A new game from `seed`: the solved board scrambled by random slides, so that it can always
    // be solved, and never left solved. The move count starts again.
    void shuffle(uint32_t seed);

    // The tile at a cell (row by row from the top left), 0 for the gap.
    int tileAt(int cell) const { return m_tiles[static_cast<size_t>(cell)]; }
    int gap() const { return m_gap; }
    // Slides the tiles from `cell` up to the gap into it when the cell is in the gap's row or
    // column; returns how many tiles moved (0 for the gap itself, another line or a bad cell).
    int slide(int cell);
    // The arrow keys: the tile beside the gap on the side opposite to the direction moves into
    // it (Left moves the tile to the gap's right leftwards). False when there is none.
    enum class Direction { Left, Right, Up, Down };
    bool push(Direction direction);

    bool solved() const;
    // Tiles moved since the game began.
    int moves() const { return m_moves; }

private:
    void swapWithGap(int cell);

    std::array<uint8_t, kCells> m_tiles{};
    int m_gap = kCells - 1;
    int m_moves = 0;
};
