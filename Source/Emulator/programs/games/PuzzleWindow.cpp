// The tile-sliding puzzle's window.
#include <device/Programs.h>
#include <wchar16.h>

#include "device/DeviceNames.h"
#include "programs/ProgramIcons.h"
#include "programs/common/DisplayText.h"
#include "programs/games/GameWindow.h"
#include "programs/games/Games.h"
#include "programs/games/SlidingPuzzle.h"

namespace {

constexpr COLORREF kTile = RGB(246, 226, 180);
constexpr COLORREF kTileEdge = RGB(170, 130, 70);
constexpr COLORREF kTilePlaced = RGB(214, 236, 200);
constexpr COLORREF kTileText = RGB(70, 40, 10);

class PuzzleWindow : public GameWindow {
protected:
    void newGame(uint32_t seed) override { m_puzzle.shuffle(seed); }

    void paintCell(HDC dc, int cell, const RECT& rect) override {
        RECT tile = rect;
        InflateRect(&tile, -scale(), -scale());
        const int number = m_puzzle.tileAt(cell);
        if (number == 0) {
            fillRect(dc, tile, kPuzzleGapColour);
            return;
        }
        // A tile in its own place is drawn green, so that progress shows.
        fillRect(dc, tile, number == cell + 1 ? kTilePlaced : kTile);
        frameRect(dc, tile, kTileEdge);
        Selection font(dc, tileFont());
        SetTextColor(dc, kTileText);
        drawDisplayText(dc, tile, platform::fromUtf8(std::to_string(number)), TextAlign::Centre);
    }

    void cellTapped(int cell) override {
        if (m_puzzle.slide(cell) == 0)
            MessageBeep(MB_OK);
    }

    void keyDown(UINT vk) override {
        if (m_puzzle.solved())
            return;
        using Direction = SlidingPuzzle::Direction;
        bool moved = false;
        switch (vk) {
            case VK_LEFT:
                moved = m_puzzle.push(Direction::Left);
                break;
            case VK_RIGHT:
                moved = m_puzzle.push(Direction::Right);
                break;
            case VK_UP:
                moved = m_puzzle.push(Direction::Up);
                break;
            case VK_DOWN:
                moved = m_puzzle.push(Direction::Down);
                break;
            default:
                return;
        }
        if (moved)
            invalidate();
    }

    std::u16string statusText() const override {
        return platform::formatText(u"Moves: %d", m_puzzle.moves());
    }

    std::u16string wonText() const override {
        return m_puzzle.solved() ? platform::formatText(u"Solved in %d moves!", m_puzzle.moves())
                                 : std::u16string();
    }

private:
    SlidingPuzzle m_puzzle;
};

int puzzleMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    return runProgram(instance, {kPuzzleWindowClass, kPuzzleTitle},
                      [] { return std::make_unique<PuzzleWindow>(); });
}

}  // namespace

void registerPuzzleProgram() {
    device::registerProgram(kPuzzleProgram, puzzleMain, kPuzzleIcon);
}
