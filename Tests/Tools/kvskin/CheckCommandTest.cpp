// kvskin check: the default skin passes for every class; skins broken in each way the check
// knows are reported with the class, layout, row and column of every problem.
#include <DeviceTest.h>
#include <EBFBytes.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "CheckCommand.h"
#include "KvskinTestSupport.h"
#include "SkinBuilder.h"
#include "skin/SkinLayout.h"

using namespace kvskintest;
using skintest::Key;
using skintest::Layout;

namespace {

std::vector<std::string> texts(const std::vector<SkinProblem>& problems) {
    std::vector<std::string> out;
    for (const SkinProblem& problem : problems)
        out.push_back(problem.text());
    return out;
}

Layout plainLayout() {
    Layout layout;
    layout.picture = skintest::bmpPicture(240, 80, 0xC0C0C0);
    layout.rows = {
        {skintest::charKey(u'a', 0x41, {0, 0, 120, 80}), Key{KF_GOTO, 1, 0, {120, 0, 240, 80}}}};
    return layout;
}

class KvskinCheck : public DeviceTest {
protected:
    std::vector<std::string> check(const skintest::Skin& skin,
                                   std::optional<ScreenSize> screen = ScreenSize{240, 320}) {
        EXPECT_TRUE(skintest::writeSkin(u"\\Test.ksk", skin));
        return texts(checkSkin(u"\\Test.ksk", screen));
    }
};

}  // namespace

TEST_F(KvskinCheck, TheDefaultSkinPassesForEveryClassAndScreen) {
    std::u16string devicePath;
    std::string error;
    ASSERT_TRUE(openHostSkin(KELVO_DEFAULT_SKIN, devicePath, error)) << error;
    EXPECT_EQ(texts(checkSkin(devicePath, std::nullopt)), std::vector<std::string>{});
    for (ScreenSize screen :
         {ScreenSize{240, 320}, ScreenSize{480, 640}, ScreenSize{320, 240}, ScreenSize{640, 480}})
        EXPECT_EQ(texts(checkSkin(devicePath, screen)), std::vector<std::string>{});
    ToolRun run = runKvskin(m_root, std::string("check '") + KELVO_DEFAULT_SKIN + "'");
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(run.out, "");
}

TEST_F(KvskinCheck, BrokenKeysAreReportedWithTheirRowAndColumn) {
    Layout broken = plainLayout();
    broken.rows[0][0].rect.bottom = 40;
    broken.rows[0][1].rect.bottom = 40;
    broken.downRow = 0;
    broken.downCol = 5;  // no such key
    broken.rows.push_back({
        Key{KF_GOTO, 9, 0, {0, 40, 20, 80}},                  // col 0: no layout 9
        Key{0xB000 | KF_ONESHOT, 0, 0x10, {20, 40, 40, 80}},  // col 1: slot 11
        Key{0x3000, 0, 0x11, {40, 40, 60, 80}},               // col 2: slot bits only
        Key{KF_CALC, 41, 0, {60, 40, 80, 80}},                // col 3: operation 41
        Key{KF_CALC, 23, 0, {80, 40, 100, 80}},               // col 4: grouping without slot 5
        Key{KF_TASKS, 0, 5, {100, 40, 120, 80}},              // col 5: action 5
        Key{KF_TASKS, 20, 1, {120, 40, 140, 80}},             // col 6: slot 20
        Key{KF_MACRO, 20, 0, {140, 40, 160, 80}},             // col 7: macro 20
        Key{KF_MACRO, 0, 2, {160, 40, 180, 80}},              // col 8: code 2
        Key{KF_LAUNCH, 30, 0, {180, 40, 200, 80}},            // col 9: program 30
        Key{KF_LAUNCH, 0, 6, {200, 40, 220, 80}},             // col 10: action 6
        Key{KF_LAUNCH, 3, 5, {220, 40, 250, 80}},             // col 11: help, no HFN; too wide
        Key{KF_OUTPUT, u'x', 0, {30, 50, 30, 60}},            // col 12: empty rectangle
        Key{KF_OUTPUT, u'y', 0, {0, 40, 10, 80}},             // col 13: behind col 0
    });
    skintest::Skin skin;
    skin.classes[u"P"] = {plainLayout(), broken};
    const std::vector<std::string> expected = {
        "P layout 1: the down gesture names row 0 col 5, where there is no key",
        "P layout 1 row 1 col 0: its goto target 9 does not exist (the class has 2 layouts)",
        "P layout 1 row 1 col 1: its modifier slot 11 is outside 1 to 10",
        "P layout 1 row 1 col 2: a modifier key of slot 3 with no kind bits latches nothing",
        "P layout 1 row 1 col 3: its calculator operation 41 is outside 0 to 40",
        "P layout 1 row 1 col 4: the digit grouping switch (operation 23) must be a modifier of "
        "slot 5",
        "P layout 1 row 1 col 5: its task action 5 is outside 0 to 4",
        "P layout 1 row 1 col 6: its task slot 20 is outside 0 to 19",
        "P layout 1 row 1 col 7: its macro number 20 is outside 0 to 19",
        "P layout 1 row 1 col 8: its macro code 2 is neither 0 (a macro) nor 1 (the record key)",
        "P layout 1 row 1 col 9: its program index 30 is outside 0 to 29",
        "P layout 1 row 1 col 10: its launch action 6 is outside 0 to 5",
        "P layout 1 row 1 col 11: its rectangle (220, 40, 250, 80) reaches outside the 240x80 "
        "layout",
        "P layout 1 row 1 col 11: a help key, but the skin names no help file (\"HFN\")",
        "P layout 1 row 1 col 12: its rectangle (30, 50, 30, 60) is empty",
        "P layout 1 row 1 col 13: the hit test gives its centre to row 1 col 0 (rows run top to "
        "bottom, keys left to right)",
    };
    EXPECT_EQ(check(skin), expected);

    // Named, the help file makes the help key sound; the calculator's switches in their slots.
    skin.helpFile = u"\\Help.htm";
    broken.rows[1] = {Key{0x5000 | KF_CALC, 23, 0, {0, 40, 120, 80}},
                      Key{0x8000 | KF_CALC, 40, 0, {120, 40, 200, 80}},
                      Key{KF_LAUNCH, 3, 5, {200, 40, 240, 80}}};
    broken.downCol = 1;
    skin.classes[u"P"] = {plainLayout(), broken};
    EXPECT_EQ(check(skin), std::vector<std::string>{});
}

TEST_F(KvskinCheck, BrokenLayoutsAndMissingClassesAreReported) {
    Layout wrongPicture = plainLayout();
    wrongPicture.picture = skintest::bmpPicture(200, 80, 0);
    Layout noPicture = plainLayout();
    noPicture.picture.clear();
    Layout garbage = plainLayout();
    garbage.picture = "not a picture of any kind";
    Layout hugePicture = plainLayout();
    hugePicture.picture = std::string(kImageCapacity + 1, 'x');
    Layout tooManyRows = plainLayout();
    tooManyRows.rows.resize(7, {skintest::charKey(u'a', 0x41, {0, 0, 10, 10})});
    Layout altBeyond = plainLayout();
    altBeyond.alt = 9;
    Layout noData = plainLayout();
    noData.withData = false;
    Layout calcWithoutKeys = plainLayout();
    calcWithoutKeys.flags = LF_CALC;
    calcWithoutKeys.rows.clear();
    skintest::Skin skin;
    skin.classes[u"P"] = {plainLayout(), wrongPicture, noPicture, garbage,        hugePicture,
                          tooManyRows,   altBeyond,    noData,    calcWithoutKeys};
    skin.classes[u"L"] = {};
    const std::vector<std::string> problemsOfP = {
        "P layout 1: its picture is 200x80, the layout 240x80",
        "P layout 2: it has no picture",
        "P layout 3: its picture does not decode to 240x80 (it is broken, or larger than the "
        "layout)",
        "P layout 4: its picture takes 50001 bytes, more than the 50000 a layout holds",
        "P layout 5: its layout data has a row count outside 0 to 6",
        "P layout 6: its alternate layout 9 does not exist (the class has 9)",
        "P layout 7: its size is 0x0 (a layout without layout data has none)",
        "P layout 8: a calculator layout needs its display as the key at row 0 col 0",
    };
    EXPECT_EQ(check(skin), problemsOfP);

    std::vector<std::string> all = {"P layout 1: its picture is 200x80, the layout 240x80"};
    all.insert(all.end(), problemsOfP.begin() + 1, problemsOfP.end());
    all.push_back("PH: the class is missing");
    all.push_back("L: the class has no layouts");
    all.push_back("LH: the class is missing");
    EXPECT_EQ(check(skin, std::nullopt), all);

    // A panel wider than the screens of its class, or than the screen checked for.
    Layout wide = plainLayout();
    wide.width = 420;
    wide.picture = skintest::bmpPicture(420, 80, 0);
    skintest::Skin wideSkin;
    wideSkin.classes[u"P"] = {wide, plainLayout()};
    wideSkin.classes[u"L"] = {plainLayout(), plainLayout()};
    EXPECT_EQ(check(wideSkin, std::nullopt),
              (std::vector<std::string>{
                  "P layout 0: it is 420 pixels wide, more than the 400 of the widest P screen",
                  "PH: the class is missing", "LH: the class is missing"}));
    EXPECT_EQ(check(wideSkin, ScreenSize{200, 300}),
              (std::vector<std::string>{
                  "P layout 0: it is 420 pixels wide, more than the 200 of the screen",
                  "P layout 1: it is 240 pixels wide, more than the 200 of the screen"}));
    EXPECT_EQ(check(wideSkin, ScreenSize{480, 240}), std::vector<std::string>{});

    writeDeviceFile(u"\\Other.ksk", "not a container");
    EXPECT_EQ(texts(checkSkin(u"\\Other.ksk", std::nullopt)),
              std::vector<std::string>{
                  "file: it is not a well-formed container: broken item (main class) at offset "
                  "0: its name runs past the end of the file (which ends at offset 15)"});
}

TEST_F(KvskinCheck, ABrokenItemIsNamedBeforeTheLayoutItTakesAway) {
    // Layout 1's data claims more bytes than its class holds: the reader cannot open the class.
    const std::string picture = skintest::bmpPicture(240, 80, 0xC0C0C0);
    const std::string data = skintest::layoutData(plainLayout());
    std::string broken = ebfClass("1", {ebfValue("P", picture), ebfValue("D", data)});
    broken[2 + 4 + 4 + 2 + 4 + 4 + picture.size() + 2 + 4] = 0x7F;  // D's size, lowest byte
    writeDeviceFile(
        u"\\Broken.ksk",
        ebfClass("KELVO_SKIN",
                 {ebfClass("P", {ebfClass("0", {ebfValue("P", picture), ebfValue("D", data)}),
                                 broken})}));
    const std::vector<std::string> found = texts(checkSkin(u"\\Broken.ksk", ScreenSize{240, 320}));
    ASSERT_EQ(found.size(), 2u) << testing::PrintToString(found);
    EXPECT_EQ(found[0].rfind("file: it is not a well-formed container: broken item "
                             "KELVO_SKIN/P/1/D at offset ",
                             0),
              0u)
        << found[0];
    EXPECT_EQ(found[1], "P layout 1: the layout is missing (no class \"1\")");
}

// An 8-bit picture of the given size whose pixels `colour` gives (0x00RRGGBB, at most 256
// colours).
std::string paintedPicture(int width, int height, const std::function<uint32_t(int, int)>& colour) {
    std::vector<uint32_t> palette;
    std::string indexes;
    const uint32_t stride = static_cast<uint32_t>((width + 3) & ~3);
    for (int y = height - 1; y >= 0; --y) {  // bottom-up
        for (int x = 0; x < static_cast<int>(stride); ++x) {
            const uint32_t c = colour(std::min(x, width - 1), y);
            auto found = std::find(palette.begin(), palette.end(), c);
            if (found == palette.end())
                found = palette.insert(palette.end(), c);
            indexes.push_back(static_cast<char>(found - palette.begin()));
        }
    }
    palette.resize(256);
    std::string b = "BM";
    skintest::put32(b, 54 + 1024 + static_cast<uint32_t>(indexes.size()));
    skintest::put32(b, 0);
    skintest::put32(b, 54 + 1024);
    skintest::put32(b, 40);
    skintest::put32(b, static_cast<uint32_t>(width));
    skintest::put32(b, static_cast<uint32_t>(height));
    skintest::put16(b, 1);
    skintest::put16(b, 8);
    skintest::put32(b, 0);
    skintest::put32(b, static_cast<uint32_t>(indexes.size()));
    skintest::put32(b, 2835);
    skintest::put32(b, 2835);
    skintest::put32(b, 256);
    skintest::put32(b, 0);
    for (uint32_t c : palette)
        skintest::put32(b, c);
    return b + indexes;
}

TEST_F(KvskinCheck, ALabelWhoseInkMeetsItsKeysEdgeDoesNotFit) {
    // Two keys, each a light face with a dark edge on the dark panel, and a dark "label" bar.
    constexpr uint32_t kPanel = 0x202830, kEdge = 0x101010, kFace = 0xF0F0E8, kInk = 0x181818;
    auto keyPicture = [&](RECT bar) {
        return paintedPicture(240, 80, [=](int x, int y) {
            const int left = x < 120 ? 0 : 120;
            const int kx = x - left;
            if (kx < 1 || kx > 118 || y < 1 || y > 78)
                return kPanel;
            if (kx == 1 || kx == 118 || y == 1 || y == 78)
                return kEdge;
            if (x >= bar.left && x < bar.right && y >= bar.top && y < bar.bottom)
                return kInk;
            return kFace;
        });
    };
    auto problemsWith = [&](RECT bar) {
        Layout layout = plainLayout();
        layout.picture = keyPicture(bar);
        skintest::Skin skin;
        skin.classes[u"P"] = {layout, plainLayout()};
        return check(skin);
    };
    // Clear of the edges: no problem.
    EXPECT_EQ(problemsWith(RECT{40, 30, 80, 50}), std::vector<std::string>{});
    EXPECT_EQ(problemsWith(RECT{3, 3, 117, 77}), std::vector<std::string>{});
    // Cut off at the face's left edge, at both sides, at the top of the second key.
    EXPECT_EQ(problemsWith(RECT{2, 30, 60, 50}),
              std::vector<std::string>{"P layout 0 row 0 col 0: its label does not fit: its ink "
                                       "reaches the left edge of the key"});
    EXPECT_EQ(problemsWith(RECT{2, 30, 118, 50}),
              std::vector<std::string>{"P layout 0 row 0 col 0: its label does not fit: its ink "
                                       "reaches the left and right edges of the key"});
    EXPECT_EQ(problemsWith(RECT{160, 2, 200, 40}),
              std::vector<std::string>{"P layout 0 row 0 col 1: its label does not fit: its ink "
                                       "reaches the top edge of the key"});
}

TEST_F(KvskinCheck, TheProgramPrintsEachProblemAndExitsOne) {
    skintest::Skin skin;
    Layout layout = plainLayout();
    layout.rows[0][1].param = 7;
    skin.classes[u"P"] = {layout};
    ASSERT_TRUE(skintest::writeSkin(u"\\Bad.ksk", skin));
    const std::string file = quoted(hostPath(u"\\Bad.ksk"));
    ToolRun one = runKvskin(m_root, "check " + file + " --screen 240x320");
    EXPECT_EQ(one.status, 1);
    EXPECT_EQ(one.out,
              "P layout 0 row 0 col 1: its goto target 7 does not exist (the class has 1 "
              "layouts)\n");
    EXPECT_NE(one.err.find("1 problem"), std::string::npos);
    ToolRun all = runKvskin(m_root, "check " + file);
    EXPECT_EQ(all.status, 1);
    EXPECT_NE(all.out.find("LH: the class is missing\n"), std::string::npos);
    EXPECT_EQ(runKvskin(m_root, "check " + file + " --screen 240").status, 2);
    EXPECT_EQ(runKvskin(m_root, "check").status, 2);
    ToolRun missing = runKvskin(m_root, "check " + quoted(m_root / "missing.ksk"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "kvskin: " + (m_root / "missing.ksk").string() +
                               ": it cannot be opened: No such file or directory\n");
}
