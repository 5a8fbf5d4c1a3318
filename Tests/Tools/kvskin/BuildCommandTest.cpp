// kvskin build: the container it writes loads through the panel's own parsing and decoding,
// the same source gives the same bytes, pictures are drawn small enough or taken from the
// source's PNG files, and the program reports problems and exits 1.
#include <DeviceTest.h>
#include <gtest/gtest.h>

#include <device/PngEncoder.h>

#include "BuildCommand.h"
#include "CheckCommand.h"
#include "KvskinTestSupport.h"
#include "LayoutPicture.h"
#include "SkinFileAccess.h"
#include "skin/EBFFile.h"

using namespace kvskintest;

namespace {

const std::string kTwoFaces = R"({"textColor": "#102030", "frameColor": "#FF8000",
    "helpFile": "\\Help\\Test.htm",
    "faces": {
        "letters": {"alternate": "upper", "gestures": {"left": "bs"},
                    "rows": [["a", "b", "c", {"id": "bs", "label": "⌫", "char": 8, "vk": 8}],
                             [{"label": "ABC", "goto": "upper"}, {"char": " ", "width": 3}]]},
        "upper": {"rows": [["A", "B", "C", {"label": "⌫", "char": 8, "vk": 8}],
                           [{"label": "abc", "back": true}, {"char": " ", "width": 3}]]}},
    "classes": {"P": {"size": [240, 80], "layouts": ["letters", "upper"]},
                "LH": {"size": [640, 160], "layouts": ["letters", "upper"]}}})";

class KvskinBuild : public DeviceTest {
protected:
    // Builds `json` into the device file \out\skin.ksk through the library functions.
    void build(const std::string& json, const std::u16string& devicePath = u"\\out\\skin.ksk") {
        SkinFileContents skin;
        std::string error;
        ASSERT_TRUE(buildSkinContents(json, "skin.json", m_root, skin, error)) << error;
        CreateDirectoryW(u"\\out", nullptr);
        ASSERT_TRUE(writeSkinFile(devicePath, skin));
    }

    std::string buildProblem(const std::string& json) {
        SkinFileContents skin;
        std::string error;
        EXPECT_FALSE(buildSkinContents(json, "skin.json", m_root, skin, error));
        return error;
    }
};

std::string pngOf(int width, int height) {
    std::vector<uint32_t> pixels(size_t(width) * size_t(height), 0x00336699);
    std::vector<uint8_t> png;
    EXPECT_TRUE(device::encodePng(width, height, pixels, device::PngColours::Rgb, png));
    return std::string(png.begin(), png.end());
}

}  // namespace

TEST_F(KvskinBuild, BuiltLayoutsLoadThroughTheLoaderWithTheirPictures) {
    build(kTwoFaces);
    CEBFFile file(u"KELVO_SKIN");
    ASSERT_TRUE(file.OpenRead(u"\\out\\skin.ksk"));
    DWORD textColor = 0, frameColor = 0;
    std::u16string help;
    file.Value(u"TC", textColor);
    file.Value(u"HC", frameColor);
    file.StringValue(u"HFN", help);
    EXPECT_EQ(textColor, 0x00302010u);  // "#102030" as a colour reference 0x00BBGGRR
    EXPECT_EQ(frameColor, 0x000080FFu);
    EXPECT_EQ(help, u"\\Help\\Test.htm");
    EXPECT_FALSE(file.BeginClass(u"PH"));
    ASSERT_TRUE(file.BeginClass(u"LH"));
    EXPECT_EQ(file.GetChildCount(), 2u);

    std::array<KeyRecord*, kModifierSlots> modSlot{};
    LoadedLayout letters = loadLayoutFrom(file, 0, modSlot.data());
    ASSERT_EQ(letters.load, LayoutLoad::Loaded);
    const SkinLayout& layout = *letters.layout;
    EXPECT_EQ(layout.width, 640);
    EXPECT_EQ(layout.height, 160);
    EXPECT_EQ(layout.altIndex, 1);
    EXPECT_EQ(layout.rowCount, 2);
    EXPECT_EQ(layout.rowKeyCount[0], 4);
    EXPECT_EQ(layout.keys[0][1].param, u'b');
    EXPECT_EQ(layout.keys[0][1].rect.left, 160);
    EXPECT_EQ(layout.keys[1][1].rect.right, 640);
    EXPECT_EQ(layout.keys[1][0].flags, KF_GOTO);
    EXPECT_EQ(layout.keys[1][0].param, 1);
    ASSERT_NE(layout.leftKey, nullptr);
    EXPECT_EQ(layout.leftKey->param, 8);
    EXPECT_EQ(layout.downKey, nullptr);

    // The drawn picture is an indexed PNG well inside the picture area, decoding to the size
    // of the panel.
    EXPECT_GT(letters.pictureSize, 0u);
    EXPECT_LT(letters.pictureSize, kImageCapacity);
    EXPECT_EQ(layout.image[25], 3);  // colour type: palette
    DecodeContext context;
    auto size = decodeLayoutPicture(letters, context.dc());
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->cx, 640);
    EXPECT_EQ(size->cy, 160);
    file.Close();
}

TEST_F(KvskinBuild, LabelsAreDrawnWhole) {
    // Letters whose tails reach past their advance and words on the narrow keys of a 240x80
    // panel, and in the large panel marks in the hints of the alternate characters.
    build(R"({"faces": {"f": {"alternate": "g", "rows": [
        ["ض", "ص", "ث", "ق", "ف", "غ", "ع", "ه", "خ", "ح", "ج", "چ"],
        ["ش", "س", "ی", "ب", "ل", "ا", "ت", "ن", "م", "ک", "گ", {"label": "⌫", "char": 8}],
        ["ظ", "ط", "ز", "ر", "ذ", "د", "پ", "و", "ژ", "x", "x"],
        [{"label": "۱۲۳", "width": 1.25}, {"label": "ABC", "width": 1.25}, "x", "x", "x",
         {"label": "ZWNJ", "char": "\u200c", "width": 1.5}, {"char": " ", "width": 2}, ".",
         {"label": "ریال", "char": "\u06e9"}, "x"]]},
        "g": {"rows": [[{"char": "\u0652", "label": "ـ\u0652"}, {"char": "\u064c", "label": "ـ\u064c"},
                        {"char": "\u0651", "label": "ـ\u0651"}, "]", "[", "}", "{", "x", "x", "x",
                        "x", "x"]]}},
        "classes": {"P": {"size": [240, 80], "layouts": ["f", "g"]},
                    "PH": {"size": [480, 160], "layouts": ["f", "g"]}}})");
    std::vector<std::string> found;
    for (const SkinProblem& problem : checkSkin(u"\\out\\skin.ksk", std::nullopt)) {
        if (problem.what != kClassMissing)
            found.push_back(problem.text());
    }
    EXPECT_EQ(found, std::vector<std::string>{});
}

TEST_F(KvskinBuild, TheSameSourceGivesTheSameBytes) {
    build(kTwoFaces, u"\\out\\first.ksk");
    build(kTwoFaces, u"\\out\\second.ksk");
    const std::string first = readHostFile(hostPath(u"\\out\\first.ksk"));
    EXPECT_GT(first.size(), 1000u);
    EXPECT_EQ(first, readHostFile(hostPath(u"\\out\\second.ksk")));
}

TEST_F(KvskinBuild, PictureFilesComeFromTheSourceFolderAtThePanelSize) {
    writeHostFile(m_root / "pictures" / "letters.png", pngOf(240, 80));
    writeHostFile(m_root / "small.png", pngOf(120, 40));
    writeHostFile(m_root / "notpng.png", "GIF89a not a png at all, long enough");
    const std::string withPicture = [](const std::string& file) {
        return oneFaceSource(R"([["a"]])", R"("pictures": {"P": ")" + file + R"("})");
    }("pictures/letters.png");
    build(withPicture);
    CEBFFile file(u"KELVO_SKIN");
    ASSERT_TRUE(file.OpenRead(u"\\out\\skin.ksk"));
    ASSERT_TRUE(file.BeginClass(u"P"));
    LoadedLayout loaded = loadLayoutFrom(file, 0, nullptr);
    file.Close();
    const std::string png = pngOf(240, 80);
    ASSERT_EQ(loaded.pictureSize, png.size());
    EXPECT_EQ(std::string(loaded.layout->image.begin(), loaded.layout->image.begin() + png.size()),
              png);

    auto problem = [&](const std::string& file) {
        return buildProblem(oneFaceSource(R"([["a"]])", R"("pictures": {"P": ")" + file + R"("})"));
    };
    const std::string where = "skin.json: class P, layout 0 (\"f\"): the picture ";
    EXPECT_EQ(problem("small.png"), where + "\"small.png\" is 120x40, the panel is 240x80");
    EXPECT_EQ(problem("notpng.png"), where + "\"notpng.png\" is not a PNG file");
    EXPECT_EQ(problem("missing.png"), where + "\"missing.png\" cannot be read");
    EXPECT_EQ(problem("../outside.png"),
              where + "\"../outside.png\" must be a file inside the skin's folder");
    EXPECT_EQ(problem("/etc/passwd"),
              where + "\"/etc/passwd\" must be a file inside the skin's folder");
    writeHostFile(m_root / "huge.png", std::string(50001, 'x'));
    EXPECT_EQ(problem("huge.png"), where + "\"huge.png\" is larger than 50000 bytes");
}

TEST_F(KvskinBuild, TheProgramWritesTheFileOrReportsAndExitsOne) {
    writeHostFile(m_root / "src" / "skin.json", kTwoFaces);
    ToolRun good = runKvskin(
        m_root, "build " + quoted(m_root / "src") + " -o " + quoted(m_root / "made" / "Test.ksk"));
    EXPECT_EQ(good.status, 0) << good.err;
    EXPECT_EQ(good.err, "");
    EXPECT_GT(std::filesystem::file_size(m_root / "made" / "Test.ksk"), 1000u);

    writeHostFile(m_root / "bad" / "skin.json", oneFaceSource(R"([["a", {"goto": "x"}]])"));
    ToolRun bad = runKvskin(
        m_root, "build " + quoted(m_root / "bad") + " -o " + quoted(m_root / "made" / "Bad.ksk"));
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("bad/skin.json: class P, layout 0 (\"f\"): row 0 col 1: goto target"),
              std::string::npos)
        << bad.err;
    EXPECT_FALSE(std::filesystem::exists(m_root / "made" / "Bad.ksk"));

    ToolRun missing = runKvskin(
        m_root, "build " + quoted(m_root / "none") + " -o " + quoted(m_root / "made" / "None.ksk"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos);
    EXPECT_EQ(runKvskin(m_root, "build " + quoted(m_root / "src")).status, 2);
}

TEST(LayoutPicture, KeysHaveEdgesFunctionKeysTheirColourAndLabelsInk) {
    CompiledLayout layout;
    layout.entry.width = 240;
    layout.entry.height = 80;
    layout.entry.rows = {{SkinKeyEntry{KF_OUTPUT, u'W', 'W', {0, 0, 120, 80}},
                          SkinKeyEntry{KF_GOTO, 1, 0, {120, 0, 240, 80}}}};
    layout.looks = {{KeyLook{u"W", u"", KeyStyle::Char}, KeyLook{u"", u"", KeyStyle::Function}}};
    Theme theme;
    const std::vector<uint32_t> pixels = drawLayoutPicture(layout, theme);
    ASSERT_EQ(pixels.size(), 240u * 80u);
    auto at = [&](int x, int y) { return pixels[size_t(y) * 240 + size_t(x)]; };
    auto rgb = [](COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); };
    // The first and last pixel of each key belong to the background: keys stand apart.
    EXPECT_EQ(at(0, 40), rgb(theme.background));
    EXPECT_EQ(at(119, 40), rgb(theme.background));
    EXPECT_EQ(at(120, 40), rgb(theme.background));
    // Inside the face, near its edge: the key colour; the function key has its own.
    EXPECT_EQ(at(10, 70), rgb(theme.key));
    EXPECT_EQ(at(200, 40), rgb(theme.functionKey));
    EXPECT_NE(rgb(theme.key), rgb(theme.functionKey));
    // The label leaves ink around the middle of its key, in the label's colour.
    int ink = 0;
    for (int y = 20; y < 60; ++y)
        for (int x = 40; x < 80; ++x)
            ink += at(x, y) == rgb(theme.label) ? 1 : 0;
    EXPECT_GT(ink, 20);

    // Anti-aliased pictures with many colours still encode as a palette picture.
    std::vector<uint32_t> ramp(240 * 80);
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = uint32_t(i * 2654435761u) & 0xFFFFFF;
    std::vector<BYTE> png;
    ASSERT_TRUE(encodeSkinPicture(240, 80, ramp, png));
    EXPECT_EQ(png[25], 3);
}
