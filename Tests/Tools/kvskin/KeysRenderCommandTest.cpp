// kvskin keys prints a layout's key table in its fixed tab-separated form; kvskin render
// writes the layout's decoded picture, with the key rectangles outlined on request; both say
// what is wrong with a file or layout in the words kvskin check uses.
#include <DeviceTest.h>
#include <EBFBytes.h>
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
    EXPECT_NE(beyond.err.find("P layout 2: it does not exist (the class has 2 layouts)"),
              std::string::npos)
        << beyond.err;
    ToolRun landscape = runKvskin(m_root, "keys " + file + " --screen 320x240 --layout 0");
    EXPECT_EQ(landscape.status, 1);
    EXPECT_NE(landscape.err.find("L: the class is missing (a 320x240 screen uses it)"),
              std::string::npos)
        << landscape.err;
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
    EXPECT_EQ(failed.err, "kvskin: " + hostPath(u"\\Broken.ksk").string() +
                              ": P layout 0: its picture does not decode to 240x80 (it is broken, "
                              "or larger than the layout)\n");
    EXPECT_EQ(runKvskin(m_root, "render " + file + " --screen 240x320 --layout 0").status, 2);
}

TEST_F(KvskinKeys, CheckKeysAndRenderSayWhatIsWrongInTheSameWords) {
    writeTestSkin();
    const std::string good = readHostFile(hostPath(u"\\Keys.ksk"));
    Layout noPicture;
    noPicture.rows = {{skintest::charKey(u'a', 0x41, {0, 0, 240, 80})}};
    Layout sevenRows = noPicture;
    sevenRows.picture = skintest::bmpPicture(240, 80, 0x808080);
    sevenRows.rows.resize(7, sevenRows.rows[0]);
    skintest::Skin rejected;
    rejected.classes[u"P"] = {noPicture, sevenRows};
    ASSERT_TRUE(skintest::writeSkin(u"\\Rejected.ksk", rejected));
    writeDeviceFile(u"\\Cut.ksk", good.substr(0, good.size() / 2));
    writeDeviceFile(u"\\Empty.ksk", "");
    writeDeviceFile(u"\\Other.ksk", ebfClass("MainClass", {ebfValue("A", "1")}));

    // The problem as check reports it, and the lines keys and render print for it.
    struct Case {
        const char16_t* file;
        int layout;
        std::string where;  // as check prints it
        std::string what;
    };
    const std::string cutSize = std::to_string(good.size() / 2);
    const Case cases[] = {
        {u"\\Cut.ksk", 0, "file",
         "it is not a well-formed container: broken item KELVO_SKIN at offset 0: its " +
             std::to_string(good.size() - 19) +
             " bytes run past the end of the file (which ends "
             "at offset " +
             cutSize + ")"},
        {u"\\Empty.ksk", 0, "file", "it is empty"},
        {u"\\Other.ksk", 0, "file", "its main class is MainClass, not KELVO_SKIN"},
        {u"\\Rejected.ksk", 0, "P layout 0", "it has no picture"},
        {u"\\Rejected.ksk", 1, "P layout 1", "its layout data has a row count outside 0 to 6"},
    };
    for (const Case& c : cases) {
        const std::filesystem::path file = hostPath(c.file);
        SCOPED_TRACE(file.string() + " layout " + std::to_string(c.layout));
        ToolRun check = runKvskin(m_root, "check " + quoted(file) + " --screen 240x320");
        EXPECT_EQ(check.status, 1);
        EXPECT_NE(check.out.find(c.where + ": " + c.what + "\n"), std::string::npos) << check.out;
        const std::string line = "kvskin: " + file.string() + ": " +
                                 (c.where == "file" ? "" : c.where + ": ") + c.what + "\n";
        const std::string layout = " --screen 240x320 --layout " + std::to_string(c.layout);
        // A layout without a picture still has keys to list.
        if (c.what != "it has no picture") {
            ToolRun keys = runKvskin(m_root, "keys " + quoted(file) + layout);
            EXPECT_EQ(keys.status, 1);
            EXPECT_EQ(keys.err, line);
        }
        ToolRun render = runKvskin(
            m_root, "render " + quoted(file) + layout + " -o " + quoted(m_root / "x.png"));
        EXPECT_EQ(render.status, 1);
        EXPECT_EQ(render.err, line);
    }
}
