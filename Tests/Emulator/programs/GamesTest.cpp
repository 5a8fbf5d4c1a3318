// The two games' rules: the puzzle's slides, its scrambles (always solvable, never solved) and
// its win; the memory game's deal, turns, mismatches and win.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "programs/games/MemoryGame.h"
#include "programs/games/SlidingPuzzle.h"

namespace {

using Direction = SlidingPuzzle::Direction;

std::array<int, SlidingPuzzle::kCells> tiles(const SlidingPuzzle& p) {
    std::array<int, SlidingPuzzle::kCells> t{};
    for (int i = 0; i < SlidingPuzzle::kCells; ++i)
        t[static_cast<size_t>(i)] = p.tileAt(i);
    return t;
}

// A 4 x 4 board can be solved exactly when the tiles' inversions plus the gap's row counted
// from the bottom (1-based) is odd.
bool solvable(const SlidingPuzzle& p) {
    int inversions = 0;
    const auto t = tiles(p);
    for (size_t i = 0; i < t.size(); ++i) {
        for (size_t j = i + 1; j < t.size(); ++j) {
            if (t[i] != 0 && t[j] != 0 && t[i] > t[j])
                ++inversions;
        }
    }
    const int gapRowFromBottom = SlidingPuzzle::kSide - p.gap() / SlidingPuzzle::kSide;
    return (inversions + gapRowFromBottom) % 2 == 1;
}

TEST(SlidingPuzzle, TappedTilesInTheGapsLineSlideTowardItOthersDoNot) {
    SlidingPuzzle p;
    EXPECT_TRUE(p.solved());
    EXPECT_EQ(p.gap(), 15);
    // Cell 12 is in the gap's row: tiles 13, 14 and 15 each move one to the right.
    EXPECT_EQ(p.slide(12), 3);
    EXPECT_EQ(p.gap(), 12);
    EXPECT_EQ(p.tileAt(13), 13);
    EXPECT_EQ(p.tileAt(15), 15);
    EXPECT_EQ(p.moves(), 3);
    EXPECT_FALSE(p.solved());
    // Cell 0 is in its column: tiles 1, 5 and 9 move down.
    EXPECT_EQ(p.slide(0), 3);
    EXPECT_EQ(p.tileAt(12), 9);
    EXPECT_EQ(p.tileAt(4), 1);
    // Not in line, the gap itself, off the board: nothing moves.
    EXPECT_EQ(p.slide(5), 0);
    EXPECT_EQ(p.slide(0), 0);
    EXPECT_EQ(p.slide(-1), 0);
    EXPECT_EQ(p.slide(16), 0);
    EXPECT_EQ(p.moves(), 6);
    // Undoing the slides solves it again.
    EXPECT_EQ(p.slide(12), 3);
    EXPECT_EQ(p.slide(15), 3);
    EXPECT_TRUE(p.solved());
    EXPECT_EQ(p.moves(), 12);
}

TEST(SlidingPuzzle, ArrowKeysMoveTheNeighbourOppositeTheirDirectionIntoTheGap) {
    SlidingPuzzle p;
    // The gap is at the bottom right: nothing lies to its right or below it.
    EXPECT_FALSE(p.push(Direction::Left));
    EXPECT_FALSE(p.push(Direction::Up));
    EXPECT_TRUE(p.push(Direction::Right));  // tile 15 moves right
    EXPECT_EQ(p.tileAt(15), 15);
    EXPECT_EQ(p.gap(), 14);
    EXPECT_TRUE(p.push(Direction::Down));  // tile 11 moves down
    EXPECT_EQ(p.tileAt(14), 11);
    EXPECT_TRUE(p.push(Direction::Up));
    EXPECT_TRUE(p.push(Direction::Left));
    EXPECT_TRUE(p.solved());
    EXPECT_EQ(p.moves(), 4);
}

TEST(SlidingPuzzle, ScramblesAreSolvableUnsolvedRepeatableAndStartCounting) {
    for (uint32_t seed : {0u, 1u, 2u, 12345u, 0xFFFFFFFFu}) {
        SlidingPuzzle p;
        p.slide(12);
        p.shuffle(seed);
        EXPECT_FALSE(p.solved()) << seed;
        EXPECT_TRUE(solvable(p)) << seed;
        EXPECT_EQ(p.moves(), 0);
        auto sorted = tiles(p);
        std::sort(sorted.begin(), sorted.end());
        for (int i = 0; i < SlidingPuzzle::kCells; ++i)
            EXPECT_EQ(sorted[static_cast<size_t>(i)], i);
        SlidingPuzzle again;
        again.shuffle(seed);
        EXPECT_EQ(tiles(again), tiles(p));
    }
    SlidingPuzzle a, b;
    a.shuffle(1);
    b.shuffle(2);
    EXPECT_NE(tiles(a), tiles(b));
}

TEST(MemoryGame, DealsEightPairsFaceDownAndRepeatsASeed) {
    MemoryGame game;
    game.deal(7);
    std::array<int, MemoryGame::kPairs> count{};
    for (int i = 0; i < MemoryGame::kCards; ++i) {
        ASSERT_GE(game.symbol(i), 0);
        ASSERT_LT(game.symbol(i), MemoryGame::kPairs);
        ++count[static_cast<size_t>(game.symbol(i))];
        EXPECT_EQ(game.face(i), MemoryGame::Face::Down);
    }
    for (int c : count)
        EXPECT_EQ(c, 2);
    MemoryGame same, other;
    same.deal(7);
    other.deal(8);
    bool differs = false;
    for (int i = 0; i < MemoryGame::kCards; ++i) {
        EXPECT_EQ(same.symbol(i), game.symbol(i));
        differs = differs || other.symbol(i) != game.symbol(i);
    }
    EXPECT_TRUE(differs);
}

TEST(MemoryGame, TurnsFindPairsShowMismatchesUntilTheNextTapAndEndInAWin) {
    MemoryGame game;  // undealt: cards 2k and 2k+1 are a pair
    EXPECT_EQ(game.show(0), MemoryGame::Turn::FirstShown);
    EXPECT_EQ(game.show(0), MemoryGame::Turn::Ignored);
    EXPECT_EQ(game.show(2), MemoryGame::Turn::NoPair);
    EXPECT_TRUE(game.mismatchShown());
    EXPECT_EQ(game.face(0), MemoryGame::Face::Up);
    EXPECT_EQ(game.face(2), MemoryGame::Face::Up);
    EXPECT_EQ(game.tries(), 1);

    // The next tap turns the mismatch back first, then shows its own card.
    EXPECT_EQ(game.show(1), MemoryGame::Turn::FirstShown);
    EXPECT_FALSE(game.mismatchShown());
    EXPECT_EQ(game.face(0), MemoryGame::Face::Down);
    EXPECT_EQ(game.face(2), MemoryGame::Face::Down);
    EXPECT_EQ(game.show(0), MemoryGame::Turn::Pair);
    EXPECT_EQ(game.face(0), MemoryGame::Face::Matched);
    EXPECT_EQ(game.face(1), MemoryGame::Face::Matched);
    EXPECT_EQ(game.show(1), MemoryGame::Turn::Ignored);
    EXPECT_EQ(game.show(-1), MemoryGame::Turn::Ignored);
    EXPECT_EQ(game.show(MemoryGame::kCards), MemoryGame::Turn::Ignored);
    EXPECT_EQ(game.pairsFound(), 1);

    // A mismatch left alone turns back when the window's pause asks.
    EXPECT_EQ(game.show(4), MemoryGame::Turn::FirstShown);
    EXPECT_EQ(game.show(7), MemoryGame::Turn::NoPair);
    EXPECT_TRUE(game.hideMismatch());
    EXPECT_FALSE(game.hideMismatch());
    EXPECT_EQ(game.face(4), MemoryGame::Face::Down);

    for (int pair = 1; pair < MemoryGame::kPairs - 1; ++pair) {
        EXPECT_EQ(game.show(2 * pair), MemoryGame::Turn::FirstShown);
        EXPECT_EQ(game.show(2 * pair + 1), MemoryGame::Turn::Pair);
    }
    EXPECT_FALSE(game.won());
    EXPECT_EQ(game.show(14), MemoryGame::Turn::FirstShown);
    EXPECT_EQ(game.show(15), MemoryGame::Turn::Won);
    EXPECT_TRUE(game.won());
    EXPECT_EQ(game.tries(), 10);
}

}  // namespace
