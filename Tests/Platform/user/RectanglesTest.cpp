// Rectangle helpers: edges (left and top inside, right and bottom outside), empty results,
// and the one-sided cut of SubtractRect.
#include <gtest/gtest.h>

#include "winuser.h"

namespace {
RECT rect(int l, int t, int r, int b) {
    return RECT{l, t, r, b};
}
bool same(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}
}  // namespace

TEST(Rectangles, EdgesEmptinessAndSetOperations) {
    RECT r = rect(10, 20, 30, 40);
    EXPECT_TRUE(PtInRect(&r, POINT{10, 20}));
    EXPECT_TRUE(PtInRect(&r, POINT{29, 39}));
    EXPECT_FALSE(PtInRect(&r, POINT{30, 25}));
    EXPECT_FALSE(PtInRect(&r, POINT{15, 40}));
    EXPECT_FALSE(PtInRect(nullptr, POINT{15, 25}));

    RECT out;
    RECT corner = rect(25, 35, 50, 50);
    EXPECT_TRUE(IntersectRect(&out, &r, &corner));
    EXPECT_TRUE(same(out, rect(25, 35, 30, 40)));
    RECT apart = rect(30, 20, 40, 40);  // touching at the right edge only
    EXPECT_FALSE(IntersectRect(&out, &r, &apart));
    EXPECT_TRUE(IsRectEmpty(&out));

    RECT empty = rect(5, 5, 5, 100);
    EXPECT_TRUE(UnionRect(&out, &r, &empty));
    EXPECT_TRUE(same(out, r));  // an empty rectangle adds nothing
    EXPECT_TRUE(UnionRect(&out, &r, &apart));
    EXPECT_TRUE(same(out, rect(10, 20, 40, 40)));
    EXPECT_FALSE(UnionRect(&out, &empty, &empty));

    RECT left = rect(0, 0, 20, 100);  // covers the whole left part, top to bottom
    EXPECT_TRUE(SubtractRect(&out, &r, &left));
    EXPECT_TRUE(same(out, rect(20, 20, 30, 40)));
    RECT middle = rect(15, 25, 20, 30);  // a hole in the middle leaves it whole
    EXPECT_TRUE(SubtractRect(&out, &r, &middle));
    EXPECT_TRUE(same(out, r));
    RECT all = rect(0, 0, 100, 100);
    EXPECT_FALSE(SubtractRect(&out, &r, &all));

    RECT g = r;
    InflateRect(&g, 10, -5);
    EXPECT_TRUE(same(g, rect(0, 25, 40, 35)));
    OffsetRect(&g, -1, 2);
    EXPECT_TRUE(same(g, rect(-1, 27, 39, 37)));
    RECT huge = rect(0, 0, 0x7FFFFFF0, 10);
    OffsetRect(&huge, 100, 0);  // saturates instead of wrapping
    EXPECT_EQ(huge.right, 0x7FFFFFFF);
    SetRectEmpty(&g);
    EXPECT_TRUE(IsRectEmpty(&g));
    EXPECT_TRUE(CopyRect(&g, &r));
    EXPECT_TRUE(same(g, r));
    EXPECT_FALSE(CopyRect(nullptr, &r));
}
