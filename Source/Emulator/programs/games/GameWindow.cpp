// The games' shared window: board, status line and won banner.
#include "programs/games/GameWindow.h"

#include <algorithm>

#include "programs/common/DisplayText.h"

namespace {

constexpr int kMargin = 6;
constexpr int kStatusHeight = 28;
constexpr int kButtonWidth = 76;
constexpr int kBannerHeight = 44;

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

GameLayout gameLayout(int width, int height, int scale) {
    GameLayout layout;
    const int margin = kMargin * scale;
    const int status = kStatusHeight * scale;
    const int side = std::max(0, std::min(width - 2 * margin, height - status - 2 * margin));
    const int left = (width - side) / 2;
    const int top = std::max(margin, (height - status - side) / 2);
    layout.board = RECT{left, top, left + side, top + side};
    const int statusTop = std::max(static_cast<int>(layout.board.bottom), height - status);
    layout.status = RECT{margin, statusTop, width - margin, height};
    layout.newGame = RECT{width - margin - kButtonWidth * scale, statusTop + 3 * scale,
                          width - margin, height - 3 * scale};
    return layout;
}

void GameWindow::created() {
    m_font = makeProgramFont(12, scale(), FontWeight::Normal);
    m_bold = makeProgramFont(14, scale(), FontWeight::Bold);
    m_tile = makeProgramFont(18, scale(), FontWeight::Bold);
    newGame(GetTickCount());
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
        drawDisplayText(
            dc,
            RECT{layout.status.left, layout.status.top, layout.newGame.left, layout.status.bottom},
            statusText(), TextAlign::Left);
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
