// Module resources through the instance handle: strings, raw and custom resources, bitmaps,
// icon directories and dialog templates compiled from the test module's resources.txt.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include <device/Resources.h>
#include <winbase.h>
#include <winresource.h>

#include "DeviceTest.h"
#include "ResourceModule.h"
#include "imaging/Dib.h"
#include "resources/ResourceTables.h"

using testresources::ResourceModule;

namespace {

std::u16string loadString(HINSTANCE instance, UINT id) {
    WCHAR buffer[256];
    int length = LoadStringW(instance, id, buffer, 256);
    return std::u16string(buffer, static_cast<size_t>(length));
}

std::vector<uint8_t> resourceBytes(HINSTANCE instance, LPCWSTR name, LPCWSTR type) {
    HRSRC found = FindResourceW(instance, name, type);
    if (found == nullptr)
        return {};
    auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(instance, found)));
    return std::vector<uint8_t>(bytes, bytes + SizeofResource(instance, found));
}

}  // namespace

TEST(ModuleResources, LoadStringCopiesTerminatesTruncatesAndLendsPointer) {
    ResourceModule module;
    HINSTANCE instance = module.instance();

    EXPECT_EQ(loadString(instance, 2007), u"The skin file \n    %s\nwas not found. ");
    EXPECT_EQ(loadString(instance, 2008), u"Farsi: \"سلام\"");
    // Ids 1 and 17 live in different blocks of 16; 16 and 2 are holes.
    EXPECT_EQ(loadString(instance, 1), u"one");
    EXPECT_EQ(loadString(instance, 17), u"seventeen");
    WCHAR buffer[8] = {u'x', u'x'};
    EXPECT_EQ(LoadStringW(instance, 16, buffer, 8), 0);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(LoadStringW(instance, 2, buffer, 8), 0);
    EXPECT_EQ(LoadStringW(instance, 0x12345, buffer, 8), 0);

    // A small buffer gets what fits and a terminator, never more.
    WCHAR small[6];
    std::memset(small, 0x7F, sizeof small);
    EXPECT_EQ(LoadStringW(instance, 17, small, 5), 4);
    EXPECT_EQ(std::u16string(small), u"seve");
    EXPECT_EQ(small[5], 0x7F7F);

    // bufferMax 0: a read-only pointer into the module's table, not terminated.
    const WCHAR* text = nullptr;
    EXPECT_EQ(LoadStringW(instance, 17, reinterpret_cast<LPWSTR>(&text), 0), 9);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::u16string(text, 9), u"seventeen");

    // An instance without resources has no strings.
    EXPECT_EQ(LoadStringW(reinterpret_cast<HINSTANCE>(&module), 17, buffer, 8), 0);
}

TEST(ModuleResources, RawAndCustomResourcesAreFoundByNumberOrName) {
    ResourceModule module;
    HINSTANCE instance = module.instance();

    const std::vector<uint8_t> data = {1, 2, 3, 4, 5, 0, 255};
    EXPECT_EQ(resourceBytes(instance, MAKEINTRESOURCEW(300), RT_RCDATA), data);
    EXPECT_EQ(resourceBytes(instance, u"#300", RT_RCDATA), data);
    EXPECT_EQ(resourceBytes(instance, MAKEINTRESOURCEW(1), u"KSKN"), data);
    // String names and types compare without regard to case.
    EXPECT_EQ(resourceBytes(instance, u"hi_res_aware", u"ceux"), (std::vector<uint8_t>{1, 0}));

    EXPECT_EQ(FindResourceW(instance, MAKEINTRESOURCEW(301), RT_RCDATA), nullptr);
    EXPECT_EQ(FindResourceW(instance, MAKEINTRESOURCEW(300), RT_BITMAP), nullptr);
    EXPECT_EQ(FindResourceW(instance, u"HI_RES_AWARE", u"KSKN"), nullptr);
    EXPECT_EQ(FindResourceW(instance, u"#", RT_RCDATA), nullptr);
    EXPECT_EQ(SizeofResource(instance, nullptr), 0u);
    EXPECT_EQ(LoadResource(instance, nullptr), nullptr);

    platform::LookupFailure failure = platform::LookupFailure::None;
    auto* table = platform::resourceTableOf(instance);
    ASSERT_NE(table, nullptr);
    platform::findResourceEntry(table, MAKEINTRESOURCEW(1), u"NONE", &failure);
    EXPECT_EQ(failure, platform::LookupFailure::TypeNotFound);
    platform::findResourceEntry(table, MAKEINTRESOURCEW(2), u"KSKN", &failure);
    EXPECT_EQ(failure, platform::LookupFailure::NameNotFound);
}

TEST(ModuleResources, BitmapResourceIsThePackedDibOfTheBmpFile) {
    ResourceModule module;
    auto dib = resourceBytes(module.instance(), MAKEINTRESOURCEW(2015), RT_BITMAP);
    ASSERT_FALSE(dib.empty());
    auto picture = platform::decodeDib(dib.data(), dib.size(), platform::DibAlpha::Ignore);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, 32u);
    EXPECT_EQ(picture->height, 16u);
    EXPECT_EQ(picture->sourcePixels, platform::SourcePixels::Indexed4);
    EXPECT_EQ(picture->pixels[0], 0xFF0000FFu);             // the blue corner
    EXPECT_EQ(picture->pixels[1], 0xFFFF0000u);             // red left half
    EXPECT_EQ(picture->pixels[15 * 32 + 16], 0xFFC0C0C0u);  // grey right half, bottom row
}

TEST(ModuleResources, IconFileBecomesAGroupDirectoryAndOneIconPerImage) {
    ResourceModule module;
    HINSTANCE instance = module.instance();
    auto group = resourceBytes(instance, MAKEINTRESOURCEW(2001), RT_GROUP_ICON);
    ASSERT_EQ(group.size(), 6u + 3 * 14);
    EXPECT_EQ(group[2], 1);  // type: icon
    EXPECT_EQ(group[4], 3);  // three images
    const int sizes[] = {16, 32, 48};
    const int bitCounts[] = {4, 32, 32};
    for (int i = 0; i < 3; ++i) {
        const uint8_t* entry = group.data() + 6 + 14 * i;
        EXPECT_EQ(entry[0], sizes[i]);
        EXPECT_EQ(entry[6], bitCounts[i]);
        const WORD iconId = static_cast<WORD>(entry[12] | (entry[13] << 8));
        auto image = resourceBytes(instance, MAKEINTRESOURCEW(iconId), RT_ICON);
        const uint32_t declared =
            entry[8] | (entry[9] << 8) | (entry[10] << 16) | (entry[11] << 24);
        EXPECT_EQ(image.size(), declared);
    }
    // The second icon file's image has an id of its own.
    auto small = resourceBytes(instance, MAKEINTRESOURCEW(2002), RT_GROUP_ICON);
    ASSERT_EQ(small.size(), 6u + 14);
    EXPECT_EQ(small[12] | (small[13] << 8), 4);
}

TEST(ModuleResources, DialogTemplateKeepsEveryFieldOfItsSource) {
    ResourceModule module;
    auto bytes = resourceBytes(module.instance(), MAKEINTRESOURCEW(106), RT_DIALOG);
    auto dialog = platform::parseDialogTemplate(bytes.data(), bytes.size());
    ASSERT_TRUE(dialog.has_value());
    EXPECT_EQ(dialog->title, u"Skins");
    EXPECT_EQ(dialog->fontName, u"MS Shell Dlg");
    EXPECT_EQ(dialog->pointSize, 8);
    EXPECT_EQ(dialog->style, 0x40000000u | 0x00C00000u | 0x0400u | 0x0040u);  // + DS_SETFONT
    EXPECT_EQ(dialog->cx, 156);
    EXPECT_EQ(dialog->cy, 129);
    ASSERT_EQ(dialog->controls.size(), 4u);

    const auto& label = dialog->controls[0];
    EXPECT_EQ(label.className, u"STATIC");
    EXPECT_EQ(label.id, 0xFFFF);
    EXPECT_EQ(label.text, u"Current Skin:");
    EXPECT_EQ(label.style, 0x50000000u);  // WS_CHILD | WS_VISIBLE | SS_LEFT
    EXPECT_EQ(label.x, 7);
    EXPECT_EQ(label.cy, 8);

    const auto& combo = dialog->controls[1];
    EXPECT_EQ(combo.id, 2014);
    EXPECT_EQ(combo.style, 0x50000000u | 0x0003u | 0x00200000u | 0x00010000u);
    EXPECT_EQ(combo.items, (std::vector<std::u16string>{u"Kelvo", u"Blue \"sky\""}));

    EXPECT_EQ(dialog->controls[2].style, 0x40000000u);  // NOT WS_VISIBLE removed the default
    const auto& custom = dialog->controls[3];
    EXPECT_EQ(custom.className, u"msctls_trackbar32");
    EXPECT_EQ(custom.style, 0x50000000u | 0x000Eu | 0x20u);
    EXPECT_EQ(custom.exStyle, 0x00000200u);
    EXPECT_EQ(custom.y, 34);
    EXPECT_EQ(custom.cx, 15);
}

TEST(ModuleResources, DialogTemplateReaderRejectsTruncatedAndForeignBytes) {
    ResourceModule module;
    auto bytes = resourceBytes(module.instance(), MAKEINTRESOURCEW(106), RT_DIALOG);
    ASSERT_FALSE(bytes.empty());
    for (size_t size = 0; size < bytes.size(); ++size) {
        std::unique_ptr<uint8_t[]> exact(new uint8_t[size + 1]);
        std::memcpy(exact.get(), bytes.data(), size);
        EXPECT_FALSE(platform::parseDialogTemplate(exact.get(), size).has_value()) << size;
    }
    auto wrongMagic = bytes;
    wrongMagic[0] ^= 1;
    EXPECT_FALSE(platform::parseDialogTemplate(wrongMagic.data(), wrongMagic.size()).has_value());
    auto wrongVersion = bytes;
    wrongVersion[4] = 2;
    EXPECT_FALSE(
        platform::parseDialogTemplate(wrongVersion.data(), wrongVersion.size()).has_value());
    auto moreControls = bytes;
    moreControls[6] = 5;  // five stated, four present
    EXPECT_FALSE(
        platform::parseDialogTemplate(moreControls.data(), moreControls.size()).has_value());
    EXPECT_FALSE(platform::parseDialogTemplate(nullptr, 10).has_value());
}

TEST(ModuleResources, TablesAreFoundThroughTheLoadedModuleOnly) {
    ResourceModule module;
    const device::ResourceTable* table = platform::findResourceTable(module.dlHandle());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->magic, device::kResourceTableMagic);
    EXPECT_EQ(platform::resourceTableOf(module.instance()), table);
    EXPECT_EQ(platform::findResourceTable(nullptr), nullptr);

    // Untied, the instance has no resources.
    device::registerModuleResources(module.instance(), nullptr);
    EXPECT_EQ(FindResourceW(module.instance(), MAKEINTRESOURCEW(300), RT_RCDATA), nullptr);
}

using LoadedModuleResources = DeviceTest;

TEST_F(LoadedModuleResources, ModuleLoadedByLoadLibraryFindsItsResourcesThroughItsHandle) {
    std::filesystem::create_directories(hostPath(u"\\Windows"));
    std::filesystem::copy_file(TEST_RESOURCE_MODULE, hostPath(u"\\Windows\\ResModule.dll"));
    HMODULE module = LoadLibraryW(u"ResModule.dll");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(loadString(module, 1), u"one");
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(106), RT_DIALOG), nullptr);

    SetLastError(0);
    EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(999), RT_DIALOG), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(99)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
    EXPECT_TRUE(FreeLibrary(module));

    // The platform's imaging library has no resources but does have its class object.
    HMODULE imaging = LoadLibraryW(u"imaging.dll");
    ASSERT_NE(imaging, nullptr);
    EXPECT_EQ(FindResourceW(imaging, MAKEINTRESOURCEW(1), RT_RCDATA), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
    EXPECT_NE(GetProcAddress(imaging, "DllGetClassObject"), nullptr);
    FreeLibrary(imaging);
}

TEST_F(LoadedModuleResources, NullInstanceIsTheProgramWithItsOwnResources) {
    EXPECT_EQ(loadString(nullptr, 1), u"the program's own string");
    // The loaded library's table is its own, not the program's, and the other way round.
    ResourceModule module;
    EXPECT_EQ(loadString(module.instance(), 1), u"one");
    EXPECT_EQ(loadString(nullptr, 17), u"");
}
