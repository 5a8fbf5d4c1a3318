// The window's change detection and key table, without a display: the changed rectangle of two
// screen copies, and host keys as device keys and window commands.
#include <gtest/gtest.h>
#include <winuser.h>

#include "frontend/ScreenDiff.h"
#include "frontend/SdlKeys.h"

namespace {

device::ScreenImage screen(int width, int height, uint32_t fill = 0) {
    device::ScreenImage s;
    s.width = width;
    s.height = height;
    s.pixels.assign(static_cast<size_t>(width * height), fill);
    return s;
}

void set(device::ScreenImage& s, int x, int y, uint32_t colour) {
    s.pixels[static_cast<size_t>(y * s.width + x)] = colour;
}

}  // namespace

TEST(ScreenDiff, TheChangedRectangleHoldsExactlyTheChangedPixels) {
    const device::ScreenImage before = screen(240, 320);
    device::ScreenImage after = before;
    EXPECT_FALSE(changedRect(before, after).has_value());

    set(after, 17, 40, 0xFFFFFF);
    EXPECT_EQ(changedRect(before, after), (ScreenRect{17, 40, 1, 1}));

    // Two far corners: their rows and columns bound the rectangle, whatever lies between.
    set(after, 3, 200, 0x123456);
    set(after, 239, 90, 0x654321);
    EXPECT_EQ(changedRect(before, after), (ScreenRect{3, 40, 237, 161}));

    set(after, 0, 0, 1);
    set(after, 239, 319, 1);
    EXPECT_EQ(changedRect(before, after), (ScreenRect{0, 0, 240, 320}));
}

TEST(ScreenDiff, ANewSizeIsAllNewAndAnEmptyOrShortCopyIsNothing) {
    EXPECT_EQ(changedRect(screen(240, 320), screen(320, 240)), (ScreenRect{0, 0, 320, 240}));
    EXPECT_FALSE(changedRect(screen(240, 320), screen(0, 0)).has_value());
    device::ScreenImage shortCopy = screen(10, 10);
    shortCopy.pixels.resize(50);  // fewer pixels than its size says: never read past them
    EXPECT_FALSE(changedRect(screen(10, 10), shortCopy).has_value());
    EXPECT_EQ(changedRect(shortCopy, screen(10, 10, 7)), (ScreenRect{0, 0, 10, 10}));
}

TEST(SdlKeys, HostKeysAreTheDeviceKeysAndFunctionKeysAreTheWindowsCommands) {
    EXPECT_EQ(virtualKeyOf(SDLK_a), static_cast<UINT>('A'));
    EXPECT_EQ(virtualKeyOf(SDLK_z), static_cast<UINT>('Z'));
    EXPECT_EQ(virtualKeyOf(SDLK_0), static_cast<UINT>('0'));
    EXPECT_EQ(virtualKeyOf(SDLK_BACKSPACE), static_cast<UINT>(VK_BACK));
    EXPECT_EQ(virtualKeyOf(SDLK_RETURN), static_cast<UINT>(VK_RETURN));
    EXPECT_EQ(virtualKeyOf(SDLK_KP_ENTER), static_cast<UINT>(VK_RETURN));
    EXPECT_EQ(virtualKeyOf(SDLK_RSHIFT), static_cast<UINT>(VK_SHIFT));
    EXPECT_EQ(virtualKeyOf(SDLK_LCTRL), static_cast<UINT>(VK_CONTROL));
    EXPECT_EQ(virtualKeyOf(SDLK_DELETE), static_cast<UINT>(VK_DELETE));
    EXPECT_EQ(virtualKeyOf(SDLK_PAGEDOWN), static_cast<UINT>(VK_NEXT));
    EXPECT_EQ(virtualKeyOf(SDLK_KP_0), static_cast<UINT>(VK_NUMPAD0));
    EXPECT_EQ(virtualKeyOf(SDLK_KP_9), static_cast<UINT>(VK_NUMPAD9));
    EXPECT_EQ(virtualKeyOf(SDLK_F12), static_cast<UINT>(VK_F12));
    EXPECT_EQ(virtualKeyOf(SDLK_QUOTE), static_cast<UINT>(VK_OEM_7));
    EXPECT_EQ(virtualKeyOf(SDLK_PRINTSCREEN), 0u);
    EXPECT_EQ(virtualKeyOf(SDLK_UNKNOWN), 0u);

    EXPECT_EQ(windowCommandOf(SDLK_F5), WindowCommand::Rotate);
    EXPECT_EQ(windowCommandOf(SDLK_F6), WindowCommand::Screenshot);
    EXPECT_EQ(windowCommandOf(SDLK_F9), WindowCommand::ToggleInputPanel);
    EXPECT_EQ(windowCommandOf(SDLK_F4), WindowCommand::None);
    EXPECT_EQ(windowCommandOf(SDLK_a), WindowCommand::None);
}
