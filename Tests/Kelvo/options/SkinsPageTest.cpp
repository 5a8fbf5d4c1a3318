// The Skins page: the skins folder's files listed by name, the current skin selected by its
// whole name (never another skin that merely begins with it), the preview of the chosen skin
// or the reason it cannot be used, and OK making another skin current.
#include <afxwin.h>

#include "OptionsFixture.h"
#include "options/SkinsPage.h"

namespace {

SIZE sizeOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

}  // namespace

TEST_F(OptionsTest, TheSkinsPageListsTheSkinFilesAndPreviewsTheCurrentOne) {
    writeSkin(u"Kelvo");
    writeSkin(u"Blue", 200, 60);
    writeDeviceFile(u"\\Skins\\readme.txt", "not a skin");
    setText(u"CurSkin", u"Kelvo");
    open();
    showPage(kSkinsPage);
    HWND combo = item(IDC_SKIN_LIST);
    EXPECT_EQ(listItems(combo), (std::vector<std::u16string>{u"Blue", u"Kelvo"}));
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    HWND preview = item(IDC_SKIN_PREVIEW);
    EXPECT_TRUE(IsWindowVisible(preview));
    EXPECT_FALSE(IsWindowVisible(item(IDC_SKIN_ERROR)));
    EXPECT_NE(SendMessageW(preview, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_EQ(sizeOf(preview).cx, 240);  // the picture's size
    EXPECT_EQ(sizeOf(preview).cy, 80);

    // Another choice previews that skin; OK makes it current and tells the panel.
    choose(combo, 0);
    EXPECT_EQ(sizeOf(preview).cx, 200);
    EXPECT_EQ(sizeOf(preview).cy, 60);
    confirm();
    EXPECT_EQ(readText(u"CurSkin"), u"Blue");
    ASSERT_EQ(host->imDataBlocks.size(), 1u);
    EXPECT_TRUE(host->imDataBlocks[0] == (std::vector<WORD>{3, 2}));
}

TEST_F(OptionsTest, ASkinThatMerelyBeginsWithTheCurrentNameIsNotSelected) {
    writeSkin(u"KelvoDark");
    setText(u"CurSkin", u"Kelvo");  // no Kelvo.ksk in the folder
    open();
    showPage(kSkinsPage);
    HWND combo = item(IDC_SKIN_LIST);
    EXPECT_EQ(listItems(combo), (std::vector<std::u16string>{u"KelvoDark"}));
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_TRUE(IsWindowVisible(item(IDC_SKIN_ERROR)));
    EXPECT_EQ(text(item(IDC_SKIN_ERROR)),
              u"The skin file\n    \\Skins\\.ksk\nis not a valid Skin file.");
    EXPECT_FALSE(IsWindowVisible(item(IDC_SKIN_PREVIEW)));
    confirm();
    EXPECT_EQ(readText(u"CurSkin"), u"Kelvo");  // nobody chose KelvoDark
    ASSERT_EQ(host->imDataBlocks.size(), 1u);
    EXPECT_TRUE(host->imDataBlocks[0] == (std::vector<WORD>{3, 0}));
}

TEST_F(OptionsTest, TheCurrentSkinIsFoundWhateverItsLetterCaseAndIsNotChangedByIt) {
    writeSkin(u"Kelvo");
    setText(u"CurSkin", u"kelvo");
    open();
    showPage(kSkinsPage);
    EXPECT_EQ(SendMessageW(item(IDC_SKIN_LIST), CB_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(IsWindowVisible(item(IDC_SKIN_PREVIEW)));
    confirm();
    EXPECT_EQ(readText(u"CurSkin"), u"kelvo");
    EXPECT_TRUE(host->imDataBlocks[0] == (std::vector<WORD>{3, 0}));
}

TEST_F(OptionsTest, ASkinWithoutThisScreensDimensionIsRefusedAndNotApplied) {
    writeSkin(u"Kelvo");
    writeSkin(u"Large", 480, 160, {u"PH"});
    setText(u"CurSkin", u"Kelvo");
    open();
    showPage(kSkinsPage);
    choose(item(IDC_SKIN_LIST), 1);
    EXPECT_TRUE(IsWindowVisible(item(IDC_SKIN_ERROR)));
    EXPECT_FALSE(IsWindowVisible(item(IDC_SKIN_PREVIEW)));
    EXPECT_EQ(text(item(IDC_SKIN_ERROR)),
              u"This file does not have skin info for current screen dimension.");
    confirm();
    EXPECT_EQ(readText(u"CurSkin"), u"Kelvo");
}

TEST_F(OptionsTest, ASkinWithoutAPictureIsShownWithoutOneAndStillApplied) {
    writeSkin(u"Kelvo");
    writeSkin(u"Plain", 0, 0);
    writeDeviceFile(u"\\Skins\\Zebra.ksk", "this is no container");
    setText(u"CurSkin", u"Kelvo");
    open();
    showPage(kSkinsPage);
    HWND combo = item(IDC_SKIN_LIST);

    choose(combo, 2);  // Zebra: not a skin file
    EXPECT_EQ(text(item(IDC_SKIN_ERROR)),
              u"The skin file\n    \\Skins\\Zebra.ksk\nis not a valid Skin file.");

    choose(combo, 1);  // Plain: no picture
    EXPECT_TRUE(IsWindowVisible(item(IDC_SKIN_PREVIEW)));
    EXPECT_FALSE(IsWindowVisible(item(IDC_SKIN_ERROR)));
    EXPECT_EQ(SendMessageW(item(IDC_SKIN_PREVIEW), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    confirm();
    EXPECT_EQ(readText(u"CurSkin"), u"Plain");
}

TEST_F(OptionsTest, AnUnvisitedSkinsPageChangesNothing) {
    writeSkin(u"Kelvo");
    open();
    confirm();
    EXPECT_EQ(readText(u"CurSkin"), u"(none)");  // the page never read nor wrote it
}
