// The memory game's window: cards face down in dark blue, face up white with their symbol (a
// shape of its own colour), found pairs on a pale green.
#include <device/Programs.h>
#include <wchar16.h>

#include <cmath>

#include "device/DeviceNames.h"
#include "programs/ProgramIcons.h"
#include "programs/games/GameWindow.h"
#include "programs/games/Games.h"
#include "programs/games/MemoryGame.h"

namespace {

constexpr UINT_PTR kHideTimer = 1;

constexpr COLORREF kBack = RGB(30, 60, 130);
constexpr COLORREF kBackPattern = RGB(80, 120, 200);
constexpr COLORREF kFace = RGB(255, 255, 255);
constexpr COLORREF kMatchedFace = RGB(214, 236, 200);
constexpr COLORREF kEdge = RGB(120, 126, 140);

constexpr COLORREF kSymbolColours[MemoryGame::kPairs] = {
    RGB(210, 40, 40), RGB(40, 90, 210),  RGB(30, 150, 60), RGB(240, 140, 20),
    RGB(220, 180, 0), RGB(140, 50, 170), RGB(0, 150, 150), RGB(230, 80, 160),
};

// Draws symbol 0..7 inside `box`: disc, square, triangle, diamond, star, ring, cross, heart.
void drawSymbol(HDC dc, int symbol, const RECT& box) {
    const COLORREF colour = kSymbolColours[symbol];
    BrushHandle brush(CreateSolidBrush(colour));
    PenHandle pen(CreatePen(PS_SOLID, 1, colour));
    Selection brushSelected(dc, brush.get());
    Selection penSelected(dc, pen.get());
    const int l = box.left, t = box.top, r = box.right, b = box.bottom;
    const int cx = (l + r) / 2, cy = (t + b) / 2;
    const int w = r - l, h = b - t;
    switch (symbol) {
        case 0:
            Ellipse(dc, l, t, r, b);
            break;
        case 1:
            Rectangle(dc, l + w / 10, t + h / 10, r - w / 10, b - h / 10);
            break;
        case 2: {
            const POINT p[] = {{cx, t}, {r, b}, {l, b}};
            Polygon(dc, p, 3);
            break;
        }
        case 3: {
            const POINT p[] = {{cx, t}, {r, cy}, {cx, b}, {l, cy}};
            Polygon(dc, p, 4);
            break;
        }
        case 4: {
            POINT p[10];
            for (int i = 0; i < 10; ++i) {
                const double angle = -M_PI / 2 + i * M_PI / 5;
                const double radius = (i % 2 == 0 ? 0.5 : 0.2) * w;
                p[i] = POINT{cx + static_cast<int>(std::lround(radius * std::cos(angle))),
                             cy + static_cast<int>(std::lround(radius * std::sin(angle)))};
            }
            Polygon(dc, p, 10);
            break;
        }
        case 5: {
            Ellipse(dc, l, t, r, b);
            BrushHandle hole(CreateSolidBrush(kFace));
            PenHandle holeEdge(CreatePen(PS_SOLID, 1, kFace));
            Selection holeSelected(dc, hole.get());
            Selection holeEdgeSelected(dc, holeEdge.get());
            Ellipse(dc, l + w / 4, t + h / 4, r - w / 4, b - h / 4);
            break;
        }
        case 6: {
            const int arm = w / 6;
            Rectangle(dc, cx - arm, t, cx + arm, b);
            Rectangle(dc, l, cy - arm, r, cy + arm);
            break;
        }
        default: {
            // Two discs over a point.
            Ellipse(dc, l, t, cx + w / 12, cy + h / 8);
            Ellipse(dc, cx - w / 12, t, r, cy + h / 8);
            const POINT p[] = {{l + w / 40, cy - h / 16}, {r - w / 40, cy - h / 16}, {cx, b}};
            Polygon(dc, p, 3);
            break;
        }
    }
}

class MemoryWindow : public GameWindow {
protected:
    void newGame(uint32_t seed) override {
        KillTimer(window(), kHideTimer);
        m_game.deal(seed);
    }

    void paintCell(HDC dc, int cell, const RECT& rect) override {
        RECT card = rect;
        InflateRect(&card, -2 * scale(), -2 * scale());
        const MemoryGame::Face face = m_game.face(cell);
        if (face == MemoryGame::Face::Down) {
            fillRect(dc, card, kBack);
            RECT pattern = card;
            InflateRect(&pattern, -3 * scale(), -3 * scale());
            frameRect(dc, pattern, kBackPattern);
            InflateRect(&pattern, -3 * scale(), -3 * scale());
            frameRect(dc, pattern, kBackPattern);
            frameRect(dc, card, kEdge);
            return;
        }
        fillRect(dc, card, face == MemoryGame::Face::Matched ? kMatchedFace : kFace);
        frameRect(dc, card, kEdge);
        RECT symbol = card;
        const int inset = (card.right - card.left) / 5;
        InflateRect(&symbol, -inset, -inset);
        drawSymbol(dc, m_game.symbol(cell), symbol);
    }

    void cellTapped(int cell) override {
        KillTimer(window(), kHideTimer);
        if (m_game.show(cell) == MemoryGame::Turn::NoPair)
            SetTimer(window(), kHideTimer, kMemoryMismatchMs, nullptr);
    }

    void timer(UINT_PTR id) override {
        if (id != kHideTimer)
            return;
        KillTimer(window(), kHideTimer);
        if (m_game.hideMismatch())
            invalidate();
    }

    std::u16string statusText() const override {
        return platform::formatText(u"Tries: %d   Pairs: %d/%d", m_game.tries(),
                                    m_game.pairsFound(), MemoryGame::kPairs);
    }

    std::u16string wonText() const override {
        return m_game.won() ? platform::formatText(u"All pairs in %d tries!", m_game.tries())
                            : std::u16string();
    }

private:
    MemoryGame m_game;
};

int memoryMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    return runProgram(instance, {kMemoryWindowClass, kMemoryTitle},
                      [] { return std::make_unique<MemoryWindow>(); });
}

}  // namespace

void registerMemoryProgram() {
    device::registerProgram(kMemoryProgram, memoryMain, kMemoryIcon);
}
