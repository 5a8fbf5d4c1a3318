// What the two games share: a square board of 4 x 4 cells in the middle of the window, a status
// line below it with the game's count and a "New game" button, and a banner over the board that
// tells a won game. Each game draws its cells and answers taps on them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "programs/common/GdiScope.h"
#include "programs/common/ProgramWindow.h"

// Where the board, the count and "New game" lie: the status line below the board, or, when
// that leaves a bigger board (a wide, short window: a turned screen with the input panel up),
// beside it.
struct GameLayout {
    RECT board{};
    RECT status{};  // the count's text
    RECT newGame{};
    // Cell 0..15 of the board, row by row.
    RECT cell(int index) const;
};
GameLayout gameLayout(int width, int height, int scale);

inline constexpr int kGameSide = 4;
// The banner that tells a won game.
inline constexpr COLORREF kGameWonColour = RGB(30, 120, 50);

class GameWindow : public ProgramWindow {
protected:
    // Starts a new game from a seed.
    virtual void newGame(uint32_t seed) = 0;
    virtual void paintCell(HDC dc, int cell, const RECT& rect) = 0;
    virtual void cellTapped(int cell) = 0;
    // The count shown in the status line, and the banner's text once won (empty before).
    virtual std::u16string statusText() const = 0;
    virtual std::u16string wonText() const = 0;

    // The font of a tile's number, sized to the cells.
    HFONT tileFont() const { return m_tile.get(); }

    void created() override;
    void resized(int width, int height) override;
    void paint(HDC dc, int width, int height) override;
    void stylusUp(POINT point) override;

private:
    FontHandle m_font;
    int m_tilePixels = 0;
    FontHandle m_bold;
    FontHandle m_tile;
};
