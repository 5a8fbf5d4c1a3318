// Loading the skin into the panel: colours and help file, modifier keys, the alternate layout,
// pictures, the message faces for skins that cannot be used, Try Again, and reloads after a
// screen change or a reload message.
#include <device/Display.h>
#include <device/Screen.h>

#include <EBFBytes.h>
#include <device/EventLog.h>
#include <sys/stat.h>

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

// Layouts the panel cannot show: some cannot be held, the others have nothing to tap or no size.
std::vector<std::pair<const char*, Layout>> unusableLayouts() {
    const Key x = charKey(u'x', 0x58, rect(0, 0, 10, 10));
    std::vector<std::pair<const char*, Layout>> bad;
    Layout rows = typingLayout();
    rows.rows.resize(7, {x});
    bad.emplace_back("seven rows", rows);
    Layout keys = typingLayout();
    keys.rows[0].resize(31, x);
    bad.emplace_back("31 keys", keys);
    Layout picture = typingLayout();
    picture.picture.resize(50001, '\0');
    bad.emplace_back("picture too large", picture);
    Layout data = typingLayout();
    data.dataOverride = layoutData(typingLayout()) + std::string(4320, '\0');
    bad.emplace_back("data too large", data);
    Layout shortData = typingLayout();
    shortData.dataOverride = layoutData(typingLayout()).substr(0, 100);
    bad.emplace_back("data cut short", shortData);
    Layout hugeSize = typingLayout();
    hugeSize.width = 100000;
    bad.emplace_back("width too large", hugeSize);
    Layout empty;
    empty.withData = false;
    bad.emplace_back("empty layout class", empty);
    Layout noData = secondLayout();
    noData.withData = false;
    bad.emplace_back("no layout data", noData);
    Layout noSize = typingLayout();
    noSize.width = 0;
    noSize.height = 0;
    bad.emplace_back("0 x 0", noSize);
    Layout noKeys = typingLayout();
    noKeys.rows.clear();
    bad.emplace_back("no keys", noKeys);
    Layout inactive = typingLayout();
    for (auto& row : inactive.rows)
        for (Key& key : row)
            key.flags = 0;
    bad.emplace_back("only inactive keys", inactive);
    return bad;
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

TEST_F(SkinLoad, LayoutsThatCannotBeUsedAreRefusedWhenSwitchedTo) {
    for (const auto& [name, bad] : unusableLayouts()) {
        SCOPED_TRACE(name);
        writePortraitSkin({typingLayout(), bad});
        if (!panel)
            createPanel();
        ASSERT_EQ(panel->layout->index, 0);
        const size_t beeps = device::eventsOfKind(u"beep").size();
        tap(60, 60);  // Control latched: the refused switch keeps it
        SendMessageW(panelWindow(), WM_PANEL_COMMAND, 2, 1);
        tap(220, 20);  // the key to layout 1
        // A beep each time; the face, its modifier keys and the history stay as they were.
        const auto beepEvents = device::eventsOfKind(u"beep");
        ASSERT_EQ(beepEvents.size(), beeps + 2);
        EXPECT_EQ(beepEvents.back().text, u"0x40");
        EXPECT_FALSE(panel->layout->flags & LF_MESSAGE);
        EXPECT_EQ(panel->layout->index, 0);
        EXPECT_EQ(panel->layout->rowCount, 2);
        EXPECT_EQ(panel->modSlot[1], &panel->layout->keys[1][0]);
        EXPECT_EQ(panel->modSlot[2], &panel->layout->keys[1][1]);
        for (int32_t entry : panel->layoutHistory)
            EXPECT_EQ(entry, 0);
        calls().clear();
        tap(20, 20);
        EXPECT_EQ(calls(), charPair(0x41, 1, 0x40000000));
        tap(60, 60);
    }
}

TEST_F(SkinLoad, FirstLayoutThatCannotBeUsedShowsTheUnusableLayoutFace) {
    for (const auto& [name, bad] : unusableLayouts()) {
        SCOPED_TRACE(name);
        // At the first load, and at a reload from a skin that worked.
        writePortraitSkin({bad, typingLayout()});
        createPanel();
        EXPECT_TRUE(showsFace(*panel->layout, text(IDS_BAD_LAYOUT)));
        EXPECT_EQ(panel->layout->index, 0);
        EXPECT_EQ(panel->layout->width, 240);
        EXPECT_EQ(panel->layout->height, 80);
        writePortraitSkin({typingLayout()});
        tap(200, 70);  // Try Again
        EXPECT_FALSE(panel->layout->flags & LF_MESSAGE);
        EXPECT_EQ(panel->layout->rowCount, 2);
        writePortraitSkin({bad, typingLayout()});
        SendMessageW(panelWindow(), WM_PANEL_RELOAD, kReloadSkin, 0);
        EXPECT_TRUE(showsFace(*panel->layout, text(IDS_BAD_LAYOUT)));
        for (KeyRecord* key : panel->modSlot)
            EXPECT_EQ(key, nullptr);
        panel.reset();
        UnregisterClassW(kPanelClassName, GetModuleHandleW(nullptr));
    }
    // The first layout class stored as a value, not as a class.
    writeDeviceFile(kSkinFile, ebfClass("KELVO_SKIN", {ebfClass("P", {ebfValue("0", "x")})}));
    createPanel();
    EXPECT_TRUE(showsFace(*panel->layout, text(IDS_BAD_LAYOUT)));
    EXPECT_EQ(panel->layout->index, 0);
}

TEST_F(SkinLoad, UnusableAlternateLeavesTheLayoutUsable) {
    Layout first = typingLayout();
    first.alt = 1;
    Layout rows = typingLayout();
    rows.rows.resize(7, {charKey(u'x', 0x58, rect(0, 0, 10, 10))});
    writePortraitSkin({first, rows});
    createPanel();
    EXPECT_FALSE(panel->layout->flags & LF_MESSAGE);
    EXPECT_EQ(panel->layout->rowCount, 2);
    down(20, 30);
    up(20, -15);  // upward: the alternate has no key there
    EXPECT_TRUE(calls().empty());
    tap(20, 20);
    EXPECT_EQ(calls(), charPair(0x41, u'a'));
}

TEST_F(SkinLoad, MissingNumberedLayoutKeepsTheContentUnderItsNumber) {
    // Class P counts two items, but the second is not the layout class "1".
    const std::string first = ebfClass("0", {ebfValue("P", bmpPicture(240, 80, 0xC0C0C0)),
                                             ebfValue("D", layoutData(typingLayout()))});
    writeDeviceFile(kSkinFile,
                    ebfClass("KELVO_SKIN", {ebfClass("P", {first, ebfValue("X", "x")})}));
    createPanel();
    ASSERT_EQ(panel->layout->index, 0);
    SendMessageW(panelWindow(), WM_PANEL_COMMAND, 2, 1);
    EXPECT_EQ(panel->layout->index, 1);
    EXPECT_EQ(panel->layout->rowCount, 2);
    EXPECT_EQ(panel->layoutHistory[0], 0);
    EXPECT_EQ(panel->modSlot[1], &panel->layout->keys[1][0]);
    tap(20, 20);
    EXPECT_EQ(calls(), charPair(0x41, u'a'));
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

TEST_F(SkinLoad, SkinFileThatIsNotARegularFileCountsAsMissing) {
    ASSERT_EQ(::mkfifo(hostPath(kSkinFile).c_str(), 0600), 0);
    createPanel();
    EXPECT_TRUE(showsFace(*panel->layout, text(IDS_SKIN_NOT_FOUND)));
}

TEST_F(SkinLoad, SkinNamesOfTheFullLengthAreUsedAndLongerOnesShowTheirFace) {
    const std::u16string name(255, u'n');
    setRegistryText(u"CurSkin", name);
    createPanel();
    EXPECT_EQ(panel->skinPath, u"\\Skins\\" + name + u".ksk");

    const std::u16string longer(256, u'n');
    setRegistryText(u"CurSkin", longer);
    SendMessageW(panelWindow(), WM_PANEL_RELOAD, kReloadSkin, 0);
    EXPECT_TRUE(showsFace(*panel->layout, formatMessageText(IDS_SETTING_TOO_LONG, u"CurSkin")));
    EXPECT_EQ(currentSkin, name);

    setRegistryText(u"CurSkin", u"Test");
    writePortraitSkin({typingLayout()});
    SendMessageW(panelWindow(), WM_PANEL_RELOAD, kReloadSkin, 0);
    EXPECT_EQ(panel->layout->rowCount, 2);
}

// The host's part of a layout: the SIP window and the panel window as LayoutPanel placed them,
// and the rectangle the host was last told.
class SkinLoadFit : public PanelTest {
protected:
    void useScreen(int width, int height) {
        host.reset();
        ASSERT_TRUE(device::setScreenSize(width, height));
        host = std::make_unique<TestInputPanelHost>(80);
    }
    SIZE sipSize() const {
        RECT r{};
        GetWindowRect(host->sipWindow(), &r);
        return SIZE{r.right - r.left, r.bottom - r.top};
    }
    // What the host does when it selects the input method: the panel window, the callback,
    // and the windows laid out to the layout (GetInfo).
    void selectPanel() {
        createPanel();
        IMINFO info{};
        info.cbSize = sizeof(info);
        panel->LayoutPanel(info);
    }
    SIZE panelSize() const {
        RECT r{};
        GetClientRect(panel->GetSafeHwnd(), &r);
        return SIZE{r.right, r.bottom};
    }
};

TEST_F(SkinLoadFit, TryAgainFitsThePanelToTheLoadedLayout) {
    useScreen(480, 640);
    selectPanel();
    ASSERT_TRUE(panel->layout->flags & LF_MESSAGE);
    EXPECT_EQ(sipSize().cx, 482);
    EXPECT_EQ(sipSize().cy, 81);
    Layout large = typingLayout();
    large.width = 480;
    large.height = 160;
    large.picture.clear();  // a picture of this size would not fit the picture area
    Skin skin;
    skin.classes[u"PH"] = {large};
    writeSkin(skin);
    calls().clear();
    tap(375, 65);  // Try Again
    ASSERT_FALSE(panel->layout->flags & LF_MESSAGE);
    EXPECT_EQ(sipSize().cx, 482);
    EXPECT_EQ(sipSize().cy, 161);
    EXPECT_EQ(panelSize().cx, 482);
    EXPECT_EQ(panelSize().cy, 161);
    // The host hears of the new rectangle.
    ASSERT_EQ(calls().size(), 1u);
    EXPECT_EQ(calls()[0].kind, CallbackCall::Kind::SetImInfo);
    const RECT& reported = host->callback().lastImInfo.rcSipRect;
    EXPECT_EQ(reported.right, 479);
    EXPECT_EQ(reported.bottom - reported.top, 160);
    // A switch to a layout of the same size does not lay out again.
    calls().clear();
    SendMessageW(panelWindow(), WM_PANEL_COMMAND, 2, 0);
    EXPECT_TRUE(calls().empty());
}

TEST_F(SkinLoadFit, MessageFaceSpansTheScreenAfterARotation) {
    selectPanel();
    ASSERT_TRUE(panel->layout->flags & LF_MESSAGE);
    ASSERT_TRUE(device::setScreenSize(320, 240));
    device::onScreenSizeChanged();
    host->pump();
    host->advance(kScreenChangeMs);
    ASSERT_TRUE(panel->layout->flags & LF_MESSAGE);
    EXPECT_EQ(panel->layout->width, 320);
    EXPECT_EQ(sipSize().cx, 322);
    EXPECT_EQ(panelSize().cx, 322);
    EXPECT_EQ(host->callback().lastImInfo.rcSipRect.right, 319);
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
