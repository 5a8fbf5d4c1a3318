// What the face screenshots share: the built default skin's face of a kind when it has one
// (else the layout the test writes), and the screen saved as a PNG below the build folder.
#pragma once

#include <device/Screen.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "PanelFixture.h"

class FaceScreenshotTest : public PanelTest {
protected:
    // Shows the first face of the built default skin whose flags include `flag`. False when
    // the skin is not built or has no such face: then no panel is up and the current skin is
    // "Test" again, for a layout the test writes.
    bool showDefaultSkinFace(WORD flag) {
        const std::filesystem::path defaultSkin = KELVO_DEFAULT_SKIN;
        if (std::filesystem::exists(defaultSkin)) {
            installBuiltSkin(defaultSkin);
            createPanel();
            if (showFirstLayoutWith(flag))
                return true;
            panel.reset();
            UnregisterClassW(kPanelClassName, GetModuleHandleW(nullptr));
        }
        setRegistryText(u"CurSkin", u"Test");
        return false;
    }

    // Paints the SIP window and the panel, then saves the screen as `name` in the build's
    // screenshots folder.
    void saveScreenshot(const std::string& name) {
        UpdateWindow(host->sipWindow());
        UpdateWindow(panelWindow());
        const std::filesystem::path folder = KELVO_SCREENSHOT_DIR;
        std::filesystem::create_directories(folder);
        ASSERT_TRUE(device::saveScreenPng(folder / name));
        std::cout << "screenshot: " << (folder / name).string() << "\n";
    }
};
