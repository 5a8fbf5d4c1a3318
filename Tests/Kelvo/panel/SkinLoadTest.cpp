// Loading the skin into the panel: colours and help file, modifier keys, the alternate layout,
// pictures, the message faces for skins that cannot be used, Try Again, and reloads after a
// screen change or a reload message.
#include <device/Display.h>
#include <device/Screen.h>

#include "TypingLayouts.h"
#include "skin/SkinLoader.h"
#include "skin/SkinSettings.h"

using namespace skintest;
using SkinLoad = PanelTest;

namespace {

// True when the panel shows the message face that `text` gives at the layout's size.
::testing::AssertionResult showsFace(const SkinLayout& shown, const std::u16string& text) {
    if (!(shown.flags & LF_MESSAGE))
        return ::testing::AssertionFailure() << "no message face";
    SkinLayout expected;
    expected.width = shown.width;
    expected.height = shown.height;
    HDC dc = CreateCompatibleDC(nullptr);
    makeMessageLayout(expected, dc, text, TryAgain::Yes, 240);
    HDC other = CreateCompatibleDC(nullptr);
    HGDIOBJ a = SelectObject(dc, expected.bitmap);
    HGDIOBJ b = SelectObject(other, shown.bitmap);
    int differences = 0;
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x)
            differences += GetPixel(dc, x, y) != GetPixel(other, x, y);
    SelectObject(dc, a);
    SelectObject(other, b);
    DeleteDC(dc);
    DeleteDC(other);
    if (differences != 0)
        return ::testing::AssertionFailure() << differences << " pixels differ";
    return ::testing::AssertionSuccess();
}

std::u16string text(UINT id) {
    return formatMessageText(id, u"\\Skins\\Test.ksk");
}

}  // namespace

TEST_F(SkinLoad, MessageTextsComeFromTheLibraryStringTable) {
    EXPECT_EQ(text(IDS_SKIN_NOT_FOUND), u"The skin file \n    \\Skins\\Test.ksk\nwas not found. ");
    EXPECT_EQ(
        text(IDS_NO_DIMENSION),
        u"No skin info was found for current screen dimension in the file:\n    \\Skins\\Test.ksk");
    EXPECT_EQ(formatMessageText(IDS_SKIN_NOT_FOUND, u"100%s.ksk"),
              u"The skin file \n    100%s.ksk\nwas not found. ");
}

TEST_F(SkinLoad, FirstLoadReadsColoursHelpFileAndLayoutZero) {
    Skin skin;
    skin.textColor = 0x00112233;
    skin.frameColor = 0x00445566;
    skin.helpFile = u"Test.htm";
    skin.classes[u"P"] = {typingLayout()};
    writeSkin(skin);
    createPanel();
    EXPECT_EQ(panel->skinPath, u"\\Skins\\Test.ksk");
    EXPECT_EQ(panel->textColor, 0x00112233u);
    EXPECT_EQ(panel->frameColor, 0x00445566u);
    EXPECT_EQ(helpFilePath, u"Test.htm");
    ASSERT_TRUE(panel->layout);
    EXPECT_EQ(panel->layout->index, 0);
    EXPECT_EQ(panel->layout->rowCount, 2);
    EXPECT_NE(panel->layout->bitmap, nullptr);
    EXPECT_EQ(panel->scale, 1);
    EXPECT_EQ(panel->modSlot[1], &panel->layout->keys[1][0]);
    EXPECT_EQ(panel->modSlot[2], &panel->layout->keys[1][1]);
    EXPECT_EQ(panel->modSlot[3], &panel->layout->keys[1][2]);
    EXPECT_EQ(panel->panelRect.right, 242);
    EXPECT_EQ(panel->panelRect.bottom, 81);
}

TEST_F(SkinLoad, AlternateLayoutLoadsBesideWithoutRegisteringItsModifiers) {
    Layout first = typingLayout();
    first.alt = 2;
    Layout alternate = secondLayout();
    alternate.rows[0][1] = Key{0x6000 | KF_ONESHOT, 0, 0x10, rect(40, 0, 80, 40)};
    writePortraitSkin({first, secondLayout(), alternate});
    createPanel();
    ASSERT_TRUE(panel->altLayout);
    EXPECT_EQ(panel->altLayout->index, 2);
    EXPECT_EQ(panel->altLayout->keys[0][1].flags, 0x6010);
    EXPECT_EQ(panel->modSlot[5], nullptr);
    EXPECT_EQ(panel->modSlot[1]->flags, 0x2010);
}

TEST_F(SkinLoad, MissingSkinFileShowsTheFaceAtTheSipWindowSize) {
    createPanel();
    ASSERT_TRUE(panel->layout);
    EXPECT_EQ(panel->layout->width, 240);
    EXPECT_EQ(panel->layout->height, 80);
    EXPECT_TRUE(showsFace(*panel->layout, text(IDS_SKIN_NOT_FOUND)));
    EXPECT_EQ(panel->layout->rowCount, 1);
    EXPECT_EQ(panel->layout->keys[0][0].flags, KF_GOTO);
}

TEST_F(SkinLoad, FileWithoutTheSkinClassShowsTheNotFoundText) {
    CEBFFile other;  // "MainClass"
    ASSERT_TRUE(other.OpenWrite(kSkinFile));
    DWORD value = 1;
    other.Value(u"TC", value);
    other.Close();
    createPanel();
    EXPECT_TRUE(showsFace(*panel->layout, text(IDS_SKIN_NOT_FOUND)));
}

TEST_F(SkinLoad, MissingDimensionClassShowsItsText) {
    Skin skin;
    skin.classes[u"L"] = {typingLayout()};
    writeSkin(skin);
    createPanel();
    EXPECT_TRUE(showsFace(*panel->layout, text(IDS_NO_DIMENSION)));
}

TEST_F(SkinLoad, TryAgainRetriesTheWholeLoad) {
    createPanel();
    ASSERT_TRUE(panel->layout->flags & LF_MESSAGE);
    writePortraitSkin({typingLayout()});
    tap(200, 70);  // the Try Again key
    EXPECT_FALSE(panel->layout->flags & LF_MESSAGE);
    EXPECT_EQ(panel->layout->rowCount, 2);
    tap(20, 20);
    EXPECT_EQ(calls(), charPair(0x41, u'a'));
}

TEST_F(SkinLoad, LayoutsThatCannotBeHeldShowTheUnusableLayoutFace) {
    std::vector<Layout> bad;
    Layout rows = typingLayout();
    rows.rows.resize(7, {charKey(u'x', 0x58, rect(0, 0, 10, 10))});
    bad.push_back(rows);
    Layout keys = typingLayout();
    keys.rows[0].resize(31, charKey(u'x', 0x58, rect(0, 0, 10, 10)));
    bad.push_back(keys);
    Layout picture = typingLayout();
    picture.picture.resize(50001, '\0');
    bad.push_back(picture);
    Layout data = typingLayout();
    data.dataOverride = layoutData(typingLayout()) + std::string(4320, '\0');
    bad.push_back(data);
    Layout shortData = typingLayout();
    shortData.dataOverride = layoutData(typingLayout()).substr(0, 100);
    bad.push_back(shortData);
    Layout hugeSize = typingLayout();
    hugeSize.width = 100000;
    bad.push_back(hugeSize);

    for (size_t i = 0; i < bad.size(); ++i) {
        SCOPED_TRACE(i);
        std::vector<Layout> layouts = {typingLayout()};
        layouts.push_back(bad[i]);
        writePortraitSkin(layouts);
        if (!panel)
            createPanel();
        SendMessageW(panelWindow(), WM_PANEL_COMMAND, 2, 1);
        EXPECT_TRUE(showsFace(*panel->layout, text(IDS_BAD_LAYOUT)));
        for (KeyRecord* key : panel->modSlot)
            EXPECT_EQ(key, nullptr);
        tap(200, 70);  // Try Again: layout 0 is fine
        EXPECT_EQ(panel->layout->rowCount, 2);
    }
}

TEST_F(SkinLoad, LargestLayoutThatFitsIsLoaded) {
    Layout full;
    full.rows.assign(6, std::vector<Key>(30, charKey(u'x', 0x58, rect(0, 0, 8, 13))));
    full.picture = std::string(50000, '\0');  // not a picture: no bitmap, keys still work
    writePortraitSkin({full});
    createPanel();
    EXPECT_EQ(panel->layout->rowCount, 6);
    EXPECT_EQ(panel->layout->rowKeyCount[5], 30);
    EXPECT_EQ(panel->layout->keys[5][29].col, 29);
    EXPECT_EQ(panel->layout->bitmap, nullptr);
}

TEST_F(SkinLoad, LayoutWithoutPictureHasNoBitmap) {
    Layout second = secondLayout();
    second.picture.clear();
    writePortraitSkin({typingLayout(), second});
    createPanel();
    ASSERT_NE(panel->layout->bitmap, nullptr);
    panel->SwitchLayout(1);
    EXPECT_EQ(panel->layout->index, 1);
    EXPECT_EQ(panel->layout->bitmap, nullptr);
    EXPECT_EQ(panel->layout->keys[0][0].param, u'A');
}

TEST_F(SkinLoad, PictureLargerThanTheLayoutIsRefused) {
    Layout large = typingLayout();
    large.picture = bmpPicture(300, 80, 0xFF0000);
    Layout tall = typingLayout();
    tall.picture = bmpPicture(240, 81, 0xFF0000);
    writePortraitSkin({large, tall, typingLayout()});
    createPanel();
    EXPECT_EQ(panel->layout->bitmap, nullptr);
    panel->SwitchLayout(1);
    EXPECT_EQ(panel->layout->bitmap, nullptr);
    panel->SwitchLayout(2);
    EXPECT_NE(panel->layout->bitmap, nullptr);
}

TEST_F(SkinLoad, LayoutWithoutDataHasNoKeys) {
    Layout second = secondLayout();
    second.withData = false;
    writePortraitSkin({typingLayout(), second});
    createPanel();
    panel->SwitchLayout(1);
    EXPECT_EQ(panel->layout->index, 1);
    EXPECT_EQ(panel->layout->rowCount, 0);
    EXPECT_EQ(panel->layout->altIndex, -1);
    tap(20, 20);
    EXPECT_TRUE(calls().empty());
}

TEST_F(SkinLoad, ScreenChangeReloadsTheSkinOneSecondLater) {
    Layout landscape = typingLayout();
    landscape.width = 320;
    landscape.height = 60;
    Skin skin;
    skin.classes[u"P"] = {typingLayout()};
    skin.classes[u"L"] = {landscape};
    writeSkin(skin);
    createPanel();
    tap(60, 60);  // a latch that the reset clears
    ASSERT_EQ(panel->layout->width, 240);
    ASSERT_TRUE(device::setScreenSize(320, 240));
    device::onScreenSizeChanged();
    host->pump();
    host->advance(999);
    EXPECT_EQ(panel->layout->width, 240);
    host->advance(1);
    EXPECT_EQ(panel->layout->width, 320);
    EXPECT_EQ(g_screenWidth, 320);
    EXPECT_EQ(panel->latched[2], 0);
    RECT window{};
    GetClientRect(panelWindow(), &window);
    EXPECT_EQ(window.right, 322);
    EXPECT_EQ(window.bottom, 61);
}

TEST_F(SkinLoad, ReloadMessageReadsSettingsAndTheSkinName) {
    writePortraitSkin({typingLayout()});
    createPanel();
    Layout other = secondLayout();
    skintest::Skin skin;
    skin.classes[u"P"] = {other};
    ASSERT_TRUE(skintest::writeSkin(u"\\Skins\\Other.ksk", skin));
    setRegistryText(u"CurSkin", u"Other");
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, 0, &key);
    DWORD delay = 300;
    RegSetValueExW(key, u"RepeatDelay", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&delay), 4);
    RegCloseKey(key);

    SendMessageW(panelWindow(), WM_PANEL_RELOAD, kReloadSettings, 0);
    EXPECT_EQ(g_repeatDelay, 300);
    EXPECT_EQ(panel->skinPath, u"\\Skins\\Test.ksk");
    SendMessageW(panelWindow(), WM_PANEL_RELOAD, kReloadSkin, 0);
    EXPECT_EQ(currentSkin, u"Other");
    EXPECT_EQ(panel->skinPath, u"\\Skins\\Other.ksk");
    EXPECT_EQ(panel->layout->keys[0][0].param, u'A');
}
