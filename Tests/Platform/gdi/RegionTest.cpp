// Regions: set operations on the rectangle lists, and the HRGN calls built on them.
#include <gtest/gtest.h>
#include <wingdi.h>

#include "gdi/Region.h"

namespace {

using platform::Region;

int64_t area(const Region& r) {
    int64_t total = 0;
    for (const RECT& rect : r.rects()) {
        total += int64_t{rect.right - rect.left} * (rect.bottom - rect.top);
    }
    return total;
}

bool rectanglesOverlap(const Region& r) {
    const auto& v = r.rects();
    for (size_t i = 0; i < v.size(); ++i) {
        for (size_t j = i + 1; j < v.size(); ++j) {
            if (!platform::isEmptyRect(platform::intersectRects(v[i], v[j]))) {
                return true;
            }
        }
    }
    return false;
}

TEST(Region, SubtractingAHoleLeavesAFrameAroundIt) {
    Region r(RECT{0, 0, 10, 10});
    r.subtract(RECT{3, 3, 7, 7});
    EXPECT_EQ(area(r), 100 - 16);
    EXPECT_FALSE(rectanglesOverlap(r));
    EXPECT_TRUE(r.contains(0, 0));
    EXPECT_TRUE(r.contains(2, 5));
    EXPECT_FALSE(r.contains(3, 3));
    EXPECT_FALSE(r.contains(6, 6));
    EXPECT_TRUE(r.contains(7, 7));
    EXPECT_FALSE(r.contains(10, 5));  // right edge is exclusive
    RECT b = r.bounds();
    EXPECT_EQ(b.left, 0);
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(b.right, 10);
    EXPECT_EQ(b.bottom, 10);
}

TEST(Region, UnionOfOverlappingRectanglesCountsSharedPixelsOnce) {
    Region r(RECT{0, 0, 10, 10});
    r.unite(RECT{5, 5, 15, 15});
    EXPECT_EQ(area(r), 100 + 100 - 25);
    EXPECT_FALSE(rectanglesOverlap(r));
    r.unite(RECT{2, 2, 4, 4});  // already covered
    EXPECT_EQ(area(r), 175);
    EXPECT_TRUE(r.contains(14, 14));
    EXPECT_FALSE(r.contains(14, 0));
}

TEST(Region, IntersectOffsetAndEmptiness) {
    Region r(RECT{0, 0, 10, 10});
    r.subtract(RECT{0, 0, 5, 10});
    Region other(RECT{3, 3, 8, 8});
    r.intersect(other);
    EXPECT_EQ(area(r), 3 * 5);
    r.offset(100, -3);
    EXPECT_TRUE(r.contains(105, 0));
    EXPECT_FALSE(r.contains(5, 3));
    r.intersect(RECT{0, 0, 1, 1});
    EXPECT_TRUE(r.isEmpty());
    EXPECT_EQ(r.bounds().right, 0);
    Region inverted(RECT{5, 5, 1, 1});
    EXPECT_TRUE(inverted.isEmpty());
}

TEST(Region, ExclusiveOrKeepsWhatOnlyOneSideHas) {
    Region a(RECT{0, 0, 10, 10});
    Region b(RECT{5, 0, 15, 10});
    a.exclusiveOr(b);
    EXPECT_EQ(area(a), 100);
    EXPECT_TRUE(a.contains(0, 0));
    EXPECT_FALSE(a.contains(7, 5));
    EXPECT_TRUE(a.contains(14, 9));
    Region expected(RECT{0, 0, 5, 10});
    expected.unite(RECT{10, 0, 15, 10});
    EXPECT_TRUE(a.sameArea(expected));
}

TEST(Region, HugeOffsetsPushRectanglesOutOfReachWithoutOverflow) {
    Region r(RECT{0, 0, 10, 10});
    r.offset(2000000000, 2000000000);
    EXPECT_TRUE(r.isEmpty());
    Region e = Region::everything();
    e.offset(-1000, 0);
    EXPECT_TRUE(e.contains(0, 0));
    EXPECT_TRUE(e.contains(-(1 << 27), 1 << 27));
}

TEST(RegionHandles, CombineRgnReportsTheResultingKind) {
    HRGN a = CreateRectRgn(0, 0, 10, 10);
    HRGN b = CreateRectRgn(10, 0, 20, 10);
    HRGN d = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(d, a, b, RGN_AND), NULLREGION);
    EXPECT_EQ(CombineRgn(d, a, b, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(d, 15, 5));
    RECT box{};
    EXPECT_EQ(GetRgnBox(d, &box), COMPLEXREGION);
    EXPECT_EQ(box.right, 20);
    EXPECT_EQ(CombineRgn(d, d, b, RGN_DIFF), SIMPLEREGION);
    EXPECT_FALSE(PtInRegion(d, 15, 5));
    EXPECT_TRUE(EqualRgn(d, a));
    EXPECT_EQ(CombineRgn(d, b, nullptr, RGN_COPY), SIMPLEREGION);
    EXPECT_TRUE(EqualRgn(d, b));
    EXPECT_EQ(OffsetRgn(d, -10, 0), SIMPLEREGION);
    EXPECT_TRUE(EqualRgn(d, a));
    EXPECT_TRUE(SetRectRgn(d, 5, 5, 1, 1));  // corners in any order
    EXPECT_TRUE(PtInRegion(d, 1, 1));
    EXPECT_EQ(CombineRgn(d, a, b, 99), ERROR);
    EXPECT_EQ(CombineRgn(d, a, reinterpret_cast<HRGN>(0x1234), RGN_OR), ERROR);
    for (HRGN r : {a, b, d}) {
        EXPECT_TRUE(DeleteObject(r));
    }
    EXPECT_FALSE(PtInRegion(a, 1, 1));
    EXPECT_EQ(GetRgnBox(a, &box), ERROR);
}

}  // namespace
