// kvskin keys prints a layout's key table in its fixed tab-separated form; kvskin render
// writes the layout's decoded picture, with the key rectangles outlined on request.
#include <DeviceTest.h>
#include <gtest/gtest.h>

#include "KvskinTestSupport.h"
#include "SkinBuilder.h"
#include "skin/SkinLayout.h"

using namespace kvskintest;
using skintest::Key;
using skintest::Layout;

namespace {

class KvskinKeys : public DeviceTest {
protected:
    std::string writeTestSkin() {
        Layout first;
        first.picture = skintest::bmpPicture(240, 80, 0x808080);
        first.alt = 1;
        first.leftRow = 0;
        first.leftCol = 1;
        first.rows = {{skintest::charKey(0x0628, 0x46, {0, 0, 120, 40}),
                       Key{KF_OUTPUT, 8, 8, {120, 0, 240, 40}}},
                      {Key{0x2000 | KF_ONESHOT | KF_GOTO, 1, 0x10, {0, 40, 240, 80}}}};
        Layout second = first;
        second.alt = -1;
        second.flags = LF_RELEASE_ON_LEAVE;
        second.leftRow = -1;
        skintest::Skin skin;
        skin.classes[u"P"] = {first, second};
        EXPECT_TRUE(skintest::writeSkin(u"\\Keys.ksk", skin));
        return quoted(hostPath(u"\\Keys.ksk"));
    }
};

// Width and height from a PNG file's header.
std::pair<uint32_t, uint32_t> pngSize(const std::string& png) {
    auto be = [&](size_t at) {
        return (uint32_t(uint8_t(png[at])) << 24) | (uint32_t(uint8_t(png[at + 1])) << 16) |
               (uint32_t(uint8_t(png[at + 2])) << 8) | uint32_t(uint8_t(png[at + 3]));
    };
    if (png.size() < 24 || png.compare(1, 3, "PNG") != 0)
        return {0, 0};
    return {be(16), be(20)};
}

}  // namespace

TEST_F(KvskinKeys, TheKeyTableIsTabSeparatedUnderItsHeader) {
    const std::string file = writeTestSkin();
    ToolRun first = runKvskin(m_root, "keys " + file + " --screen 240x320 --layout 0");
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out,
              "# class P layout 0 size 240 80\n"
              "# flags 0 0x0000\n"
              "# alternate 1\n"
              "# down none\n"
              "# right none\n"
              "# left 0 1\n"
              "row\tcol\tflags\tparam\tvk\tleft\ttop\tright\tbottom\n"
              "0\t0\t1 0x0001\t1576 0x0628\t70\t0\t0\t120\t40\n"
              "0\t1\t1 0x0001\t8 0x0008\t8\t120\t0\t240\t40\n"
              "1\t0\t8210 0x2012\t1 0x0001\t16\t0\t40\t240\t80\n");
    ToolRun second = runKvskin(m_root, "keys " + file + " --screen 200x200 --layout 1");
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_NE(second.out.find("# flags 64 0x0040\n# alternate -1\n"), std::string::npos);

    ToolRun beyond = runKvskin(m_root, "keys " + file + " --screen 240x320 --layout 2");
    EXPECT_EQ(beyond.status, 1);
    EXPECT_NE(beyond.err.find("class P has no layout 2 (it has 2)"), std::string::npos);
    ToolRun landscape = runKvskin(m_root, "keys " + file + " --screen 320x240 --layout 0");
    EXPECT_EQ(landscape.status, 1);
    EXPECT_NE(landscape.err.find("has no class L for a 320x240 screen"), std::string::npos);
    EXPECT_EQ(runKvskin(m_root, "keys " + file + " --layout 0").status, 2);
    EXPECT_EQ(runKvskin(m_root, "keys " + file + " --screen 240x320 --layout 128").status, 2);
    EXPECT_EQ(runKvskin(m_root, "keys " + file + " --screen 0x320 --layout 0").status, 2);
}

TEST_F(KvskinKeys, RenderWritesThePictureAndOutlinesKeysOnRequest) {
    const std::string file = writeTestSkin();
    const auto plain = m_root / "plain.png";
    const auto outlined = m_root / "outlined.png";
    EXPECT_EQ(
        runKvskin(m_root, "render " + file + " --screen 240x320 --layout 0 -o " + quoted(plain))
            .status,
        0);
    EXPECT_EQ(runKvskin(m_root, "render " + file + " --screen 240x320 --layout 0 -o " +
                                    quoted(outlined) + " --keys")
                  .status,
              0);
    const std::string a = readHostFile(plain);
    const std::string b = readHostFile(outlined);
    EXPECT_EQ(pngSize(a), std::make_pair(240u, 80u));
    EXPECT_EQ(pngSize(b), std::make_pair(240u, 80u));
    EXPECT_NE(a, b);

    // A layout whose picture does not decode cannot be rendered.
    Layout broken;
    broken.picture = "junk";
    broken.rows = {{skintest::charKey(u'a', 0x41, {0, 0, 240, 80})}};
    skintest::Skin skin;
    skin.classes[u"P"] = {broken};
    ASSERT_TRUE(skintest::writeSkin(u"\\Broken.ksk", skin));
    ToolRun failed =
        runKvskin(m_root, "render " + quoted(hostPath(u"\\Broken.ksk")) +
                              " --screen 240x320 --layout 0 -o " + quoted(m_root / "broken.png"));
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.err.find("does not decode"), std::string::npos);
    EXPECT_EQ(runKvskin(m_root, "render " + file + " --screen 240x320 --layout 0").status, 2);
}
