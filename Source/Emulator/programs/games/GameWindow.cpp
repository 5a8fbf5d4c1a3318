// The games' shared window: board, status line and won banner.
#include "programs/games/GameWindow.h"

#include <algorithm>

#include "programs/common/DisplayText.h"

namespace {

constexpr int kMargin = 6;
constexpr int kStatusHeight = 28;
constexpr int kButtonWidth = 76;
constexpr int kBannerHeight = 44;
// A tile's number at most this high, and at most this share of a cell.
constexpr int kTileFontPixels = 18;
constexpr int kTileFontPercent = 45;

constexpr COLORREF kBackground = RGB(238, 241, 246);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kButton = RGB(250, 250, 252);
constexpr COLORREF kButtonEdge = RGB(150, 156, 168);
constexpr COLORREF kButtonText = RGB(0, 70, 160);
constexpr COLORREF kBannerText = RGB(255, 255, 255);

}  // namespace

RECT GameLayout::cell(int index) const {
    const int row = index / kGameSide;
    const int column = index % kGameSide;
    const int side = board.right - board.left;
    return RECT{board.left + side * column / kGameSide, board.top + side * row / kGameSide,
                board.left + side * (column + 1) / kGameSide,
                board.top + side * (row + 1) / kGameSide};
}

namespace {

GameLayout statusBelow(int width, int height, int scale) {
    GameLayout layout;
    const int margin = kMargin * scale;
    const int status = kStatusHeight * scale;
    const int side = std::max(0, std::min(width - 2 * margin, height - status - 2 * margin));
    const int left = (width - side) / 2;
    const int top = std::max(margin, (height - status - side) / 2);
    layout.board = RECT{left, top, left + side, top + side};
    const int statusTop = std::max(static_cast<int>(layout.board.bottom), height - status);
    layout.newGame = RECT{width - margin - kButtonWidth * scale, statusTop + 3 * scale,
                          width - margin, height - 3 * scale};
    layout.status = RECT{margin, statusTop, layout.newGame.left, height};
    return layout;
}

// The board at the left of a block centred in the window, the count and "New game" at the
// block's right, level with the board's top.
GameLayout statusBeside(int width, int height, int scale) {
    GameLayout layout;
    const int margin = kMargin * scale;
    const int status = kStatusHeight * scale;
    const int column = kButtonWidth * scale;
    const int side = std::max(0, std::min(height - 2 * margin, width - column - 3 * margin));
    const int left = std::max(margin, (width - side - margin - column) / 2);
    const int top = (height - side) / 2;
    layout.board = RECT{left, top, left + side, top + side};
    const int columnLeft = layout.board.right + margin;
    layout.status = RECT{columnLeft, top, width - margin, top + status};
    layout.newGame = RECT{columnLeft, top + status + 3 * scale, columnLeft + column,
                          top + 2 * status - 3 * scale};
    return layout;
}

}  // namespace

GameLayout gameLayout(int width, int height, int scale) {
    const GameLayout below = statusBelow(width, height, scale);
    const GameLayout beside = statusBeside(width, height, scale);
    return beside.board.right - beside.board.left > below.board.right - below.board.left ? beside
                                                                                         : below;
}

void GameWindow::created() {
    m_font = makeProgramFont(12, scale(), FontWeight::Normal);
    m_bold = makeProgramFont(14, scale(), FontWeight::Bold);
    newGame(GetTickCount());
    resized(clientWidth(), clientHeight());
}

void GameWindow::resized(int width, int height) {
    const GameLayout layout = gameLayout(width, height, scale());
    const int cell = (layout.board.right - layout.board.left) / kGameSide;
    const int pixels = std::clamp(cell * kTileFontPercent / 100, 1, kTileFontPixels * scale());
    if (pixels == m_tilePixels && m_tile)
        return;
    m_tilePixels = pixels;
    m_tile = makeProgramFont(pixels, 1, FontWeight::Bold);
}

void GameWindow::paint(HDC dc, int width, int height) {
    fillRect(dc, RECT{0, 0, width, height}, kBackground);
    SetBkMode(dc, TRANSPARENT);
    const GameLayout layout = gameLayout(width, height, scale());
    for (int i = 0; i < kGameSide * kGameSide; ++i)
        paintCell(dc, i, layout.cell(i));

    {
        Selection font(dc, m_font.get());
        SetTextColor(dc, kText);
        drawDisplayText(dc, layout.status, statusText(), TextAlign::Left);
        fillRect(dc, layout.newGame, kButton);
        frameRect(dc, layout.newGame, kButtonEdge);
        SetTextColor(dc, kButtonText);
        drawDisplayText(dc, layout.newGame, u"New game", TextAlign::Centre);
    }

    const std::u16string won = wonText();
    if (!won.empty()) {
        const int middle = (layout.board.top + layout.board.bottom) / 2;
        const int half = kBannerHeight * scale() / 2;
        const RECT banner{layout.board.left, middle - half, layout.board.right, middle + half};
        fillRect(dc, banner, kGameWonColour);
        Selection font(dc, m_bold.get());
        SetTextColor(dc, kBannerText);
        drawDisplayText(dc, banner, won, TextAlign::Centre);
    }
}

void GameWindow::stylusUp(POINT point) {
    const GameLayout layout = gameLayout(clientWidth(), clientHeight(), scale());
    if (PtInRect(&layout.newGame, point)) {
        newGame(GetTickCount());
        invalidate();
        return;
    }
    if (!wonText().empty() || !PtInRect(&layout.board, point))
        return;
    for (int i = 0; i < kGameSide * kGameSide; ++i) {
        const RECT cell = layout.cell(i);
        if (PtInRect(&cell, point)) {
            cellTapped(i);
            invalidate();
            return;
        }
    }
}
