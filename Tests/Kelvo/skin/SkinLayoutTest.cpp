// The skin model: the hit test, keys by row and column, alternate and gesture keys, and the
// geometry of the message face.
#include <gtest/gtest.h>

#include "skin/SkinLayout.h"

namespace {

void setKey(SkinLayout& layout, int r, int k, RECT rect, WORD flags = KF_OUTPUT) {
    layout.keys[r][k].rect = rect;
    layout.keys[r][k].flags = flags;
    layout.keys[r][k].row = static_cast<BYTE>(r);
    layout.keys[r][k].col = static_cast<BYTE>(k);
}

// Row 0: two keys (0..50, 60..100) 0..20 high; row 1: one wide key 0..200, 20..40.
std::unique_ptr<SkinLayout> twoRows() {
    auto layout = std::make_unique<SkinLayout>();
    layout->rowCount = 2;
    layout->rowKeyCount = {2, 1};
    setKey(*layout, 0, 0, {0, 0, 50, 20});
    setKey(*layout, 0, 1, {60, 0, 100, 20});
    setKey(*layout, 1, 0, {0, 20, 200, 40});
    return layout;
}

}  // namespace

TEST(SkinLayoutModel, FreshLayoutHasNothing) {
    auto layout = std::make_unique<SkinLayout>();
    EXPECT_EQ(layout->index, -1);
    EXPECT_EQ(layout->altIndex, -1);
    EXPECT_EQ(layout->rowCount, 0);
    EXPECT_EQ(layout->bitmap, nullptr);
    EXPECT_EQ(layout->keyAt(0, 0), nullptr);
}

TEST(SkinLayoutModel, HitTestComparesRowBottomsAndRightEdges) {
    auto layout = twoRows();
    EXPECT_EQ(layout->keyAt(10, 10), &layout->keys[0][0]);
    EXPECT_EQ(layout->keyAt(55, 10), &layout->keys[0][1]);  // a gap belongs to the key on its right
    EXPECT_EQ(layout->keyAt(10, -30), &layout->keys[0][0]);  // above the row counts as inside it
    EXPECT_EQ(layout->keyAt(150, 10), &layout->keys[1][0]);  // right of row 0: the lower row's key
    EXPECT_EQ(layout->keyAt(250, 10), nullptr);
    EXPECT_EQ(layout->keyAt(10, 40), nullptr);              // bottom edges are outside
    EXPECT_EQ(layout->keyAt(50, 10), &layout->keys[0][1]);  // right edges too
}

TEST(SkinLayoutModel, KeysByRowAndColumnStayInsideTheTable) {
    auto layout = twoRows();
    EXPECT_EQ(layout->keyAtRowCol(0, 1), &layout->keys[0][1]);
    EXPECT_EQ(layout->keyAtRowCol(1, 1), nullptr);
    EXPECT_EQ(layout->keyAtRowCol(2, 0), nullptr);
    EXPECT_EQ(layout->keyAtRowCol(-1, 0), nullptr);
    EXPECT_EQ(layout->keyAtRowCol(0, -1), nullptr);
    layout->rowCount = 40;  // never trusted beyond the table
    layout->rowKeyCount[0] = 200;
    EXPECT_EQ(layout->keyAtRowCol(6, 0), nullptr);
    EXPECT_EQ(layout->keyAtRowCol(0, 30), nullptr);
    EXPECT_EQ(layout->keyAt(1000, 10), nullptr);
}

TEST(SkinLayoutModel, AlternateAndGestureKeys) {
    auto layout = twoRows();
    auto alt = twoRows();
    layout->downKey = &layout->keys[1][0];
    EXPECT_EQ(alternateKey(*layout, alt.get(), layout->keys[0][1]), nullptr);  // no alternate named
    layout->altIndex = 1;
    EXPECT_EQ(alternateKey(*layout, alt.get(), layout->keys[0][1]), &alt->keys[0][1]);
    alt->rowKeyCount[0] = 1;
    EXPECT_EQ(alternateKey(*layout, alt.get(), layout->keys[0][1]), nullptr);
    EXPECT_EQ(gestureKey(*layout, alt.get(), layout->keys[0][0], 1), &alt->keys[0][0]);
    EXPECT_EQ(gestureKey(*layout, alt.get(), layout->keys[0][0], 3), &layout->keys[1][0]);
    EXPECT_EQ(gestureKey(*layout, alt.get(), layout->keys[0][0], 2), nullptr);
    EXPECT_EQ(alternateKey(*layout, nullptr, layout->keys[0][0]), nullptr);
}

TEST(SkinLayoutModel, MessageFaceKeyGeometryFollowsTheScreenScale) {
    HDC dc = CreateCompatibleDC(nullptr);
    auto small = twoRows();
    small->width = 240;
    small->height = 80;
    small->altIndex = 3;
    small->downKey = &small->keys[1][0];
    makeMessageLayout(*small, dc, u"text", TryAgain::Yes, 240);
    EXPECT_EQ(small->flags, LF_MESSAGE);
    EXPECT_EQ(small->index, 0);
    EXPECT_EQ(small->altIndex, -1);
    EXPECT_EQ(small->downKey, nullptr);
    ASSERT_EQ(small->rowCount, 1);
    EXPECT_EQ(small->rowKeyCount[0], 1);
    EXPECT_EQ(small->rowKeyCount[1], 0);
    EXPECT_EQ(small->keys[0][0].flags, KF_GOTO);
    EXPECT_EQ(small->keys[0][0].param, 0);
    RECT grown{139, 59, 236, 76};
    EXPECT_TRUE(EqualRect(&small->keys[0][0].rect, &grown));
    EXPECT_NE(small->bitmap, nullptr);

    auto large = std::make_unique<SkinLayout>();
    large->width = 480;
    large->height = 160;
    makeMessageLayout(*large, dc, u"text", TryAgain::Yes, 480);
    RECT expected{279, 119, 471, 151};  // (280, 120, 470, 150) grown by one
    EXPECT_TRUE(EqualRect(&large->keys[0][0].rect, &expected));

    auto plain = std::make_unique<SkinLayout>();
    plain->width = 100;
    plain->height = 40;
    makeMessageLayout(*plain, dc, u"text", TryAgain::No, 240);
    EXPECT_EQ(plain->rowCount, 0);
    EXPECT_EQ(plain->keyAt(50, 20), nullptr);
    // The picture is white inside with a black line along the top.
    HGDIOBJ old = SelectObject(dc, plain->bitmap);
    EXPECT_EQ(GetPixel(dc, 50, 0), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, 2, 20), RGB(255, 255, 255));
    SelectObject(dc, old);
    DeleteDC(dc);
}

TEST(SkinLayoutModel, TryAgainKeyHoldsItsLabelAndSuitsAStylusOnEveryFace) {
    HDC dc = CreateCompatibleDC(nullptr);
    struct Face {
        int width, height, screenWidth;
    };
    // The face of a narrow SIP window on a wide screen, tall and short faces.
    for (const Face face : {Face{240, 80, 240}, Face{480, 80, 480}, Face{480, 160, 480},
                            Face{240, 160, 240}, Face{320, 60, 320}, Face{640, 40, 640}}) {
        SCOPED_TRACE(std::to_string(face.width) + "x" + std::to_string(face.height));
        SkinLayout layout;
        layout.width = face.width;
        layout.height = face.height;
        makeMessageLayout(layout, dc, u"", TryAgain::Yes, face.screenWidth);
        const int s = face.screenWidth > 400 ? 2 : 1;
        RECT frame = layout.keys[0][0].rect;
        InflateRect(&frame, -1, -1);  // the frame drawn, before the key grew
        EXPECT_GE(frame.bottom - frame.top, 15 * s);
        EXPECT_GE(frame.right - frame.left, 95 * s);
        EXPECT_EQ(frame.right, face.width - 5 * s);
        EXPECT_EQ(frame.bottom, face.height - 5 * s);
        // Every black pixel off the face's top and bottom lines is the frame or its label.
        HGDIOBJ old = SelectObject(dc, layout.bitmap);
        int outside = 0, inside = 0;
        for (int y = 1; y < face.height - 1; ++y) {
            for (int x = 0; x < face.width; ++x) {
                if (GetPixel(dc, x, y) == RGB(255, 255, 255))
                    continue;
                POINT p{x, y};
                ++(PtInRect(&frame, p) ? inside : outside);
            }
        }
        SelectObject(dc, old);
        EXPECT_EQ(outside, 0);
        EXPECT_GT(inside, 0);
    }
    DeleteDC(dc);
}
