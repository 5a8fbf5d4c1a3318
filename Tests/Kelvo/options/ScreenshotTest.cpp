// The options sheet on the device screen, at 240 x 320 and at 480 x 640, saved page by page as
// PNG files below the build folder for a person to look at (options-<page>-<size>.png). A few
// pixels are checked: the sheet and its controls fit the screen, and the skin's picture is the
// preview.
#include <device/Screen.h>

#include <filesystem>
#include <string>

#include "OptionsFixture.h"
#include "options/GeneralPage.h"
#include "options/SkinsPage.h"

namespace {

std::string sizeName() {
    return std::to_string(device::screenWidth()) + "x" + std::to_string(device::screenHeight());
}

void shoot(const std::string& page) {
    std::filesystem::create_directories(KELVO_SCREENSHOT_DIR);
    const auto file = std::filesystem::path(KELVO_SCREENSHOT_DIR) /
                      ("options-" + page + "-" + sizeName() + ".png");
    EXPECT_TRUE(device::saveScreenPng(file)) << file;
}

uint32_t pixelAt(int x, int y) {
    const device::ScreenImage screen = device::copyScreen();
    return screen.pixels[static_cast<size_t>(y * screen.width + x)];
}

// Every control of the page lies within the screen.
void expectOnScreen(HWND page) {
    for (HWND child = GetWindow(page, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        RECT r{};
        GetWindowRect(child, &r);
        EXPECT_GE(r.left, 0) << GetDlgCtrlID(child);
        EXPECT_LE(r.right, device::screenWidth()) << GetDlgCtrlID(child);
        EXPECT_LE(r.bottom, device::screenHeight()) << GetDlgCtrlID(child);
    }
}

}  // namespace

class OptionsScreens : public OptionsTest, public ::testing::WithParamInterface<SIZE> {};

TEST_P(OptionsScreens, EachPageOnTheDeviceScreen) {
    const SIZE screen = GetParam();
    ASSERT_TRUE(device::setScreenSize(screen.cx, screen.cy));
    // The device's bars above and below, as the shell leaves the work area.
    RECT work{0, 26, screen.cx, screen.cy - 26};
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0);
    const bool large = screen.cx > 400;
    const int pictureWidth = large ? 480 : 240;
    writeSkin(u"Kelvo", pictureWidth, large ? 160 : 80, {large ? u"PH" : u"P"});
    writeSkin(u"KelvoDark", pictureWidth, large ? 160 : 80, {u"L"});
    setText(u"CurSkin", u"Kelvo");
    open();
    RECT frame{};
    GetWindowRect(sheet(), &frame);
    EXPECT_EQ(frame.right, screen.cx);
    EXPECT_EQ(frame.bottom, screen.cy - 26);

    expectOnScreen(page());
    shoot("general");

    showPage(kMacrosPage);
    expectOnScreen(page());
    shoot("macros");

    showPage(kSkinsPage);
    expectOnScreen(page());
    RECT preview{};
    GetWindowRect(item(IDC_SKIN_PREVIEW), &preview);
    EXPECT_EQ(preview.right - preview.left, pictureWidth);
    EXPECT_EQ(pixelAt(preview.left + 1, preview.top + 1), kSkinGround);  // the skin's picture
    shoot("skins");
    choose(item(IDC_SKIN_LIST), 1);  // a skin without this screen's dimension
    shoot("skins-refused");
    RECT field{};
    GetWindowRect(item(IDC_SKIN_LIST), &field);
    tapScreen(field.left + 10, (field.top + field.bottom) / 2);
    shoot("skins-list");
    tapScreen(field.left + 10, (field.top + field.bottom) / 2);

    showPage(kAboutPage);
    expectOnScreen(page());
    shoot("about");
    cancel();
}

INSTANTIATE_TEST_SUITE_P(Screens, OptionsScreens, ::testing::Values(SIZE{240, 320}, SIZE{480, 640}),
                         [](const ::testing::TestParamInfo<SIZE>& info) {
                             return std::to_string(info.param.cx) + "x" +
                                    std::to_string(info.param.cy);
                         });
