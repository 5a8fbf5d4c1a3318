// The panel's painting on the device screen: the layout's picture, and the frame around a
// latched modifier; a paint right after a layout switch in mid-press draws no key.
#include <device/Screen.h>

#include "TypingLayouts.h"

using namespace skintest;
using PanelPaint = PanelTest;

namespace {

uint32_t screenPixel(int x, int y) {
    device::ScreenImage image = device::copyScreen();
    return image.pixels[static_cast<size_t>(y) * image.width + x];
}

}  // namespace

TEST_F(PanelPaint, PictureAndLatchedModifierFrameReachTheScreen) {
    Skin skin;
    skin.frameColor = 0x000000FF;  // red
    skin.classes[u"P"] = {typingLayout()};
    writeSkin(skin);
    createPanel();
    UpdateWindow(panelWindow());
    EXPECT_EQ(screenPixel(5, 245), 0xC0C0C0u);
    tap(60, 60);  // Control latches: its key (40, 40, 80, 80) gets a frame
    UpdateWindow(panelWindow());
    EXPECT_EQ(screenPixel(50, 240 + 41), 0xFF0000u);
    EXPECT_EQ(screenPixel(79, 240 + 60), 0xFF0000u);
    EXPECT_EQ(screenPixel(60, 240 + 60), 0xC0C0C0u);
    tap(60, 60);  // released: no frame
    UpdateWindow(panelWindow());
    EXPECT_EQ(screenPixel(50, 240 + 41), 0xC0C0C0u);
}
