// The skin writer: the layout data block's bytes, and whole skin files that the loader's own
// parsing reads back, with absent items left out.
#include <DeviceTest.h>
#include <gtest/gtest.h>

#include "skin/EBFFile.h"
#include "skin/SkinLoader.h"
#include "skin/SkinWriter.h"

namespace {

int32_t at32(const std::vector<BYTE>& d, size_t i) {
    return static_cast<int32_t>(uint32_t(d[i]) | (uint32_t(d[i + 1]) << 8) |
                                (uint32_t(d[i + 2]) << 16) | (uint32_t(d[i + 3]) << 24));
}

SkinLayoutEntry oneKeyLayout() {
    SkinLayoutEntry layout;
    layout.flags = 0x0090;
    layout.alt = 2;
    layout.right = {0, 0};
    layout.rows = {{SkinKeyEntry{0x2011, 0x0628, 0x46, {1, 2, 300, 40}}}};
    layout.width = 480;
    layout.height = 160;
    return layout;
}

}  // namespace

TEST(SkinWriter, LayoutDataIsLittleEndianAndPacked) {
    const std::vector<BYTE> d = encodeLayoutData(oneKeyLayout());
    ASSERT_EQ(d.size(), 64u);  // 31 + 4 + 21 + 8
    EXPECT_EQ(d[0], 0x90);
    EXPECT_EQ(d[1], 0x00);
    EXPECT_EQ(d[2], 2);
    EXPECT_EQ(at32(d, 3), -1);  // down gesture: none
    EXPECT_EQ(at32(d, 7), -1);
    EXPECT_EQ(at32(d, 11), 0);  // right gesture at row 0 col 0
    EXPECT_EQ(at32(d, 15), 0);
    EXPECT_EQ(at32(d, 27), 1);  // rows
    EXPECT_EQ(at32(d, 31), 1);  // keys in row 0
    EXPECT_EQ(d[35], 0x11);
    EXPECT_EQ(d[36], 0x20);
    EXPECT_EQ(d[37], 0x28);
    EXPECT_EQ(d[38], 0x06);
    EXPECT_EQ(d[39], 0x46);
    EXPECT_EQ(at32(d, 40), 1);
    EXPECT_EQ(at32(d, 44), 2);
    EXPECT_EQ(at32(d, 48), 300);
    EXPECT_EQ(at32(d, 52), 40);
    EXPECT_EQ(at32(d, 56), 480);
    EXPECT_EQ(at32(d, 60), 160);
}

class SkinWriterFile : public DeviceTest {};

TEST_F(SkinWriterFile, WrittenSkinsReadBackThroughTheLoadersParsing) {
    SkinFileContents skin;
    skin.textColor = 0x00112233;
    skin.frameColor = 0x00445566;
    skin.helpFile = u"\\Help\\Skin.htm";
    SkinLayoutItems first;
    first.picture = std::vector<BYTE>{'B', 'M', 1, 2};
    first.data = encodeLayoutData(oneKeyLayout());
    SkinLayoutItems bare;  // no picture, no data
    skin.classes = {{u"PH", {first, bare}}, {u"P", {}}};
    ASSERT_TRUE(writeSkinFile(u"\\Skin.ksk", skin));

    CEBFFile file(u"KELVO_SKIN");
    ASSERT_TRUE(file.OpenRead(u"\\Skin.ksk"));
    DWORD textColor = 0, frameColor = 0;
    std::u16string help;
    file.Value(u"TC", textColor);
    file.Value(u"HC", frameColor);
    file.StringValue(u"HFN", help);
    EXPECT_EQ(textColor, 0x00112233u);
    EXPECT_EQ(frameColor, 0x00445566u);
    EXPECT_EQ(help, u"\\Help\\Skin.htm");
    ASSERT_TRUE(file.BeginClass(u"P"));
    EXPECT_EQ(file.GetChildCount(), 0u);
    file.EndClass();
    ASSERT_TRUE(file.BeginClass(u"PH"));
    EXPECT_EQ(file.GetChildCount(), 2u);
    auto layout = std::make_unique<SkinLayout>();
    std::array<KeyRecord*, kModifierSlots> modSlot{};
    DWORD pictureSize = 0;
    ASSERT_EQ(parseLayoutClass(file, 0, *layout, modSlot.data(), pictureSize), LayoutLoad::Loaded);
    EXPECT_EQ(pictureSize, 4u);
    EXPECT_EQ(layout->image[1], 'M');
    EXPECT_EQ(layout->flags, 0x0090);
    EXPECT_EQ(layout->altIndex, 2);
    EXPECT_EQ(layout->rightKey, &layout->keys[0][0]);
    EXPECT_EQ(layout->keys[0][0].rect.right, 300);
    EXPECT_EQ(modSlot[1], &layout->keys[0][0]);  // slot 2
    EXPECT_EQ(layout->width, 480);

    auto empty = std::make_unique<SkinLayout>();
    ASSERT_EQ(parseLayoutClass(file, 1, *empty, nullptr, pictureSize), LayoutLoad::Loaded);
    EXPECT_EQ(pictureSize, 0u);
    EXPECT_EQ(empty->rowCount, 0);
    EXPECT_EQ(parseLayoutClass(file, 2, *empty, nullptr, pictureSize), LayoutLoad::Missing);
    file.Close();

    // A folder that does not exist: nothing can be written.
    EXPECT_FALSE(writeSkinFile(u"\\No\\Such\\Folder\\Skin.ksk", skin));
}

TEST_F(SkinWriterFile, RejectedLayoutsSayWhy) {
    SkinLayoutEntry tooMany = oneKeyLayout();
    tooMany.rows.resize(7, tooMany.rows[0]);
    SkinLayoutItems rows;
    rows.data = encodeLayoutData(tooMany);
    SkinLayoutItems picture;
    picture.picture = std::vector<BYTE>(kImageCapacity + 1, 0);
    SkinLayoutItems data;
    data.data = std::vector<BYTE>(kLayoutDataCapacity + 7, 0);
    SkinFileContents skin;
    skin.classes = {{u"P", {rows, picture, data}}};
    ASSERT_TRUE(writeSkinFile(u"\\Bad.ksk", skin));
    CEBFFile file(u"KELVO_SKIN");
    ASSERT_TRUE(file.OpenRead(u"\\Bad.ksk"));
    ASSERT_TRUE(file.BeginClass(u"P"));
    auto layout = std::make_unique<SkinLayout>();
    DWORD pictureSize = 0;
    LayoutRejection why;
    EXPECT_EQ(parseLayoutClass(file, 0, *layout, nullptr, pictureSize, &why), LayoutLoad::Rejected);
    EXPECT_EQ(why.reason, LayoutReject::BadData);
    EXPECT_EQ(why.data, LayoutDataResult::TooManyRows);
    EXPECT_EQ(parseLayoutClass(file, 1, *layout, nullptr, pictureSize, &why), LayoutLoad::Rejected);
    EXPECT_EQ(why.reason, LayoutReject::PictureTooLarge);
    EXPECT_EQ(why.storedBytes, kImageCapacity + 1);
    EXPECT_EQ(parseLayoutClass(file, 2, *layout, nullptr, pictureSize, &why), LayoutLoad::Rejected);
    EXPECT_EQ(why.reason, LayoutReject::DataTooLarge);
    EXPECT_EQ(why.storedBytes, kLayoutDataCapacity + 7);
    // The rejected layouts left the layout as it was: still fresh.
    EXPECT_EQ(layout->rowCount, 0);
    file.Close();
}
