// Scrolling lists and pages: the position stays within the content, a tap stays a tap until the
// pen moves past the slop, the content follows a dragging pen, and the indicator's thumb moves
// the position in proportion.
#include <gtest/gtest.h>
#include <windows.h>

#include "programs/common/VerticalScroll.h"

namespace {

const RECT kTrack{235, 0, 240, 100};

TEST(VerticalScroll, PositionStaysWithinTheContentAndRevealMovesLeast) {
    VerticalScroll s;
    s.setExtent(500, 100);
    EXPECT_EQ(s.maxTop(), 400);
    EXPECT_FALSE(s.scrollTo(-10));
    EXPECT_TRUE(s.scrollTo(1000));
    EXPECT_EQ(s.top(), 400);
    EXPECT_TRUE(s.scrollBy(-2147483647));
    EXPECT_EQ(s.top(), 0);
    EXPECT_TRUE(s.reveal(150, 20));  // below the view: its bottom comes to the view's bottom
    EXPECT_EQ(s.top(), 70);
    EXPECT_FALSE(s.reveal(100, 20));  // already in view
    EXPECT_TRUE(s.reveal(10, 20));
    EXPECT_EQ(s.top(), 10);
    // Content that shrinks pulls the position back; content that fits has no thumb.
    s.scrollTo(400);
    s.setExtent(150, 100);
    EXPECT_EQ(s.top(), 50);
    s.setExtent(80, 100);
    EXPECT_EQ(s.top(), 0);
    const RECT thumb = s.thumb(kTrack);
    EXPECT_TRUE(IsRectEmpty(&thumb));
}

TEST(VerticalScroll, TapStaysATapUntilThePenMovesPastTheSlop) {
    VerticalScroll s;
    s.setExtent(500, 100);
    s.press({50, 50}, kTrack, 4);
    EXPECT_FALSE(s.move({53, 47}));
    EXPECT_FALSE(s.dragging());
    EXPECT_TRUE(s.release());

    // Dragging up shows what lies below, by as much as the pen moved.
    s.press({50, 80}, kTrack, 4);
    EXPECT_TRUE(s.move({50, 40}));
    EXPECT_TRUE(s.dragging());
    EXPECT_EQ(s.top(), 40);
    EXPECT_TRUE(s.move({50, 70}));
    EXPECT_EQ(s.top(), 10);
    EXPECT_FALSE(s.release());
}

TEST(VerticalScroll, ThumbFollowsThePenAlongTheTrack) {
    VerticalScroll s;
    s.setExtent(400, 100);  // the thumb is a quarter of the track: 25 pixels, 75 of travel
    RECT thumb = s.thumb(kTrack);
    EXPECT_EQ(thumb.top, 0);
    EXPECT_EQ(thumb.bottom, 25);
    // Pressing the track puts the thumb's middle under the pen.
    s.press({237, 50}, kTrack, 4);
    EXPECT_TRUE(s.dragging());
    EXPECT_EQ(s.top(), (50 - 12) * 300 / 75);
    s.move({237, 200});
    EXPECT_EQ(s.top(), 300);
    thumb = s.thumb(kTrack);
    EXPECT_EQ(thumb.bottom, 100);
    s.move({237, -50});
    EXPECT_EQ(s.top(), 0);
    EXPECT_FALSE(s.release());
}

}  // namespace
