// The layout data reader: the fields of a block, the gesture keys and modifier keys it
// registers, and blocks that cannot be held, which leave the layout as it was.
#include <gtest/gtest.h>

#include "SkinBuilder.h"
#include "skin/LayoutData.h"

using namespace skintest;

namespace {

LayoutDataResult parse(const std::string& d, SkinLayout& layout, KeyRecord** modSlot = nullptr) {
    return parseLayoutData(reinterpret_cast<const BYTE*>(d.data()), d.size(), layout, modSlot);
}

}  // namespace

TEST(LayoutData, OneKeyBlockIsSixtyFourBytesAndReadsBack) {
    Layout spec;
    spec.flags = LF_RELEASE_ON_ENTER;
    spec.alt = 2;
    spec.downRow = 0;
    spec.downCol = 0;
    spec.rows = {{Key{0x2010, 0x0628, 0x46, {1, 2, 3, 4}}}};
    spec.width = 240;
    spec.height = 80;
    std::string d = layoutData(spec);
    ASSERT_EQ(d.size(), 64u);
    auto layout = std::make_unique<SkinLayout>();
    KeyRecord* modSlot[kModifierSlots] = {};
    ASSERT_EQ(parse(d, *layout, modSlot), LayoutDataResult::Ok);
    EXPECT_EQ(layout->flags, LF_RELEASE_ON_ENTER);
    EXPECT_EQ(layout->altIndex, 2);
    EXPECT_EQ(layout->rowCount, 1);
    EXPECT_EQ(layout->rowKeyCount[0], 1);
    const KeyRecord& key = layout->keys[0][0];
    EXPECT_EQ(key.flags, 0x2010);
    EXPECT_EQ(key.param, 0x0628);
    EXPECT_EQ(key.vk, 0x46);
    EXPECT_EQ(key.rect.left, 1);
    EXPECT_EQ(key.rect.bottom, 4);
    EXPECT_EQ(layout->downKey, &layout->keys[0][0]);
    EXPECT_EQ(layout->rightKey, nullptr);
    EXPECT_EQ(layout->width, 240);
    EXPECT_EQ(layout->height, 80);
    EXPECT_EQ(modSlot[1], &layout->keys[0][0]);
}

TEST(LayoutData, KeysKnowTheirPlaceAndHighSlotsAreNotRegistered) {
    Layout spec;
    spec.rightRow = 1;
    spec.rightCol = 2;
    spec.leftRow = 5;  // no such key: no left key
    spec.leftCol = 0;
    spec.rows = {{Key{0xC001}}, {Key{0x0001}, Key{0xA001}, Key{0xF001}}};
    auto layout = std::make_unique<SkinLayout>();
    KeyRecord* modSlot[kModifierSlots] = {};
    ASSERT_EQ(parse(layoutData(spec), *layout, modSlot), LayoutDataResult::Ok);
    EXPECT_EQ(layout->keys[1][2].row, 1);
    EXPECT_EQ(layout->keys[1][2].col, 2);
    EXPECT_EQ(layout->rightKey, &layout->keys[1][2]);
    EXPECT_EQ(layout->leftKey, nullptr);
    EXPECT_EQ(modSlot[9], &layout->keys[1][1]);
    for (int s = 0; s < 9; ++s)
        EXPECT_EQ(modSlot[s], nullptr);
}

TEST(LayoutData, BlocksThatCannotBeHeldLeaveTheLayoutAlone) {
    Layout good;
    good.rows = {{Key{KF_OUTPUT, u'a', 0x41, {0, 0, 10, 10}}}};
    auto layout = std::make_unique<SkinLayout>();
    ASSERT_EQ(parse(layoutData(good), *layout), LayoutDataResult::Ok);

    Layout rows;
    rows.rows.assign(7, {});
    Layout keys;
    keys.rows = {std::vector<Key>(31)};
    Layout size = good;
    size.height = -1;
    std::string d = layoutData(good);
    std::string negativeCount = d;
    negativeCount[31] = '\xFF';
    negativeCount[32] = negativeCount[33] = negativeCount[34] = '\xFF';
    std::string header = d.substr(0, 38);
    std::string rowsInTrailer = d.substr(0, d.size() - 1);

    EXPECT_EQ(parse(layoutData(rows), *layout), LayoutDataResult::TooManyRows);
    EXPECT_EQ(parse(layoutData(keys), *layout), LayoutDataResult::TooManyKeys);
    EXPECT_EQ(parse(layoutData(size), *layout), LayoutDataResult::BadSize);
    EXPECT_EQ(parse(negativeCount, *layout), LayoutDataResult::TooManyKeys);
    EXPECT_EQ(parse(header, *layout), LayoutDataResult::Truncated);
    EXPECT_EQ(parse(rowsInTrailer, *layout), LayoutDataResult::Truncated);
    EXPECT_EQ(parse(std::string(4321, '\0'), *layout), LayoutDataResult::TooLarge);
    EXPECT_EQ(parseLayoutData(nullptr, 64, *layout, nullptr), LayoutDataResult::Truncated);
    EXPECT_EQ(layout->rowCount, 1);
    EXPECT_EQ(layout->keys[0][0].param, u'a');

    // Extra bytes before the trailer are allowed: the size is read from the end.
    std::string padded =
        d.substr(0, d.size() - 8) + std::string(5, '\x7F') + d.substr(d.size() - 8);
    ASSERT_EQ(parse(padded, *layout), LayoutDataResult::Ok);
    EXPECT_EQ(layout->width, 240);
}

TEST(LayoutData, LargestBlockFitsTheDataArea) {
    Layout full;
    full.rows.assign(6, std::vector<Key>(30, Key{KF_OUTPUT}));
    std::string d = layoutData(full);
    EXPECT_EQ(d.size(), 3843u);
    auto layout = std::make_unique<SkinLayout>();
    ASSERT_EQ(parse(d, *layout), LayoutDataResult::Ok);
    EXPECT_EQ(layout->keys[5][29].row, 5);
    EXPECT_EQ(layout->keys[5][29].col, 29);
}
