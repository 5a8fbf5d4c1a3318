// The Calendar's and the games' layouts for every area the programs get: the work area and what
// the keyboard leaves of it, upright and turned, on 96 and 192 dpi screens. Every part lies
// inside the window, buttons keep a size a stylus can hit, and nothing overlaps.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "programs/calendar/Calendar.h"
#include "programs/games/GameWindow.h"

namespace {

struct Area {
    int width;
    int height;
    int scale;
    std::string what;
};

// The work area and the visible desktop with the keyboard up, on 240x320 and 480x640, upright
// and turned (bars 26 pixels, the keyboard 80 or 160).
const Area kAreas[] = {
    {240, 268, 1, "240x320"}, {240, 188, 1, "240x320 keyboard up"},
    {320, 188, 1, "320x240"}, {320, 108, 1, "320x240 keyboard up"},
    {480, 588, 2, "480x640"}, {480, 428, 2, "480x640 keyboard up"},
    {640, 428, 2, "640x480"}, {640, 268, 2, "640x480 keyboard up"},
};

bool inside(const RECT& part, const Area& a) {
    return part.left >= 0 && part.top >= 0 && part.right <= a.width && part.bottom <= a.height &&
           part.left < part.right && part.top < part.bottom;
}

bool overlap(const RECT& a, const RECT& b) {
    RECT common{};
    return IntersectRect(&common, &a, &b) != FALSE;
}

int height(const RECT& r) {
    return r.bottom - r.top;
}

TEST(CalendarLayouts, EveryPartShowsAndSixWeeksStayReadable) {
    for (const Area& a : kAreas) {
        SCOPED_TRACE(a.what);
        const CalendarLayout layout = calendarLayout(a.width, a.height, a.scale);
        for (const RECT& part : {layout.previous, layout.next, layout.title, layout.weekdays,
                                 layout.grid, layout.todayButton}) {
            EXPECT_TRUE(inside(part, a));
        }
        EXPECT_GE(height(layout.todayButton), 20 * a.scale);
        EXPECT_GE(height(layout.grid) / 6, 15 * a.scale);
        EXPECT_FALSE(overlap(layout.todayButton, layout.grid));
        EXPECT_FALSE(overlap(layout.previous, layout.next));
        EXPECT_FALSE(overlap(layout.header, layout.grid));
        EXPECT_EQ(layout.cell(41).bottom, layout.grid.bottom);
        EXPECT_EQ(layout.cell(41).right, layout.grid.right);
    }
    // The month beside the grid only where a stacked page would squeeze the weeks.
    EXPECT_FALSE(calendarLayout(240, 188, 1).beside);
    EXPECT_FALSE(calendarLayout(320, 188, 1).beside);
    EXPECT_TRUE(calendarLayout(320, 108, 1).beside);
    EXPECT_TRUE(calendarLayout(640, 268, 2).beside);
    // An upright window keeps the stacked page however short the weeks get.
    EXPECT_FALSE(calendarLayout(100, 120, 1).beside);
}

TEST(GameLayouts, BoardStatusAndNewGameShowWithoutOverlapping) {
    for (const Area& a : kAreas) {
        SCOPED_TRACE(a.what);
        const GameLayout layout = gameLayout(a.width, a.height, a.scale);
        EXPECT_TRUE(inside(layout.board, a));
        EXPECT_TRUE(inside(layout.status, a));
        EXPECT_TRUE(inside(layout.newGame, a));
        EXPECT_EQ(layout.board.right - layout.board.left, height(layout.board));
        EXPECT_FALSE(overlap(layout.board, layout.newGame));
        EXPECT_FALSE(overlap(layout.board, layout.status));
        EXPECT_FALSE(overlap(layout.status, layout.newGame));
        EXPECT_GE(height(layout.newGame), 20 * a.scale);
        EXPECT_GE(layout.cell(15).right - layout.cell(15).left, 20 * a.scale);
    }
    // Turned with the keyboard up the status goes beside the board, which keeps the height.
    const GameLayout turned = gameLayout(320, 108, 1);
    EXPECT_GE(turned.newGame.left, turned.board.right);
    EXPECT_EQ(height(turned.board), 108 - 2 * 6);
    const GameLayout upright = gameLayout(240, 188, 1);
    EXPECT_GE(upright.newGame.top, upright.board.bottom);
}

}  // namespace
