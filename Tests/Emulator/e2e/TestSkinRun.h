// kvemu with a skin of the test's own: the device folder provisioned, then "CurSkin" pointed at
// the skin "Test", whose file in the skins folder the test writes with the skin builder (or
// leaves missing).
#pragma once

#include <device/FileSystem.h>

#include <fstream>
#include <string>
#include <vector>

#include "KvemuRun.h"
#include "SkinBuilder.h"

class TestSkinKvemuTest : public KvemuTest {
protected:
    void useTestSkin(const std::string& options = "") {
        ASSERT_EQ(run("print-sip\n", options).status, 0);
        std::string registry = slurp(device() / "registry.reg");
        const size_t at = registry.find("\"CurSkin\"=");
        ASSERT_NE(at, std::string::npos);
        registry.replace(at, registry.find('\n', at) - at, "\"CurSkin\"=\"Test\"");
        std::ofstream(device() / "registry.reg", std::ios::binary) << registry;
        device::setDeviceRoot(device() / "root");
    }
    std::filesystem::path testSkinFile() const {
        return device() / "root" / "Program Files" / "Kelvo" / "Skins" / "Test.ksk";
    }
    // The layouts of the upright 240-pixel screen class.
    void writeTestSkin(std::vector<skintest::Layout> layouts) {
        skintest::Skin skin;
        skin.classes[u"P"] = std::move(layouts);
        ASSERT_TRUE(skintest::writeSkin(u"\\Program Files\\Kelvo\\Skins\\Test.ksk", skin));
    }
};
