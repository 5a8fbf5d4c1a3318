// The panel's painting on the device screen: the picture, the pushed piece of a pressed key,
// the stroke previews, frames one or two pixels wide, latched modifiers, the picture's margins
// and keys whose rectangles no screen holds.
#include <climits>

#include "PaintSupport.h"
#include "PatternPicture.h"
#include "TypingLayouts.h"
#include "panel/PanelPaint.h"

using namespace skintest;
using painttest::PanelPixels;
using PanelPaint = PanelTest;

namespace {

constexpr COLORREF kRedFrame = 0x000000FF;  // as a colour reference: red
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kMarginGrey = 0x808080;

Layout withPattern(Layout layout, uint8_t tint = 0) {
    layout.picture = patternPicture(layout.width, layout.height, tint);
    return layout;
}

}  // namespace

TEST_F(PanelPaint, PictureAndLatchedModifierFrameReachTheScreen) {
    Skin skin;
    skin.frameColor = kRedFrame;
    skin.classes[u"P"] = {typingLayout()};
    writeSkin(skin);
    createPanel();
    UpdateWindow(panelWindow());
    EXPECT_EQ(PanelPixels(panelWindow()).at(5, 5), 0xC0C0C0u);
    tap(60, 60);  // Control latches: its key (40, 40, 80, 80) gets a frame
    UpdateWindow(panelWindow());
    PanelPixels latched(panelWindow());
    EXPECT_EQ(latched.at(50, 41), kRed);
    EXPECT_EQ(latched.at(79, 60), kRed);
    EXPECT_EQ(latched.at(60, 60), 0xC0C0C0u);
    tap(60, 60);  // released: no frame
    UpdateWindow(panelWindow());
    EXPECT_EQ(PanelPixels(panelWindow()).at(50, 41), 0xC0C0C0u);
}

TEST_F(PanelPaint, PressedKeyShowsItsPieceOnePixelRightAndDownWithoutFrame) {
    Layout layout;
    layout.rows = {{charKey(u'a', 0x41, rect(10, 20, 40, 50))}};
    Skin skin;
    skin.frameColor = kRedFrame;
    skin.classes[u"P"] = {withPattern(layout)};
    writeSkin(skin);
    createPanel();
    down(25, 35);
    UpdateWindow(panelWindow());
    PanelPixels p(panelWindow());
    // The picture's (10, 20)-(38, 48) piece at (11, 21): 29 by 29 pixels.
    for (int j = 0; j < 29; ++j)
        for (int i = 0; i < 29; ++i)
            ASSERT_EQ(p.at(11 + i, 21 + j), patternColour(10 + i, 20 + j)) << i << "," << j;
    // Column 10 and row 20 keep the normal picture, and so does everything around.
    for (int k = 0; k < 30; ++k) {
        EXPECT_EQ(p.at(10, 20 + k), patternColour(10, 20 + k));
        EXPECT_EQ(p.at(10 + k, 20), patternColour(10 + k, 20));
    }
    EXPECT_EQ(p.at(40, 30), patternColour(40, 30));
    EXPECT_EQ(p.at(30, 50), patternColour(30, 50));
    up(25, 35);
    UpdateWindow(panelWindow());
    EXPECT_EQ(PanelPixels(panelWindow()).at(20, 30), patternColour(20, 30));
}

TEST_F(PanelPaint, UpStrokePreviewShowsTheAlternatePiecePushedAndFramed) {
    Layout primary;
    primary.alt = 1;
    primary.rows = {{charKey(u'a', 0x41, rect(40, 0, 80, 40)),
                     Key{KF_OUTPUT | KF_ONESHOT, u'b', 0x42, rect(80, 0, 120, 40)}}};
    Layout alternate;
    alternate.rows = {
        {charKey(u'A', 0x41, rect(40, 0, 80, 40)), charKey(u'B', 0x42, rect(80, 0, 120, 40))}};
    Skin skin;
    skin.frameColor = kRedFrame;
    skin.classes[u"P"] = {withPattern(primary), withPattern(alternate, 128)};
    writeSkin(skin);
    createPanel();

    down(60, 20);
    move(60, -40);
    ASSERT_EQ(panel->gesture, kGestureUp);
    UpdateWindow(panelWindow());
    PanelPixels p(panelWindow());
    EXPECT_EQ(p.at(50, 10), patternColour(49, 9, 128));
    EXPECT_EQ(p.at(42, 2), patternColour(41, 1, 128));
    for (int k = 1; k < 40; ++k) {
        EXPECT_EQ(p.at(41, k), kRed);
        EXPECT_EQ(p.at(79, k), kRed);
        EXPECT_EQ(p.at(40 + k, 1), kRed);
        EXPECT_EQ(p.at(40 + k, 39), kRed);
    }
    EXPECT_EQ(p.at(40, 20), patternColour(40, 20));
    up(60, -40);

    // A key with more than KF_OUTPUT shows nothing for the stroke.
    down(100, 20);
    move(100, -40);
    ASSERT_EQ(panel->gesture, kGestureUp);
    UpdateWindow(panelWindow());
    PanelPixels none(panelWindow());
    for (int y = 0; y < 40; ++y)
        for (int x = 80; x < 120; ++x)
            ASSERT_EQ(none.at(x, y), patternColour(x, y)) << x << "," << y;
}

TEST_F(PanelPaint, SideStrokePreviewsShowTheKeyTheStrokeWouldStrike) {
    // Row 1 holds the stroke keys: right (a space), down (a return) and left (a backspace).
    Layout primary;
    primary.alt = 1;
    primary.rightRow = 1, primary.rightCol = 0;
    primary.downRow = 1, primary.downCol = 1;
    primary.leftRow = 1, primary.leftCol = 2;
    primary.rows = {
        {charKey(u'a', 0x41, rect(80, 0, 120, 40))},
        {charKey(u' ', 0x20, rect(0, 40, 40, 80)), Key{KF_OUTPUT, 0, 0x0D, rect(40, 40, 80, 80)},
         Key{KF_OUTPUT, 8, 0x08, rect(160, 40, 200, 80)}}};
    Layout alternate = primary;
    alternate.alt = -1;
    Layout noBackspace = primary;  // its left key types a character instead
    noBackspace.rows[1][2] = charKey(u'x', 0x58, rect(160, 40, 200, 80));
    Skin skin;
    skin.frameColor = kRedFrame;
    skin.classes[u"P"] = {withPattern(primary), withPattern(alternate, 128),
                          withPattern(noBackspace)};
    writeSkin(skin);
    createPanel();

    auto strokeFromA = [&](int x, int y, SHORT expected) {
        down(100, 20);
        move(x, y);
        EXPECT_EQ(panel->gesture, expected);
        UpdateWindow(panelWindow());
        PanelPixels p(panelWindow());
        up(100, 20);  // back on the key: a tap ends the stroke
        calls().clear();
        return p;
    };
    PanelPixels right = strokeFromA(200, 20, kGestureRight);
    EXPECT_EQ(right.at(20, 60), patternColour(19, 59));
    EXPECT_EQ(right.at(1, 60), kRed);
    EXPECT_EQ(right.at(100, 20), patternColour(100, 20));  // the struck key itself is not shown
    PanelPixels downward = strokeFromA(100, 79, kGestureDown);
    EXPECT_EQ(downward.at(60, 60), patternColour(59, 59));
    EXPECT_EQ(downward.at(41, 60), kRed);
    // Backspace, the left key, shows its own piece even though the layout has an alternate.
    PanelPixels left = strokeFromA(20, 20, kGestureLeft);
    EXPECT_EQ(left.at(180, 60), patternColour(179, 59));
    EXPECT_EQ(left.at(161, 60), kRed);

    // Any other left key on a layout with an alternate shows the alternate's piece.
    panel->SwitchLayout(2);
    PanelPixels other = strokeFromA(20, 20, kGestureLeft);
    EXPECT_EQ(other.at(180, 60), patternColour(179, 59, 128));
    EXPECT_EQ(other.at(161, 60), kRed);
}

TEST_F(PanelPaint, TwoLatchedModifiersStayPushedAndFramedWhileAKeyIsHeld) {
    Skin skin;
    skin.frameColor = kRedFrame;
    skin.classes[u"P"] = {withPattern(typingLayout())};
    writeSkin(skin);
    createPanel();
    tap(60, 60);   // Control, slot 3: (40, 40, 80, 80)
    tap(100, 60);  // slot 4: (80, 40, 120, 80)
    down(20, 20);  // 'a' held: (0, 0, 40, 40)
    UpdateWindow(panelWindow());
    PanelPixels p(panelWindow());
    for (int left : {40, 80}) {
        EXPECT_EQ(p.at(left + 10, 50), patternColour(left + 9, 49));
        EXPECT_EQ(p.at(left + 1, 60), kRed);
        EXPECT_EQ(p.at(left + 2, 60), patternColour(left + 1, 59));  // one pixel wide
        EXPECT_EQ(p.at(left + 39, 60), kRed);
        EXPECT_EQ(p.at(left + 20, 41), kRed);
        EXPECT_EQ(p.at(left + 20, 79), kRed);
        EXPECT_EQ(p.at(left, 60), patternColour(left, 60));
    }
    EXPECT_EQ(p.at(20, 20), patternColour(19, 19));
    EXPECT_EQ(p.at(1, 20), patternColour(0, 19));  // the held key has no frame
}

TEST_F(PanelPaint, FramesAreTwoPixelsWideOnScreensWiderThan400Pixels) {
    host.reset();
    ASSERT_TRUE(device::setScreenSize(480, 640));
    host = std::make_unique<TestInputPanelHost>(80);
    Layout layout;
    layout.width = 480;
    layout.rows = {{Key{0x3000 | kLatching, 0, 0x11, rect(40, 0, 80, 40)}}};
    Skin skin;
    skin.frameColor = kRedFrame;
    skin.classes[u"PH"] = {withPattern(layout)};
    writeSkin(skin);
    createPanel();
    ASSERT_EQ(panel->scale, 2);
    tap(60, 20);
    UpdateWindow(panelWindow());
    PanelPixels p(panelWindow());
    for (int x : {41, 42, 78, 79})
        EXPECT_EQ(p.at(x, 20), kRed) << x;
    for (int y : {1, 2, 38, 39})
        EXPECT_EQ(p.at(60, y), kRed) << y;
    EXPECT_EQ(p.at(43, 20), patternColour(42, 19));
    EXPECT_EQ(p.at(77, 20), patternColour(76, 19));
    EXPECT_EQ(p.at(60, 3), patternColour(59, 2));
}

TEST_F(PanelPaint, WhatThePictureDoesNotCoverIsGrey) {
    Layout small;
    small.picture = bmpPicture(200, 60, 0xE0E0E0);
    small.rows = {{Key{0x3000 | kLatching, 0, 0x11, rect(0, 0, 40, 40)}}};
    Layout bare = small;
    bare.picture.clear();
    bare.rows[0].push_back(Key{KF_GOTO, 0, 0, rect(40, 0, 80, 40)});
    small.rows[0].push_back(Key{KF_GOTO, 1, 0, rect(40, 0, 80, 40)});
    Skin skin;
    skin.frameColor = kRedFrame;
    skin.classes[u"P"] = {small, bare};
    writeSkin(skin);
    createPanel();
    UpdateWindow(panelWindow());
    PanelPixels p(panelWindow());
    EXPECT_EQ(p.at(199, 59), 0xE0E0E0u);
    EXPECT_EQ(p.at(200, 10), kMarginGrey);
    EXPECT_EQ(p.at(239, 79), kMarginGrey);
    EXPECT_EQ(p.at(10, 60), kMarginGrey);

    // A layout without a picture is grey; its latched modifier is still framed.
    tap(60, 20);
    ASSERT_EQ(panel->layout->index, 1);
    tap(20, 20);
    UpdateWindow(panelWindow());
    PanelPixels bareScreen(panelWindow());
    EXPECT_EQ(bareScreen.at(20, 20), kMarginGrey);
    EXPECT_EQ(bareScreen.at(220, 70), kMarginGrey);
    EXPECT_EQ(bareScreen.at(1, 20), kRed);
}

TEST_F(PanelPaint, KeysBeyondAnyScreenAreNotDrawn) {
    Skin skin;
    skin.frameColor = kRedFrame;
    skin.classes[u"P"] = {withPattern(typingLayout())};
    writeSkin(skin);
    createPanel();
    // Rectangles are skin data: the widest ones and turned-over ones draw nothing.
    panel->layout->keys[0][0].rect = RECT{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    panel->layout->keys[1][1].rect = RECT{INT_MAX - 1, 10, INT_MAX, 20};
    panel->layout->keys[1][2].rect = RECT{100, 60, 90, 50};
    panel->pressedKey = &panel->layout->keys[0][0];
    panel->gesture = kGestureTap;
    panel->latched[2] = 1;
    panel->latched[3] = 1;
    panel->Invalidate(FALSE);
    UpdateWindow(panelWindow());
    PanelPixels p(panelWindow());
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 240; ++x)
            ASSERT_EQ(p.at(x, y), patternColour(x, y)) << x << "," << y;
}

TEST(LabelFont, HeightIsFiveEighthsOfTheFirstKeyWithinAScreen) {
    EXPECT_EQ(labelFontHeight(20), -12);
    EXPECT_EQ(labelFontHeight(21), -13);
    EXPECT_EQ(labelFontHeight(0), 0);
    EXPECT_EQ(labelFontHeight(int64_t{INT_MAX} - INT_MIN), -2560);
    EXPECT_EQ(labelFontHeight(-20), 12);
}
